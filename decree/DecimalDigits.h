// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// A decimal expansion of a magnitude: significant digits, the first worth
// 10^Exponent.
struct DecimalDigits {
  std::string Digits;
  int Exponent = 0;
};
