// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/Extended.h"

#if DECREE_EXTENDED_IS_LONG_DOUBLE
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <vector>

namespace {

// strtold follows LC_NUMERIC, which the toolkit sets from the user's locale.
locale_t ClassicLocale() {
  static const locale_t Classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return Classic;
}

// The digits and exponent of printf's "d.ddde±x".
DecimalDigits FromScientific(const char* Text) {
  DecimalDigits d;
  const char* p = Text;
  for (; *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') d.Digits += *p;
  d.Exponent = std::atoi(p + 1);
  return d;
}

}  // namespace

Extended ExtendedFromDecimal(const std::string& Plain) { return strtold_l(Plain.c_str(), nullptr, ClassicLocale()); }

// A long double is m · 2^k with an odd integer m, so its expansion ends after
// −k fractional digits (none when k >= 0); glibc's printf writes the exact
// digits for any precision asked, and the precision below is at least the
// number of digits after the first one.
DecimalDigits ExactDecimalDigits(const Extended& Value) {
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
  DecimalDigits d = FromScientific(buffer.data());
  d.Digits.erase(d.Digits.find_last_not_of('0') + 1);
  return d;
}

// glibc rounds the exact value to nearest, ties to even.
DecimalDigits DecimalDigits18(const Extended& Value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17Le", std::fabs(Value));
  return FromScientific(buffer);
}

#else

Extended ExtendedFromDecimal(const std::string& Plain) { return PortableFromDecimal(Plain); }

DecimalDigits ExactDecimalDigits(const Extended& Value) { return PortableExactDecimal(Value); }

DecimalDigits DecimalDigits18(const Extended& Value) { return PortableDecimalDigits18(Value); }

#endif
