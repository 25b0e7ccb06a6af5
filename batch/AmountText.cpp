// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/AmountText.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "decree/DecreeReport.h"

void AppendWholeRials(std::string& Out, double Amount) {
  // For a double, FormatAmount's 18-digit decision equals rounding the exact
  // value half away from zero, which std::round does exactly; below 1e18 the
  // result fits an int64.
  if (!(std::fabs(Amount) < 1e18)) {
    static const NumberFormat NoSeparator{".", ""};
    Out += FormatAmount(Amount, NoSeparator);
    return;
  }
  const auto whole = static_cast<std::int64_t>(std::round(Amount));
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, whole).ptr;
  Out.append(buffer, end);
}

void AppendExactAmount(std::string& Out, double Amount) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, Amount).ptr;
  Out.append(buffer, end);
}
