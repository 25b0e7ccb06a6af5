// SPDX-License-Identifier: GPL-3.0-or-later
// Amount texts for the data outputs.
#pragma once

#include <string>

// Whole rials, rounded exactly as FormatAmount rounds and written as it
// writes them with no thousands separator: halves away from zero, "0" without
// a sign, the general form from 1e18 on. The usual amounts take an integer path.
void AppendWholeRials(std::string& Out, double Amount);

// The shortest text that reads back to the same double.
void AppendExactAmount(std::string& Out, double Amount);
