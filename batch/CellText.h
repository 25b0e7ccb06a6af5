// SPDX-License-Identifier: GPL-3.0-or-later
// What a spreadsheet's export puts in a cell, brought to the text the
// window's own conversion and controls read.
#pragma once

#include <optional>
#include <string>

#include "decree/NumberFormat.h"

// Persian (U+06F0..U+06F9) and Arabic-Indic (U+0660..U+0669) digits become
// ASCII digits, U+066B the run's decimal separator, and the thousands
// separators (comma, U+066C) of an integer part grouped as 1-3 digits then
// groups of exactly 3 are dropped, unless one of them is the decimal
// separator. Anything else stays for the conversion to judge.
std::string NormaliseNumber(const std::string& Cell, const NumberFormat& Format);

// A check box: empty, 0, 1, true, false (any case), "بله", "خیر"; nullopt otherwise.
std::optional<bool> ParseFlag(const std::string& Cell);

// The drop-down list: -1 when empty, 0 or 1, or one of its two item texts;
// nullopt otherwise.
std::optional<int> ParseInsurance(const std::string& Cell);
