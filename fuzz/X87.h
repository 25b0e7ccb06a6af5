// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzz targets' bridge from the x87 long double, in which their
// references work, to the program's Extended, whichever type that is.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "decree/Extended.h"
#include "decree/PortableExtended.h"

static_assert(std::numeric_limits<long double>::digits == 64, "the references work on the x87 unit");

// The parts of a finite x87 value, as PortableParts gives them.
inline ExtendedParts X87Parts(long double Value) {
  ExtendedParts parts;
  parts.Negative = std::signbit(Value);
  if (Value == 0) return parts;
  int exponent = 0;
  const long double fraction = std::frexp(std::fabs(Value), &exponent);  // in [0.5, 1)
  parts.Significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  parts.Exponent = exponent - 64;
  return parts;
}

// Whether Extended holds this value: the portable type has no subnormals.
inline bool InExtendedRange(long double Value) {
  return DECREE_EXTENDED_IS_LONG_DOUBLE || Value == 0 || !(std::fabs(Value) < std::numeric_limits<long double>::min());
}

// The Extended of a value InExtendedRange, exactly.
inline Extended ExtendedOf(long double Value) {
#if DECREE_EXTENDED_IS_LONG_DOUBLE
  return Value;
#else
  if (!std::isfinite(Value)) return Extended(Value);
  return PortableFromParts(X87Parts(Value));
#endif
}
