// SPDX-License-Identifier: GPL-3.0-or-later
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>

#include "batch/AmountText.h"
#include "decree/DecreeReport.h"

namespace {

const NumberFormat NoSeparator{".", ""};

std::string Whole(double Amount) {
  std::string text;
  AppendWholeRials(text, Amount);
  return text;
}

TEST(AppendWholeRials, HandWorkedAmounts) {
  struct Row {
    double Amount;
    const char* Text;
  } rows[] = {
      {0, "0"},
      {-0.0, "0"},
      {-0.4, "0"},
      {0.5, "1"},
      {-0.5, "-1"},
      {1233.5, "1234"},
      {1234.5, "1235"},
      {-2.5, "-3"},
      {0.49999999999999994, "0"},  // the largest double below one half
      {11739440, "11739440"},
      {4503599627370495.5, "4503599627370496"},      // 2^52 - 0.5 rounds up
      {9007199254740993.0, "9007199254740992"},      // not a double: 2^53
      {999999999999999872.0, "999999999999999872"},  // the largest double below 1e18
      {1e18, "1E18"},
      {-1e18, "-1E18"},
      {1.5e20, "1.5E20"},
      {DBL_MAX, "1.79769313486232E308"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Text);
    EXPECT_EQ(Whole(row.Amount), row.Text);
  }
}

// The integer path against FormatAmount itself over many doubles of every
// size: halves, near-halves, around 2^52, 2^53, 2^63 and 1e18, and random bits.
TEST(AppendWholeRials, EqualsFormatAmountWithoutSeparator) {
  std::vector<double> amounts = {0.5,
                                 1.5,
                                 2.5,
                                 -0.5,
                                 -1.5,
                                 4503599627370495.5,
                                 4503599627370496.0,
                                 9007199254740992.0,
                                 9223372036854775808.0,
                                 1e18,
                                 std::nextafter(1e18, 0.0),
                                 std::nextafter(1e18, 2e18),
                                 -std::nextafter(1e18, 0.0),
                                 5e-324,
                                 -5e-324,
                                 DBL_MIN,
                                 1e17 + 0.5};
  std::mt19937_64 random(20240611);
  for (int k = 0; k < 200000; ++k) {
    std::uint64_t bits = random();
    double value;
    if (k % 4 == 0) {
      std::memcpy(&value, &bits, sizeof value);  // any finite double
      if (!std::isfinite(value)) continue;
    } else if (k % 4 == 1) {
      value =
          std::ldexp(static_cast<double>(bits >> 11), -(static_cast<int>(bits % 64)));  // fractions near whole numbers
    } else if (k % 4 == 2) {
      value = std::floor(static_cast<double>(bits % 100000000000ULL)) + 0.5;  // exact halves
    } else {
      value = static_cast<double>(static_cast<std::int64_t>(bits)) / 1024;  // around 2^53 .. 2^63
    }
    amounts.push_back(k % 3 == 0 ? -value : value);
  }
  int differences = 0;
  for (double amount : amounts) {
    if (Whole(amount) != FormatAmount(amount, NoSeparator) && ++differences <= 5)
      ADD_FAILURE() << "amount " << std::hexfloat << amount << ": " << Whole(amount) << " vs "
                    << FormatAmount(amount, NoSeparator);
  }
  EXPECT_EQ(differences, 0);
}

TEST(AppendExactAmount, ShortestTextThatReadsBack) {
  struct Row {
    double Amount;
    const char* Text;
  } rows[] = {
      {140000, "140000"},
      {0.1, "0.1"},
      {-2.5, "-2.5"},
      {1e21, "1e+21"},
      {5e-324, "5e-324"},
      {0.30000000000000004, "0.30000000000000004"},
      {DBL_MAX, "1.7976931348623157e+308"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Text);
    std::string text;
    AppendExactAmount(text, row.Amount);
    EXPECT_EQ(text, row.Text);
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), row.Amount);
  }
}

}  // namespace
