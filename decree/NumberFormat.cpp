// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace {

// Number of code points of a well-formed UTF-8 text; -1 when it is not well formed.
int CodePointCount(const std::string& Text) {
  int count = 0;
  for (std::size_t i = 0; i < Text.size();) {
    const auto lead = static_cast<unsigned char>(Text[i]);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || i + length > Text.size()) return -1;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(Text[i + k]) & 0xC0) != 0x80) return -1;
    i += length;
    ++count;
  }
  return count;
}

bool IsAsciiDigit(char C) { return C >= '0' && C <= '9'; }

[[noreturn]] void ThrowNotANumber(const std::string& Text) {
  throw DecreeError("'" + Text + "' is not a valid floating point value");
}

}  // namespace

NumberFormat NumberFormatFromSettings(const std::optional<std::string>& Decimal,
                                      const std::optional<std::string>& Thousand) {
  NumberFormat format;
  if (Decimal && CodePointCount(*Decimal) == 1) format.DecimalSeparator = *Decimal;
  if (Thousand) {
    const int count = CodePointCount(*Thousand);
    if (count == 0 || count == 1) format.ThousandSeparator = *Thousand;
  }
  return format;
}

double Store(const Extended& Value) {
  const double stored = ToDouble(Value);
  if (std::isinf(stored) || std::isnan(stored)) throw DecreeError("Floating point overflow");
  return stored;
}

double TextToFloat(const std::string& Trimmed, const NumberFormat& Format) {
  const std::string& separator = Format.DecimalSeparator;
  std::string plain;  // the same number with a '.' separator
  std::size_t i = 0;
  const std::size_t n = Trimmed.size();
  if (i < n && (Trimmed[i] == '+' || Trimmed[i] == '-')) plain += Trimmed[i++];
  bool digits = false, point = false;
  while (i < n) {
    if (IsAsciiDigit(Trimmed[i])) {
      plain += Trimmed[i++];
      digits = true;
    } else if (!point && !separator.empty() && Trimmed.compare(i, separator.size(), separator) == 0) {
      plain += '.';
      i += separator.size();
      point = true;
    } else {
      break;
    }
  }
  if (!digits) ThrowNotANumber(Trimmed);
  if (i < n && (Trimmed[i] == 'e' || Trimmed[i] == 'E')) {
    plain += Trimmed[i++];
    if (i < n && (Trimmed[i] == '+' || Trimmed[i] == '-')) plain += Trimmed[i++];
    bool exponentDigits = false;
    while (i < n && IsAsciiDigit(Trimmed[i])) {
      plain += Trimmed[i++];
      exponentDigits = true;
    }
    if (!exponentDigits) ThrowNotANumber(Trimmed);
  }
  if (i != n) ThrowNotANumber(Trimmed);
  return Store(ExtendedFromDecimal(plain));
}

std::string FormatGeneral(const Extended& Value, int Digits, const NumberFormat& Format) {
  if (Value == 0 || Value != Value) return "0";  // NaN too
  if (!IsFinite(Value)) return Value < 0 ? "-INF" : "INF";
  const DecimalDigits d = ExactDecimalDigits(Value);
  // Round the exact value once at Digits significant digits, halves away from
  // zero: what follows the kept digits is at least one half exactly when its
  // first digit is 5 or more.
  std::string digits = d.Digits.substr(0, static_cast<std::size_t>(Digits));
  int exponent = d.Exponent;
  if (d.Digits.size() > digits.size() && d.Digits[digits.size()] >= '5') {
    std::size_t k = digits.size();
    while (k > 0 && digits[k - 1] == '9') digits[--k] = '0';
    if (k > 0) {
      ++digits[k - 1];
    } else {
      digits.insert(digits.begin(), '1');  // 9.99… carried into a new leading digit
      digits.pop_back();
      ++exponent;
    }
  }
  digits.erase(std::max<std::size_t>(digits.find_last_not_of('0') + 1, 1));
  const int count = static_cast<int>(digits.size());

  std::string text = Value < 0 ? "-" : "";
  if (exponent >= -4 && exponent < Digits) {
    if (exponent >= 0) {
      for (int k = 0; k <= exponent; ++k) text += k < count ? digits[static_cast<std::size_t>(k)] : '0';
      if (count > exponent + 1) text += Format.DecimalSeparator + digits.substr(static_cast<std::size_t>(exponent) + 1);
    } else {
      text += "0" + Format.DecimalSeparator + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
  } else {
    text += digits[0];
    if (count > 1) text += Format.DecimalSeparator + digits.substr(1);
    text += "E" + std::to_string(exponent);
  }
  return text;
}

std::string ErrorMessageText(const std::string& Message) {
  // A multi-byte UTF-8 character ends in a continuation byte (0x80..0xBF), above 46 too.
  if (!Message.empty() && static_cast<unsigned char>(Message.back()) > '.') return Message + ".";
  return Message;
}
