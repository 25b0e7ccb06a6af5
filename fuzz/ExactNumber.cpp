// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/ExactNumber.h"

#include <algorithm>
#include <cmath>

// ---- BigUint ---------------------------------------------------------------

BigUint::BigUint(std::uint64_t Value) {
  while (Value != 0) {
    FLimbs.push_back(static_cast<std::uint32_t>(Value));
    Value >>= 32;
  }
}

void BigUint::Trim() {
  while (!FLimbs.empty() && FLimbs.back() == 0) FLimbs.pop_back();
}

int BigUint::BitLength() const {
  if (FLimbs.empty()) return 0;
  int bits = static_cast<int>(FLimbs.size() - 1) * 32;
  for (std::uint32_t top = FLimbs.back(); top != 0; top >>= 1) ++bits;
  return bits;
}

bool BigUint::Bit(int Index) const {
  if (Index < 0) return false;
  const std::size_t limb = static_cast<std::size_t>(Index) / 32;
  return limb < FLimbs.size() && ((FLimbs[limb] >> (Index % 32)) & 1u) != 0;
}

bool BigUint::AnyBitBelow(int Index) const {
  for (int k = 0; k < Index && k < BitLength(); ++k)
    if (Bit(k)) return true;
  return false;
}

std::uint64_t BigUint::Low64() const {
  std::uint64_t value = 0;
  if (FLimbs.size() > 1) value = static_cast<std::uint64_t>(FLimbs[1]) << 32;
  if (!FLimbs.empty()) value |= FLimbs[0];
  return value;
}

void BigUint::MulSmall(std::uint32_t Factor) {
  std::uint64_t carry = 0;
  for (std::uint32_t& limb : FLimbs) {
    const std::uint64_t product = static_cast<std::uint64_t>(limb) * Factor + carry;
    limb = static_cast<std::uint32_t>(product);
    carry = product >> 32;
  }
  if (carry != 0) FLimbs.push_back(static_cast<std::uint32_t>(carry));
  Trim();
}

void BigUint::AddSmall(std::uint32_t Addend) {
  std::uint64_t carry = Addend;
  for (std::size_t k = 0; carry != 0; ++k) {
    if (k == FLimbs.size()) FLimbs.push_back(0);
    const std::uint64_t sum = static_cast<std::uint64_t>(FLimbs[k]) + carry;
    FLimbs[k] = static_cast<std::uint32_t>(sum);
    carry = sum >> 32;
  }
}

std::uint32_t BigUint::DivSmall(std::uint32_t Divisor) {
  std::uint64_t remainder = 0;
  for (std::size_t k = FLimbs.size(); k-- > 0;) {
    const std::uint64_t current = (remainder << 32) | FLimbs[k];
    FLimbs[k] = static_cast<std::uint32_t>(current / Divisor);
    remainder = current % Divisor;
  }
  Trim();
  return static_cast<std::uint32_t>(remainder);
}

void BigUint::ShiftLeft(int Bits) {
  if (FLimbs.empty() || Bits <= 0) return;
  const std::size_t limbs = static_cast<std::size_t>(Bits) / 32;
  const int bits = Bits % 32;
  std::vector<std::uint32_t> out(FLimbs.size() + limbs + 1, 0);
  for (std::size_t k = 0; k < FLimbs.size(); ++k) {
    const std::uint64_t shifted = static_cast<std::uint64_t>(FLimbs[k]) << bits;
    out[k + limbs] |= static_cast<std::uint32_t>(shifted);
    out[k + limbs + 1] |= static_cast<std::uint32_t>(shifted >> 32);
  }
  FLimbs.swap(out);
  Trim();
}

