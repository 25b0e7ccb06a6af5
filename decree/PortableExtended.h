// SPDX-License-Identifier: GPL-3.0-or-later
// The x87 extended format in portable C++: a binary float with a 64-bit
// significand and the x87 exponent range (normal numbers from 2^-16382, the
// largest just below 2^16384), every operation rounded to nearest, ties to
// even. Boost.Multiprecision's cpp_bin_float does the arithmetic; the
// conversions to and from other forms are worked here with integers, so that
// none depends on a formatting routine. Below 2^-16382 the type has no
// subnormals: such values become zero, which no formula from double operands
// comes near (their smallest product is 2^-2148).
#pragma once

#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cstdint>
#include <string>

#include "decree/DecimalDigits.h"

namespace boost::multiprecision::backends {

using portable_extended_backend = cpp_bin_float<64, digit_base_2, void, std::int32_t, -16382, 16383>;

// Boost 1.74 rounds |a| − |b| wrongly when |b| is below |a| by exactly 65
// binary orders (b between a quarter and a half of a's last unit): it takes
// the value for the tie between a and the number below and rounds that to
// even, so an odd a loses its last unit. The right result is a itself unless
// a is a power of two, where Boost's answer is right. These overloads are
// found by argument-dependent lookup ahead of Boost's templates and mend that
// one case; every other one goes to Boost.
inline const portable_extended_backend* portable_extended_far_operand(const portable_extended_backend& a,
                                                                      const portable_extended_backend& b) {
  if (eval_fpclassify(a) != FP_NORMAL || eval_fpclassify(b) != FP_NORMAL) return nullptr;
  const portable_extended_backend* larger = nullptr;
  if (a.exponent() - b.exponent() == 65) larger = &a;
  if (b.exponent() - a.exponent() == 65) larger = &b;
  if (larger != nullptr && eval_lsb(larger->bits()) == portable_extended_backend::bit_count - 1) return nullptr;
  return larger;
}

inline void eval_add(portable_extended_backend& res, const portable_extended_backend& a,
                     const portable_extended_backend& b) {
  const portable_extended_backend* larger = a.sign() != b.sign() ? portable_extended_far_operand(a, b) : nullptr;
  if (larger != nullptr)
    res = *larger;
  else
    eval_add<64, digit_base_2, void, std::int32_t, -16382, 16383>(res, a, b);
}

inline void eval_subtract(portable_extended_backend& res, const portable_extended_backend& a,
                          const portable_extended_backend& b) {
  const portable_extended_backend* larger = a.sign() == b.sign() ? portable_extended_far_operand(a, b) : nullptr;
  if (larger == &a) {
    res = a;
  } else if (larger == &b) {
    res = b;
    res.negate();
  } else {
    eval_subtract<64, digit_base_2, void, std::int32_t, -16382, 16383>(res, a, b);
  }
}

}  // namespace boost::multiprecision::backends

using PortableExtended = boost::multiprecision::number<boost::multiprecision::backends::portable_extended_backend,
                                                       boost::multiprecision::et_off>;

// A finite value as ±Significand × 2^Exponent with the top bit of Significand
// set; Significand 0 for zero.
struct ExtendedParts {
  bool Negative = false;
  std::uint64_t Significand = 0;
  int Exponent = 0;
};
ExtendedParts PortableParts(const PortableExtended& Value);
// Beyond the range: infinity above, zero below.
PortableExtended PortableFromParts(const ExtendedParts& Parts);

// The nearest double (ties to even, subnormals included); ±infinity beyond
// the double range.
double PortableToDouble(const PortableExtended& Value);

// A decimal text in the C locale's form, already checked: optional sign,
// digits with at most one '.', optional exponent (e or E, optional sign,
// digits). The exact value rounded once to the 64-bit significand, ties to
// even; infinity beyond the range, zero below it.
PortableExtended PortableFromDecimal(const std::string& Plain);

// The exact decimal expansion of a finite, non-zero |Value|, without
// trailing zeros.
DecimalDigits PortableExactDecimal(const PortableExtended& Value);

// The same rounded to nearest (ties to even) at 18 significant digits:
// exactly 18 digits.
DecimalDigits PortableDecimalDigits18(const PortableExtended& Value);
