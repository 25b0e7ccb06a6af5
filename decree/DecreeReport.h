// SPDX-License-Identifier: GPL-3.0-or-later
// The decree report: the Persian text lines the result panel shows and prints.
#pragma once

#include <string>
#include <vector>

#include "decree/DecreeCompute.h"
#include "decree/NumberFormat.h"

// One amount with the pattern "#,##0": halves away from zero, decided on the
// 18-significant-digit expansion; magnitudes from 1e18 in the general form
// (the exact value rounded once to 15 digits).
std::string FormatAmount(const Extended& Amount, const NumberFormat& Format);

// 9 to 32 lines, UTF-8, without terminators.
std::vector<std::string> BuildDecreeReport(const DecreeResult& Result, const NumberFormat& Format);