void BigUint::ShiftRight(int Bits) {
  if (Bits <= 0) return;
  const std::size_t limbs = static_cast<std::size_t>(Bits) / 32;
  const int bits = Bits % 32;
  if (limbs >= FLimbs.size()) {
    FLimbs.clear();
    return;
  }
  std::vector<std::uint32_t> out(FLimbs.size() - limbs, 0);
  for (std::size_t k = 0; k < out.size(); ++k) {
    std::uint64_t window = FLimbs[k + limbs];
    if (k + limbs + 1 < FLimbs.size()) window |= static_cast<std::uint64_t>(FLimbs[k + limbs + 1]) << 32;
    out[k] = static_cast<std::uint32_t>(window >> bits);
  }
  FLimbs.swap(out);
  Trim();
}

void BigUint::Subtract(const BigUint& Other) {
  std::int64_t borrow = 0;
  for (std::size_t k = 0; k < FLimbs.size(); ++k) {
    std::int64_t difference = static_cast<std::int64_t>(FLimbs[k]) - borrow -
                              (k < Other.FLimbs.size() ? static_cast<std::int64_t>(Other.FLimbs[k]) : 0);
    borrow = difference < 0 ? 1 : 0;
    if (difference < 0) difference += std::int64_t(1) << 32;
    FLimbs[k] = static_cast<std::uint32_t>(difference);
  }
  Trim();
}

int BigUint::Compare(const BigUint& A, const BigUint& B) {
  if (A.FLimbs.size() != B.FLimbs.size()) return A.FLimbs.size() < B.FLimbs.size() ? -1 : 1;
  for (std::size_t k = A.FLimbs.size(); k-- > 0;)
    if (A.FLimbs[k] != B.FLimbs[k]) return A.FLimbs[k] < B.FLimbs[k] ? -1 : 1;
  return 0;
}

BigUint BigUint::FromDecimal(const std::string& Digits) {
  BigUint value;
  for (char digit : Digits) {
    value.MulSmall(10);
    value.AddSmall(static_cast<std::uint32_t>(digit - '0'));
  }
  return value;
}

BigUint BigUint::PowerOf(std::uint32_t Base, int Exponent) {
  BigUint value(1);
  for (int k = 0; k < Exponent; ++k) value.MulSmall(Base);
  return value;
}

std::string BigUint::ToDecimal() const {
  if (IsZero()) return "0";
  BigUint rest = *this;
  std::string reversed;
  while (!rest.IsZero()) {
    std::uint32_t chunk = rest.DivSmall(1000000000u);
    for (int k = 0; k < 9; ++k) {
      reversed += static_cast<char>('0' + chunk % 10);
      chunk /= 10;
    }
  }
  while (reversed.size() > 1 && reversed.back() == '0') reversed.pop_back();
  return std::string(reversed.rbegin(), reversed.rend());
}

// ---- The conversion grammar ------------------------------------------------

namespace {

enum class Token { Plus, Minus, Digit, Separator, ExponentMark, Other };

struct Lexeme {
  Token Kind;
  char Digit;
};

std::vector<Lexeme> Lex(const std::string& Text, const std::string& Separator) {
  std::vector<Lexeme> out;
  for (std::size_t i = 0; i < Text.size();) {
    if (!Separator.empty() && Text.compare(i, Separator.size(), Separator) == 0) {
      out.push_back({Token::Separator, 0});
      i += Separator.size();
      continue;
    }
    const char c = Text[i++];
    if (c >= '0' && c <= '9')
      out.push_back({Token::Digit, c});
    else if (c == '+')
      out.push_back({Token::Plus, 0});
    else if (c == '-')
      out.push_back({Token::Minus, 0});
    else if (c == 'e' || c == 'E')
      out.push_back({Token::ExponentMark, 0});
    else
      out.push_back({Token::Other, 0});
  }
  return out;
}

constexpr long long ExponentLimit = 1000000000000000LL;  // far beyond any double

}  // namespace

