// SPDX-License-Identifier: GPL-3.0-or-later
// PortableExtended, the formulas' number type off x86, against the x87 unit
// it stands in for: every operation, the rounding to double, truncation and
// comparisons give the same bits; a decimal text gives the same value as
// strtold; the exact decimal digits and the 18-digit expansion are the
// reference's and glibc's.
//
// Input: one byte choosing the mode.
//  - Even: a chain shaped like a formula. A first double, then up to 24
//    steps of an operation byte (bits 0-1: + - × ÷; bit 2: the operand is a
//    double from the next 8 bytes, otherwise a small whole number from the
//    next byte, as the fixed figures and the 100 of a percentage are; bit 3:
//    the result is then stored, rounded to double).
//  - Odd: a decimal text in the C locale's form; bytes other than
//    "0123456789.e-+E" are mapped onto those (texts outside the grammar are
//    left out).
// Values below the x87 normal range are outside PortableExtended's (it has
// no subnormals); a chain stops there and such a text only has its double
// compared. No formula from double operands comes within 2^14000 of them.
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <locale.h>

#include "decree/PortableExtended.h"
#include "fuzz/ExactNumber.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/X87.h"

namespace {

std::string Describe(const ExtendedParts& Parts) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s0x%016llx p%d", Parts.Negative ? "-" : "",
                static_cast<unsigned long long>(Parts.Significand), Parts.Exponent);
  return buffer;
}

std::string Hex(double Value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%a", Value);
  return buffer;
}

bool SameDouble(double A, double B) {
  if (std::isnan(A) || std::isnan(B)) return std::isnan(A) && std::isnan(B);
  return std::memcmp(&A, &B, sizeof A) == 0;
}

// Same class, and for finite values the same sign, significand and exponent.
void RequireSame(long double X87, const PortableExtended& Portable, const char* What, const std::string& Context) {
  if (std::isnan(X87)) {
    Require(boost::multiprecision::isnan(Portable), What, [&] { return Context + ": NaN expected"; });
    return;
  }
  if (std::isinf(X87)) {
    Require(boost::multiprecision::isinf(Portable) && (Portable < 0) == (X87 < 0), What,
            [&] { return Context + ": infinity expected"; });
    return;
  }
  Require(boost::multiprecision::isfinite(Portable), What, [&] { return Context + ": finite expected"; });
  const ExtendedParts expected = X87Parts(X87), actual = PortableParts(Portable);
  Require(expected.Negative == actual.Negative && expected.Significand == actual.Significand &&
              expected.Exponent == actual.Exponent,
          What, [&] { return Context + ": " + Describe(actual) + " expected " + Describe(expected); });
}

void CheckDecimalDigits(long double X87, const PortableExtended& Portable) {
  if (!std::isfinite(X87) || X87 == 0 || std::fabs(X87) < 0x1p-200L || std::fabs(X87) >= 0x1p200L) return;
  const ExactDecimal exact = ExactExpansion(X87);
  const DecimalDigits digits = PortableExactDecimal(Portable);
  Require(digits.Digits == exact.Digits && digits.Exponent == exact.Exponent, "exact decimal digits differ",
          [&] { return digits.Digits + "e" + std::to_string(digits.Exponent) + " expected " + exact.Digits; });
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17Le", std::fabs(X87));
  std::string glibc;
  const char* p = buffer;
  for (; *p != 'e'; ++p)
    if (*p != '.') glibc += *p;
  const DecimalDigits rounded = PortableDecimalDigits18(Portable);
  Require(rounded.Digits == glibc && rounded.Exponent == std::atoi(p + 1), "18-digit expansion differs from glibc",
          [&] { return rounded.Digits + "e" + std::to_string(rounded.Exponent) + " expected " + buffer; });
}

void Chain(ByteReader& In) {
  const auto operand = [&](std::uint8_t Operation) -> double {
    if ((Operation & 4) == 0) return In.Byte();
    const auto d = In.Raw<double>();
    return std::isfinite(d) ? d : 100.0;
  };
  const double first = operand(4);
  long double x87 = first;
  PortableExtended portable = first;
  std::string context = Hex(first);
  for (int step = 0; step < 24 && !In.Empty(); ++step) {
    const std::uint8_t operation = In.Byte();
    const double b = operand(operation);
    char sign = "+-*/"[operation & 3];
    context += std::string(" ") + sign + " " + Hex(b);
    switch (operation & 3) {
      case 0: x87 = x87 + b, portable = portable + b; break;
      case 1: x87 = x87 - b, portable = portable - b; break;
      case 2: x87 = x87 * b, portable = portable * b; break;
      default:
        if (b == 0) return;  // formulas divide by 100 only
        x87 = x87 / b, portable = portable / b;
        break;
    }
    if (std::isfinite(x87) && x87 != 0 && std::fabs(x87) < LDBL_MIN) return;
    RequireSame(x87, portable, "operation rounds differently", context);
    const double stored = static_cast<double>(x87);
    Require(SameDouble(PortableToDouble(portable), stored), "rounding to double differs", [&] { return context; });
    if (std::isfinite(x87)) {
      RequireSame(std::trunc(x87), boost::multiprecision::trunc(portable), "truncation differs", context);
      Require((portable < b) == (x87 < b) && (portable == b) == (x87 == b), "comparison differs",
              [&] { return context; });
    }
    CheckDecimalDigits(x87, portable);
    if ((operation & 8) != 0) {
      x87 = stored;
      portable = PortableToDouble(portable);
      context = "(" + context + ") stored";
    }
  }
}

void Text(ByteReader& In) {
  static const char Alphabet[] = "0123456789.e-+E";
  constexpr std::size_t Letters = sizeof Alphabet - 1;
  std::string text = In.Rest();
  for (char& c : text)
    if (std::memchr(Alphabet, c, Letters) == nullptr) c = Alphabet[static_cast<unsigned char>(c) % Letters];
  if (!ParseDecimalText(text, ".")) return;
  static const locale_t Classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const long double x87 = strtold_l(text.c_str(), nullptr, Classic);
  const PortableExtended portable = PortableFromDecimal(text);
  Require(SameDouble(PortableToDouble(portable), static_cast<double>(x87)), "the text's double differs",
          [&] { return text; });
  // At the bottom of the range x87 rounds to fewer bits; the double is 0 there anyway.
  if (std::isfinite(x87) && std::fabs(x87) <= LDBL_MIN) {
    Require(x87 == 0 ? portable == 0 : portable == 0 || boost::multiprecision::abs(portable) == LDBL_MIN,
            "below the normal range", [&] { return text; });
    return;
  }
  RequireSame(x87, portable, "decimal text converts differently", text);
  CheckDecimalDigits(x87, portable);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  ByteReader in(Data, Size);
  if (in.Byte() % 2 == 0)
    Chain(in);
  else
    Text(in);
  return 0;
}
