// SPDX-License-Identifier: GPL-3.0-or-later
// Extended: the number type every formula is evaluated in, the same on every
// processor: a binary float with a 64-bit significand and the x87 exponent
// range, each operation rounded to nearest, ties to even.
//
// Where long double is that format (x86) it is long double, the fastest.
// Elsewhere long double is wider (113 bits on arm64) or missing (WebAssembly),
// and Extended is PortableExtended, which rounds exactly as the x87 unit does.
// Defining DECREE_PORTABLE_FLOAT takes PortableExtended on x86 too.
#pragma once

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#if !defined(DECREE_PORTABLE_FLOAT) && LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384
#define DECREE_EXTENDED_IS_LONG_DOUBLE 1
#else
#define DECREE_EXTENDED_IS_LONG_DOUBLE 0
#endif

#include "decree/DecimalDigits.h"

#if DECREE_EXTENDED_IS_LONG_DOUBLE
using Extended = long double;
#else
#include "decree/PortableExtended.h"
using Extended = PortableExtended;
#endif

// A formula's last bit depends on these. The range must hold every product
// and sum of doubles a formula forms (Boost counts exponents one lower than
// long double does: both types end just below 2^16384 and have normal numbers
// from 2^-16382).
static_assert(std::numeric_limits<Extended>::radix == 2 && std::numeric_limits<Extended>::digits == 64,
              "formulas are evaluated with a 64-bit binary significand");
static_assert(std::numeric_limits<Extended>::round_style == std::round_to_nearest,
              "formulas round every operation to nearest");
static_assert(std::numeric_limits<Extended>::max_exponent >= 16383 &&
                  std::numeric_limits<Extended>::min_exponent <= -16381,
              "formulas need the x87 exponent range");

// The nearest double, ties to even; ±infinity beyond the double range.
inline double ToDouble(const Extended& Value) {
#if DECREE_EXTENDED_IS_LONG_DOUBLE
  return static_cast<double>(Value);
#else
  return PortableToDouble(Value);
#endif
}

inline Extended Trunc(const Extended& Value) {
#if DECREE_EXTENDED_IS_LONG_DOUBLE
  return std::trunc(Value);
#else
  return boost::multiprecision::trunc(Value);
#endif
}

inline Extended Fabs(const Extended& Value) {
#if DECREE_EXTENDED_IS_LONG_DOUBLE
  return std::fabs(Value);
#else
  return boost::multiprecision::abs(Value);
#endif
}

inline bool IsFinite(const Extended& Value) {
#if DECREE_EXTENDED_IS_LONG_DOUBLE
  return std::isfinite(Value);
#else
  return boost::multiprecision::isfinite(Value);
#endif
}

// A decimal text in the C locale's form, already checked (optional sign,
// digits with at most one '.', optional exponent): the exact value rounded
// once to the 64-bit significand, ties to even.
Extended ExtendedFromDecimal(const std::string& Plain);

// The exact decimal expansion of a finite, non-zero |Value|, without
// trailing zeros.
DecimalDigits ExactDecimalDigits(const Extended& Value);

// The decimal expansion of a finite, non-zero |Value| rounded to nearest
// (ties to even) at 18 significant digits: exactly 18 digits.
DecimalDigits DecimalDigits18(const Extended& Value);
