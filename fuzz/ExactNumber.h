// SPDX-License-Identifier: GPL-3.0-or-later
// Slow, exact reference arithmetic for the fuzz targets: unbounded unsigned
// integers, the exact decimal expansion of a long double, a decimal text
// rounded correctly, and the amount texts worked from exact expansions. Written
// apart from the program's own conversion and formatting so that the two can
// be compared; speed does not matter here, exactness does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class BigUint {
 public:
  BigUint() = default;
  explicit BigUint(std::uint64_t Value);

  bool IsZero() const { return FLimbs.empty(); }
  int BitLength() const;
  bool Bit(int Index) const;
  bool AnyBitBelow(int Index) const;  // any of bits 0 .. Index - 1
  std::uint64_t Low64() const;

  void MulSmall(std::uint32_t Factor);
  void AddSmall(std::uint32_t Addend);
  std::uint32_t DivSmall(std::uint32_t Divisor);  // returns the remainder
  void ShiftLeft(int Bits);
  void ShiftRight(int Bits);
  void Subtract(const BigUint& Other);  // requires *this >= Other
  static int Compare(const BigUint& A, const BigUint& B);

  static BigUint FromDecimal(const std::string& Digits);
  static BigUint PowerOf(std::uint32_t Base, int Exponent);
  std::string ToDecimal() const;

 private:
  void Trim();
  std::vector<std::uint32_t> FLimbs;  // least significant first, no leading zero limbs
};

// A text in the conversion grammar: optional sign, ASCII digits with at most
// one decimal separator among them (at least one digit), optional exponent
// (E or e, optional sign, at least one digit). Value = Digits × 10^Exponent.
struct DecimalText {
  bool Negative = false;
  std::string Digits;      // every mantissa digit as typed, the separator removed
  long long Exponent = 0;  // saturates far beyond any double
};
std::optional<DecimalText> ParseDecimalText(const std::string& Text, const std::string& Separator);

// The conversion as the program must do it: the exact value rounded to the
// 64-bit significand, that rounded to a double (both to nearest, ties to
// even); beyond the double range an overflow.
struct ReferenceConversion {
  enum Kind { Value, NotANumber, Overflow } Outcome = NotANumber;
  double Number = 0;
};
ReferenceConversion ReferenceTextToDouble(const std::string& Text, const std::string& Separator);

// The characters up to U+0020 removed from both ends.
std::string ReferenceTrim(const std::string& Text);

// The exact decimal expansion of a finite long double: Digits without leading
// or trailing zeros ("" for zero), the first digit worth 10^Exponent.
struct ExactDecimal {
  bool Negative = false;
  std::string Digits;
  long Exponent = 0;
};
ExactDecimal ExactExpansion(long double Value);

// Digits rounded to Count significant digits, to nearest with ties to even or
// with halves up; a carry past the first digit raises the exponent.
ExactDecimal RoundToDigits(const ExactDecimal& Value, std::size_t Count, bool HalvesUp);

// The amount text of a finite amount, worked from its exact expansion: the
// "#,##0" pattern below 10^18 (whole units decided on the expansion rounded to
// 18 significant digits, halves away from zero), else the general form with
// 15 digits (which is then always scientific).
std::string ReferenceFormatAmount(long double Amount, const std::string& Thousands, const std::string& Decimal);

// The general number format of a finite value: its exact expansion rounded
// once to Digits significant digits, halves away from zero; fixed notation for
// 0 and for exponents -4 .. Digits - 1, else d[Decimal ddd]E[-]x; no trailing
// zeros after the separator, no plus signs.
std::string ReferenceFormatGeneral(long double Value, std::size_t Digits, const std::string& Decimal);

// The whole units of |Value| rounded half away from zero on the exact value,
// as decimal digits ("0" for zero).
std::string ExactRoundedUnits(long double Value);
