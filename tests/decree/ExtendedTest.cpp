// SPDX-License-Identifier: GPL-3.0-or-later
// Where the 64-bit significand shows in a figure. Each row gives a different
// answer if the formulas are evaluated in double, or with a wider significand
// (arm64's long double rounds a conversion only once). The expected values
// are the exact values rounded by hand (Python's fractions): to 64 bits,
// ties to even, then to 53.
#include <algorithm>
#include <cfloat>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "decree/DecreeCompute.h"
#include "decree/DecreeReport.h"
#include "decree/DecreeTexts.h"
#include "tests/decree/WorkedInputs.h"

namespace {

const NumberFormat Comma;

std::string ErrorOf(const std::string& Text) {
  try {
    TextToFloat(Text, Comma);
  } catch (const DecreeError& e) {
    return e.what();
  }
  return "(accepted)";
}

// 2^53 + 1 lies halfway between two doubles; near it the 64-bit significand
// counts in steps of 2^-10 (0.0009765625).
TEST(Extended, ConversionRoundsToTheSignificandThenToTheDouble) {
  struct Row {
    const char* Name;
    const char* Text;
    double Value;
  } rows[] = {
      {"0.0001 above the tie: the significand drops it, the tie goes to even below", "9007199254740993.0001",
       9007199254740992.0},
      {"0.0004 is below half a step: still the tie", "9007199254740993.0004", 9007199254740992.0},
      {"0.0005 is above half a step: one step above the tie, so up", "9007199254740993.0005", 9007199254740994.0},
      {"0.0001 below the next tie: rounded up to it, which goes to even above", "9007199254740994.9999",
       9007199254740996.0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(TextToFloat(row.Text, Comma), row.Value);
  }
}

// 2^1024 − 2^970 is halfway between the largest double and 2^1024.
TEST(Extended, OverflowPastTheDoubleRange) {
  struct Row {
    const char* Name;
    const char* Text;
  } rows[] = {
      {"just below the halfway point, rounded up to it by the significand", "1.7976931348623158079e308"},
      {"2^1024 written out", "1.797693134862315907729305190789e308"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(ErrorOf(row.Text), "Floating point overflow");
  }
  EXPECT_EQ(TextToFloat("1.797693134862315807e308", Comma), DBL_MAX);  // a 64-bit step below the halfway point

  EXPECT_EQ(Store(Extended(DBL_MAX) + 0x1p969), DBL_MAX);         // a quarter of the last unit above
  EXPECT_THROW(Store(Extended(DBL_MAX) + 0x1p970), DecreeError);  // the halfway point
  EXPECT_THROW(Store(Extended(-DBL_MAX) - 0x1p970), DecreeError);
  // A product beyond the double range inside a formula is no overflow.
  EXPECT_EQ(Store(Extended(DBL_MAX) * 100 / 100), DBL_MAX);

  // The salary repair, 3000 × 1e305, is the first value beyond the range.
  DecreeInput in = WorkedA();
  in.Coefficient = 1e305;
  in.EmployeeGroup = 1;
  in.IncentiveGroupCount = 0;
  try {
    ComputeDecree(in, GroupPointsTable);
    FAIL() << "no overflow";
  } catch (const DecreeError& e) {
    EXPECT_STREQ(e.what(), "Floating point overflow");
  }
}

// The products need 75 and 106 bits. They are rounded to 64 bits first (and
// the percentage then divided), which lands on the decimal the user expects;
// a single rounding of the exact value gives the neighbouring double.
TEST(Extended, ProductsBeyondTheSignificandRoundTwice) {
  DecreeInput in = WorkedA();
  in.Coefficient = 9879;  // base salary 880 × 9879 = 8693520
  in.JobPercent = TextToFloat("4.84", Comma);
  in.ChildAllowanceRate = 2184575;
  in.ChildCount = TextToFloat("6.52", Comma);
  const DecreeResult r = ComputeDecree(in, GroupPointsTable);
  EXPECT_EQ(r.BaseSalary, 8693520);
  EXPECT_EQ(r.JobAllowance, 0x1.9ae7978d4fdf4p+18);  // 420766.368, not 420766.36799999996
  EXPECT_EQ(r.ChildAllowance, 14243429);             // not 14243428.999999998
}

// 10000 × 2031138177286715 is exact in 64 bits and ends in a 5 after its
// 15th digit; the double product, 20311381772867149824, is below the tie.
TEST(Extended, FifteenDigitTieOfAnExactProductRoundsAwayFromZero) {
  EXPECT_EQ(ClauseBAmountText("10000", "2031138177286715", Comma), "2.03113817728672E19");
}

// The report adds the top-up at extended precision: 123456789012345600 +
// 78.5 needs 58 bits. Its 18-digit expansion is a tie, which goes to even
// before the halves-up rule sees a fraction.
TEST(Extended, EighteenDigitTieOfTheReportsSumGoesToEven) {
  struct Row {
    const char* Name;
    double TopUp;
    const char* Total;
  } rows[] = {
      {"...678.5 keeps the even 8", 78.5, "123,456,789,012,345,678"},
      {"...677.5 goes up to the even 8", 77.5, "123,456,789,012,345,678"},
      {"...678.75 is above the tie", 78.75, "123,456,789,012,345,679"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    DecreeResult r{};
    r.ItemsTotal = 123456789012345600.0;
    r.SeniorityMinimumDifference = row.TopUp;
    const std::vector<std::string> lines = BuildDecreeReport(r, Comma);
    const std::string line = DecreeTexts::TotalWithoutHousingCaption + std::string(row.Total);
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end());
  }
}

}  // namespace