std::optional<DecimalText> ParseDecimalText(const std::string& Text, const std::string& Separator) {
  const std::vector<Lexeme> lexemes = Lex(Text, Separator);
  // The exponent mark splits mantissa and exponent; a second one is refused below.
  const auto mark =
      std::find_if(lexemes.begin(), lexemes.end(), [](const Lexeme& l) { return l.Kind == Token::ExponentMark; });
  const std::vector<Lexeme> mantissa(lexemes.begin(), mark);
  std::vector<Lexeme> exponent;
  const bool hasExponent = mark != lexemes.end();
  if (hasExponent) exponent.assign(mark + 1, lexemes.end());

  DecimalText result;
  std::size_t i = 0;
  if (!mantissa.empty() && (mantissa[0].Kind == Token::Plus || mantissa[0].Kind == Token::Minus)) {
    result.Negative = mantissa[0].Kind == Token::Minus;
    i = 1;
  }
  int separators = 0;
  long long fractionDigits = 0;
  for (; i < mantissa.size(); ++i) {
    if (mantissa[i].Kind == Token::Digit) {
      result.Digits += mantissa[i].Digit;
      if (separators == 1) ++fractionDigits;
    } else if (mantissa[i].Kind == Token::Separator) {
      if (++separators > 1) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (result.Digits.empty()) return std::nullopt;

  long long exponentValue = 0;
  if (hasExponent) {
    std::size_t j = 0;
    bool negative = false;
    if (!exponent.empty() && (exponent[0].Kind == Token::Plus || exponent[0].Kind == Token::Minus)) {
      negative = exponent[0].Kind == Token::Minus;
      j = 1;
    }
    if (j == exponent.size()) return std::nullopt;
    for (; j < exponent.size(); ++j) {
      if (exponent[j].Kind != Token::Digit) return std::nullopt;
      exponentValue = std::min(ExponentLimit, exponentValue * 10 + (exponent[j].Digit - '0'));
    }
    if (negative) exponentValue = -exponentValue;
  }
  result.Exponent = exponentValue - fractionDigits;
  return result;
}

// ---- Correct rounding of a decimal text ----------------------------------------

namespace {

// A positive binary number Significand × 2^Exponent.
struct Binary {
  std::uint64_t Significand = 0;
  long Exponent = 0;
};

// Rounds Value × 2^Scale to Bits bits, to nearest with ties to even; Sticky
// says whether anything nonzero lies below Value.
Binary RoundBig(BigUint Value, long Scale, int Bits, bool Sticky) {
  const int length = Value.BitLength();
  if (length <= Bits) {
    // Exact unless Sticky; the callers always hand over enough bits for that case.
    return {Value.Low64(), Scale};
  }
  const int drop = length - Bits;
  const bool half = Value.Bit(drop - 1);
  const bool below = Sticky || Value.AnyBitBelow(drop - 1);
  Value.ShiftRight(drop);
  std::uint64_t significand = Value.Low64();
  long exponent = Scale + drop;
  if (half && (below || (significand & 1u) != 0)) {
    ++significand;
    if (Bits == 64 ? significand == 0 : (significand >> Bits) != 0) {  // carried into a new bit
      significand = std::uint64_t(1) << (Bits - 1);
      ++exponent;
    }
  }
  return {significand, exponent};
}

// The double nearest to Significand × 2^Exponent (ties to even), subnormals
// included; infinity beyond the range.
double RoundToDouble(Binary Value) {
  BigUint big(Value.Significand);
  const int length = big.BitLength();
  const long top = Value.Exponent + length - 1;
  // Bits kept: 53 for normal results, fewer where the last bit would fall below 2^-1074.
  long keep = 53;
  if (top < -1022) keep = top + 1074 + 1;
  if (keep <= 0) {
    // Below half the smallest subnormal, or exactly half (a tie that goes to the even 0).
    const bool aboveHalf = keep == 0 && big.AnyBitBelow(length - 1);
    return aboveHalf ? std::ldexp(1.0, -1074) : 0.0;
  }
  const Binary rounded = RoundBig(big, Value.Exponent, static_cast<int>(keep), false);
  return std::ldexp(static_cast<double>(rounded.Significand), static_cast<int>(rounded.Exponent));
}

}  // namespace

ReferenceConversion ReferenceTextToDouble(const std::string& Text, const std::string& Separator) {
  ReferenceConversion result;
  const std::optional<DecimalText> parsed = ParseDecimalText(Text, Separator);
  if (!parsed) return result;
  result.Outcome = ReferenceConversion::Value;

  const std::size_t first = parsed->Digits.find_first_not_of('0');
  if (first == std::string::npos) {
    result.Number = parsed->Negative ? -0.0 : 0.0;
    return result;
  }
  const std::string digits = parsed->Digits.substr(first);
  const long long leading = static_cast<long long>(digits.size()) - 1 + parsed->Exponent;
  if (leading >= 309) {  // at least 10^309, beyond the largest double
    result.Outcome = ReferenceConversion::Overflow;
    return result;
  }
  if (leading <= -400) {  // below 10^-399: rounds to zero in any case
    result.Number = parsed->Negative ? -0.0 : 0.0;
    return result;
  }

  // Round the exact value to the 64-bit significand of the extended format.
  BigUint n = BigUint::FromDecimal(digits);
  Binary extended;
  if (parsed->Exponent >= 0) {
    BigUint scaled = n;
    for (long long k = 0; k < parsed->Exponent; ++k) scaled.MulSmall(10);
    extended = RoundBig(scaled, 0, 64, false);
  } else {
    const BigUint divisor = BigUint::PowerOf(10, static_cast<int>(-parsed->Exponent));
    const int shift = std::max(0, divisor.BitLength() - n.BitLength() + 66);
    BigUint remainder = n;
    remainder.ShiftLeft(shift);
    // Long division, one quotient bit at a time; the quotient has 66 or 67 bits.
    BigUint quotient;
    const int quotientBits = remainder.BitLength() - divisor.BitLength() + 1;
    for (int bit = quotientBits; bit-- > 0;) {
      BigUint part = divisor;
      part.ShiftLeft(bit);
      quotient.ShiftLeft(1);
      if (BigUint::Compare(remainder, part) >= 0) {
        remainder.Subtract(part);
        quotient.AddSmall(1);
      }
    }
    extended = RoundBig(quotient, -static_cast<long>(shift), 64, !remainder.IsZero());
  }

  const double value = RoundToDouble(extended);
  if (std::isinf(value)) {
    result.Outcome = ReferenceConversion::Overflow;
    return result;
  }
  result.Number = parsed->Negative ? -value : value;
  return result;
}

std::string ReferenceTrim(const std::string& Text) {
  const auto kept = [](char c) { return static_cast<unsigned char>(c) > 0x20; };
  const auto begin = std::find_if(Text.begin(), Text.end(), kept);
  const auto end = std::find_if(Text.rbegin(), Text.rend(), kept).base();
  return begin < end ? std::string(begin, end) : std::string();
}

// ---- Exact expansions and amount texts ---------------------------------------

ExactDecimal ExactExpansion(long double Value) {
  ExactDecimal result;
  result.Negative = std::signbit(Value);
  if (Value == 0) return result;
  int binaryExponent = 0;
  const long double fraction = std::frexp(std::fabs(Value), &binaryExponent);     // in [0.5, 1)
  const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));  // exact: 64 bits
  const long scale = binaryExponent - 64;
  BigUint n(significand);
  long decimalShift = 0;
  if (scale >= 0) {
    n.ShiftLeft(static_cast<int>(scale));
  } else {
    // m / 2^k = m × 5^k / 10^k
    for (long k = 0; k < -scale; ++k) n.MulSmall(5);
    decimalShift = scale;
  }
  std::string digits = n.ToDecimal();
  result.Exponent = static_cast<long>(digits.size()) - 1 + decimalShift;
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  result.Digits = digits;
  return result;
}

