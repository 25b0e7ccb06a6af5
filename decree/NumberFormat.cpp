// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/NumberFormat.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <vector>

static_assert(std::numeric_limits<long double>::digits == 64,
              "amounts are evaluated with the 64-bit significand of the x87 long double");

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

// strtold follows LC_NUMERIC, which the toolkit sets from the user's locale.
locale_t ClassicLocale() {
  static const locale_t Classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return Classic;
}

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

double Store(long double Value) {
  const double stored = static_cast<double>(Value);
  if (std::isinf(stored) || std::isnan(stored)) throw DecreeError("Floating point overflow");
  return stored;
}

double TextToFloat(const std::string& Trimmed, const NumberFormat& Format) {
  const std::string& separator = Format.DecimalSeparator;
  std::string plain;  // the same number with a '.' separator, for strtold
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
  return Store(strtold_l(plain.c_str(), nullptr, ClassicLocale()));
}

namespace {

// The exact decimal expansion of a finite, non-zero |Value|: its significant
// digits without trailing zeros and the decimal exponent of the first. A long
// double is m · 2^k with an odd integer m, so its expansion ends after −k
// fractional digits (none when k >= 0); glibc's printf writes the exact digits
// for any precision asked, and the precision below is at least the number of
// digits after the first one.
struct ExactExpansion {
  std::string Digits;
  int Exponent = 0;
};

ExactExpansion ExactDecimal(long double Value) {
  int binaryExponent = 0;
  const long double fraction = std::frexp(std::fabs(Value), &binaryExponent);  // in [0.5, 1)
  auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));     // exact: 64 bits
  int k = binaryExponent - 64;
  while ((significand & 1) == 0) {
    significand >>= 1;
    ++k;
  }
  // The first digit is worth at most 10^floor(binaryExponent · log10 2).
  const int wholeDigits = binaryExponent > 0 ? binaryExponent * 30103 / 100000 + 1 : 0;
  const int precision = wholeDigits + (k < 0 ? -k : 0);
  std::vector<char> buffer(static_cast<std::size_t>(precision) + 32);
  std::snprintf(buffer.data(), buffer.size(), "%.*Le", precision, std::fabs(Value));
  ExactExpansion d;
  const char* p = buffer.data();
  for (; *p != 'e'; ++p)
    if (IsAsciiDigit(*p)) d.Digits += *p;
  d.Exponent = std::atoi(p + 1);
  d.Digits.erase(d.Digits.find_last_not_of('0') + 1);
  return d;
}

}  // namespace

std::string FormatGeneral(long double Value, int Digits, const NumberFormat& Format) {
  if (Value == 0 || std::isnan(Value)) return "0";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  const ExactExpansion d = ExactDecimal(Value);
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

Expansion18 DecimalExpansion18(long double Value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17Le", std::fabs(Value));
  Expansion18 d;
  const char* p = buffer;
  for (; *p != 'e'; ++p)
    if (IsAsciiDigit(*p)) d.Digits += *p;
  d.Exponent = std::atoi(p + 1);
  return d;
}

std::string ErrorMessageText(const std::string& Message) {
  // A multi-byte UTF-8 character ends in a continuation byte (0x80..0xBF), above 46 too.
  if (!Message.empty() && static_cast<unsigned char>(Message.back()) > '.') return Message + ".";
  return Message;
}
