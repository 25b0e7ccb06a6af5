// SPDX-License-Identifier: GPL-3.0-or-later
// FormatAmount on arbitrary finite values against the amount text worked from
// the value's exact decimal expansion, plus the grammar of both forms; and
// FormatGeneral with 15 digits (the clause-B amount's form, the general form
// of the report) against the exact expansion rounded once.
//
// Input: a byte choosing the thousands separator, one choosing the decimal
// separator, one choosing double (even) or long double (odd), then the
// value's bytes in memory order (8 or 10).
#include <cmath>
#include <vector>

#include "decree/DecreeReport.h"
#include "fuzz/ExactNumber.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/X87.h"

namespace {

const char* const ThousandSeparators[] = {",", "", "\u066C", "\u00A0", ".", "'", "\u202F"};
const char* const DecimalSeparators[] = {".", ",", "\u066B"};

template <std::size_t N>
const char* Pick(const char* const (&Choices)[N], std::uint8_t Selector) {
  return Choices[Selector % N];
}

// The long double of the ten bytes, built from its fields so that encodings
// the x87 unit refuses (unnormals, pseudo-denormals) still give a plain value.
// Infinities and NaNs give nullopt.
bool ExtendedFromBytes(ByteReader& In, long double& Value) {
  const auto significand = In.Raw<std::uint64_t>();
  const auto signAndExponent = In.Raw<std::uint16_t>();
  const int exponent = signAndExponent & 0x7FFF;
  if (exponent == 0x7FFF) return false;
  const std::uint64_t normalised = exponent == 0 ? significand : significand | (std::uint64_t(1) << 63);
  Value = std::ldexp(static_cast<long double>(normalised), (exponent == 0 ? 1 : exponent) - 16383 - 63);
  if ((signAndExponent & 0x8000) != 0) Value = -Value;
  return true;
}

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

bool AllDigits(const std::string& Text) {
  return !Text.empty() && Text.find_first_not_of("0123456789") == std::string::npos;
}

// -?(0|[1-9]\d{0,2}(S\d{3})*) without "-0" (with no separator: -?(0|[1-9]\d*));
// Units gets the digits.
bool MatchesPattern(const std::string& Text, const std::string& Thousands, std::string& Units) {
  const bool negative = !Text.empty() && Text[0] == '-';
  const std::string rest = Text.substr(negative ? 1 : 0);
  std::vector<std::string> groups;
  if (Thousands.empty()) {
    groups.push_back(rest);
  } else {
    std::size_t start = 0;
    for (std::size_t at; (at = rest.find(Thousands, start)) != std::string::npos; start = at + Thousands.size())
      groups.push_back(rest.substr(start, at - start));
    groups.push_back(rest.substr(start));
  }
  Units.clear();
  for (std::size_t k = 0; k < groups.size(); ++k) {
    if (!AllDigits(groups[k])) return false;
    if (k > 0 && groups[k].size() != 3) return false;
    Units += groups[k];
  }
  if (!Thousands.empty() && groups[0].size() > 3) return false;
  if (Units.size() > 1 && Units[0] == '0') return false;
  return !(negative && Units == "0");
}

// -?[1-9](D\d*[1-9])?E[1-9]\d* with at most 15 digits.
bool MatchesGeneralForm(const std::string& Text, const std::string& Decimal) {
  std::size_t i = 0;
  if (i < Text.size() && Text[i] == '-') ++i;
  if (i >= Text.size() || !IsDigit(Text[i]) || Text[i] == '0') return false;
  ++i;
  std::size_t digits = 1;
  if (Text.compare(i, Decimal.size(), Decimal) == 0) {
    i += Decimal.size();
    const std::size_t start = i;
    while (i < Text.size() && IsDigit(Text[i])) ++i;
    digits += i - start;
    if (i == start || Text[i - 1] == '0') return false;
  }
  if (digits > 15 || i >= Text.size() || Text[i] != 'E') return false;
  ++i;
  if (i >= Text.size() || Text[i] == '0') return false;
  for (; i < Text.size(); ++i)
    if (!IsDigit(Text[i])) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  ByteReader in(Data, Size);
  const std::string thousands = Pick(ThousandSeparators, in.Byte());
  const std::string decimal = Pick(DecimalSeparators, in.Byte());
  const bool isDouble = in.Byte() % 2 == 0;
  long double value = 0;
  if (isDouble) {
    const auto d = in.Raw<double>();
    if (!std::isfinite(d)) return 0;
    value = d;
  } else if (!ExtendedFromBytes(in, value) || !InExtendedRange(value)) {
    return 0;
  }
  const NumberFormat format = NumberFormatFromSettings(decimal, thousands);
  Require(format.ThousandSeparator == thousands && format.DecimalSeparator == decimal,
          "separators of one character or none were not taken");

  const std::string text = FormatAmount(ExtendedOf(value), format);
  const std::string expected = ReferenceFormatAmount(value, thousands, decimal);
  Require(text == expected, "amount text differs from the exact reference",
          [&] { return Printable(text) + " expected " + Printable(expected); });

  // Values below 2^-200 are left out: their exact expansions take the
  // reference long, and nothing is new there.
  if (value == 0 || std::fabs(value) >= 0x1p-200L) {
    const std::string general = FormatGeneral(ExtendedOf(value), 15, format);
    const std::string expectedGeneral = ReferenceFormatGeneral(value, 15, decimal);
    Require(general == expectedGeneral, "general form differs from the exact value rounded once",
            [&] { return Printable(general) + " expected " + Printable(expectedGeneral); });
  }

  std::string units;
  if (std::fabs(value) >= 1e18L) {
    Require(MatchesGeneralForm(text, decimal), "not the general form", [&] { return Printable(text); });
  } else {
    Require(MatchesPattern(text, thousands, units), "not the #,##0 pattern", [&] { return Printable(text); });
    // For a double the 18-digit decision is the exact value rounded half away from zero.
    if (isDouble)
      Require(units == ExactRoundedUnits(value), "double not rounded half away from zero",
              [&] { return Printable(text); });
    Require((text[0] == '-') == (value < 0 && units != "0"), "sign of the amount text");
  }
  return 0;
}