ExactDecimal RoundToDigits(const ExactDecimal& Value, std::size_t Count, bool HalvesUp) {
  if (Value.Digits.size() <= Count) return Value;
  ExactDecimal result = Value;
  std::string kept = Value.Digits.substr(0, Count);
  const char next = Value.Digits[Count];
  const bool beyondHalf = Value.Digits.find_first_not_of('0', Count + 1) != std::string::npos;
  bool up;
  if (next != '5')
    up = next > '5';
  else
    up = HalvesUp || beyondHalf || ((kept.back() - '0') % 2 == 1);
  if (up) {
    std::size_t k = kept.size();
    while (k > 0 && kept[k - 1] == '9') kept[--k] = '0';
    if (k == 0) {
      kept.insert(kept.begin(), '1');
      kept.pop_back();
      ++result.Exponent;
    } else {
      ++kept[k - 1];
    }
  }
  while (!kept.empty() && kept.back() == '0') kept.pop_back();
  result.Digits = kept;
  return result;
}

namespace {

// Whole units of an expansion, halves up, as digits without leading zeros.
std::string UnitsHalvesUp(const ExactDecimal& Value) {
  if (Value.Digits.empty() || Value.Exponent < -1) return "0";
  const std::size_t whole = static_cast<std::size_t>(Value.Exponent + 1);
  std::string units = Value.Digits.substr(0, std::min(whole, Value.Digits.size()));
  units.resize(whole, '0');
  const bool up = whole < Value.Digits.size() && Value.Digits[whole] >= '5';
  if (up) {
    std::size_t k = units.size();
    while (k > 0 && units[k - 1] == '9') units[--k] = '0';
    if (k == 0)
      units.insert(units.begin(), '1');
    else
      ++units[k - 1];
  }
  const std::size_t first = units.find_first_not_of('0');
  return first == std::string::npos ? "0" : units.substr(first);
}

}  // namespace

