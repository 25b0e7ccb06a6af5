// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "decree/NumberFormat.h"

// 0.1_x: the decimal rounded once to the 64-bit significand, as an x87 long
// double literal is, whatever Extended is on this processor.
inline Extended operator""_x(const char* Decimal) { return ExtendedFromDecimal(Decimal); }
