// SPDX-License-Identifier: GPL-3.0-or-later
// The derivation of a decree: for each item and total the report lists, one
// Persian line with its formula and the operands' amounts, so that a payroll
// supervisor can check every figure by hand.
//
// Lines keep the report's indent and captions. A line is the caption and one
// or more steps joined by an Arabic semicolon; a step is "expression = amount",
// where every operand is an item's name followed by its amount, or a bare
// amount, percentage or count. Amounts are written as the report writes them
// ("#,##0"); percentages, points and counts plainly (grouped when whole, in
// the general form otherwise, so that 2.5 % is not shown as 3). Operators are
// spaced "+", "−", "×", "÷ 100" and "=", parentheses group. Everything reads
// in order from the right in a right-to-left paragraph.
#pragma once

#include <string>
#include <vector>

#include "decree/DecreeCompute.h"
#include "decree/NumberFormat.h"

// In report order: the base salary, seniority increase and basic salary of
// the opening line; every item the report lists, and the minimum pay and
// incentive groups differences also where their clamp at zero left them out
// (the latter after the lines of its two group packages); the items total,
// with a top-up the top-up and the total with it; the housing base and the
// housing allowance when the report lists the housing allowance; the grand
// total. UTF-8, without terminators.
//
// Result must be ComputeDecree(Input, G), which ran without an error; the
// values that the result does not keep (before the clamps and the cap, the
// packages) are taken from a computation of its own.
std::vector<std::string> ExplainDecree(const DecreeInput& Input, const DecreeResult& Result, const GroupPoints& G,
                                       const NumberFormat& Format);