std::string ExactRoundedUnits(long double Value) { return UnitsHalvesUp(ExactExpansion(Value)); }

std::string ReferenceFormatAmount(long double Amount, const std::string& Thousands, const std::string& Decimal) {
  // Below a quarter both the exact value and its 18-digit expansion round to 0;
  // this spares the long expansions of tiny values.
  if (std::fabs(Amount) < 0.25L) return "0";
  const ExactDecimal exact = ExactExpansion(Amount);
  const std::string sign = exact.Negative ? "-" : "";
  // From 10^18 the general form: the exact value rounded once.
  if (exact.Exponent >= 18) return ReferenceFormatGeneral(Amount, 15, Decimal);

  const ExactDecimal decided = RoundToDigits(exact, 18, false);

  const std::string units = UnitsHalvesUp(decided);
  if (units == "0") return "0";
  std::string text = sign;
  for (std::size_t k = 0; k < units.size(); ++k) {
    if (k > 0 && (units.size() - k) % 3 == 0) text += Thousands;
    text += units[k];
  }
  return text;
}

std::string ReferenceFormatGeneral(long double Value, std::size_t Digits, const std::string& Decimal) {
  if (Value == 0) return "0";
  const ExactDecimal shown = RoundToDigits(ExactExpansion(Value), Digits, true);
  const std::string& digits = shown.Digits;
  const long exponent = shown.Exponent;
  std::string text = shown.Negative ? "-" : "";
  if (exponent >= -4 && exponent < static_cast<long>(Digits)) {
    if (exponent >= 0) {
      const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
      std::string integer = digits.substr(0, std::min(whole, digits.size()));
      integer.resize(whole, '0');
      text += integer;
      if (digits.size() > whole) text += Decimal + digits.substr(whole);
    } else {
      text += "0" + Decimal + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return text;
  }
  text += digits.substr(0, 1);
  if (digits.size() > 1) text += Decimal + digits.substr(1);
  return text + "E" + std::to_string(exponent);
}
