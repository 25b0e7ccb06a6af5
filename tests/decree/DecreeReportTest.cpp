// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "decree/DecreeCompute.h"
#include "decree/DecreeReport.h"
#include "tests/decree/ExtendedLiteral.h"
#include "tests/decree/WorkedInputs.h"

namespace {

const NumberFormat Comma;
const std::string Rule = "     ------------------------------------";
const std::string Blank = "     ";

TEST(FormatAmount, PatternWithHalvesAwayFromZero) {
  struct Row {
    Extended Amount;
    const char* Text;
  } rows[] = {
      {0, "0"},
      {-0.0_x, "0"},
      {1233.5_x, "1,234"},
      {1234.5_x, "1,235"},
      {1234.4999_x, "1,234"},
      {-2.5_x, "-3"},
      {-0.4_x, "0"},
      {-0.5_x, "-1"},
      {0.4_x, "0"},
      {0.5_x, "1"},
      {0.05_x, "0"},
      {999, "999"},
      {999.5_x, "1,000"},
      {1000, "1,000"},
      {1234567, "1,234,567"},
      {-1234567, "-1,234,567"},
      {12345678.4_x, "12,345,678"},
      {12345678.65_x, "12,345,679"},
      {999999999999999999.0_x, "999,999,999,999,999,999"},
      {1e18_x, "1E18"},
      {-1.5e20_x, "-1.5E20"},
      {1234567890123456789.0_x, "1.23456789012346E18"},
      // From 10^18 the exact value rounded once to 15 digits (Python's decimal
      // module): the 18-digit expansion 2.15242163771643500E23 would round up.
      {215242163771643499905024.0_x, "2.15242163771643E23"},
      {12345678901234450000.0_x, "1.23456789012345E19"},  // a tie, exact at extended precision
      {-12345678901234450000.0_x, "-1.23456789012345E19"},
      // 0.49999999999999999999 is 0.500000000000000000 at 18 digits.
      {0.5_x - Extended(0x1p-66), "1"},
      {2.5_x - Extended(0x1p-62), "3"},
      {0.49999999999999_x, "0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Text);
    EXPECT_EQ(FormatAmount(row.Amount, Comma), row.Text);
  }
}

TEST(FormatAmount, ThousandsSeparatorFromTheSettings) {
  struct Row {
    std::optional<std::string> Setting;
    const char* Text;
  } rows[] = {
      {std::string(","), "1,234,567"}, {std::string("."), "1.234.567"},  {std::string("\u066C"), "1\u066C234\u066C567"},
      {std::string(""), "1234567"},    {std::string("ab"), "1,234,567"}, {std::nullopt, "1,234,567"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Text);
    EXPECT_EQ(FormatAmount(1234567, NumberFormatFromSettings(std::string("."), row.Setting)), row.Text);
  }
  EXPECT_EQ(FormatAmount(1.5e20_x, NumberFormatFromSettings(std::string("\u066B"), std::nullopt)), "1\u066B5E20");
}

DecreeResult ZeroResult() { return DecreeResult{}; }

TEST(BuildDecreeReport, NineLinesWhenOnlyTheAlwaysItemsAreThere) {
  DecreeResult r = ZeroResult();
  r.JobAllowance = -5;
  r.AttractionAllowance = 0;
  r.ItemsTotal = 100;
  r.GrandTotal = 100;
  const std::vector<std::string> expected = {
      Blank,
      "     حقوق مبنا: 0     افزایش سنواتی: 0     حقوق پایه: 0",
      Rule,
      "     فوق العاده شغل: -5",
      "     فوق العاده جذب: 0",
      Rule,
      "     جمع حکم (بدون حق مسکن): 100",
      Blank,
      "     جمع کل حکم (با حق مسکن): 100",
  };
  EXPECT_EQ(BuildDecreeReport(r, Comma), expected);
}

TEST(BuildDecreeReport, ConditionalItemsOnlyWhenStrictlyPositive) {
  DecreeResult r = ZeroResult();
  r.SalaryRepair = 0.4;   // listed, shown as 0
  r.ChildAllowance = -5;  // not listed
  r.FamilyAllowance = 0;  // not listed
  const auto lines = BuildDecreeReport(r, Comma);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[5], "     ترمیم حقوق: 0");
}

TEST(BuildDecreeReport, ThirtyTwoLinesWithEverythingPositive) {
  DecreeResult r;
  double DecreeResult::*items[] = {&DecreeResult::MinimumPayDifference,
                                   &DecreeResult::SpecialAllowance,
                                   &DecreeResult::ParticularAllowance,
                                   &DecreeResult::IncentiveGroupsDifference,
                                   &DecreeResult::SalaryRepair,
                                   &DecreeResult::LivingFacilitiesDeprivation,
                                   &DecreeResult::FamilyAllowance,
                                   &DecreeResult::ChildAllowance,
                                   &DecreeResult::Note12Adjustment,
                                   &DecreeResult::ClauseBItem3Allowance,
                                   &DecreeResult::VeteranAllowance,
                                   &DecreeResult::BadClimateAllowance,
                                   &DecreeResult::ShiftWorkAllowance,
                                   &DecreeResult::HardshipAllowance,
                                   &DecreeResult::OperationalZoneAllowance,
                                   &DecreeResult::DeprivedRegionAllowance,
                                   &DecreeResult::RadiationWorkAllowance,
                                   &DecreeResult::AdjustmentAllowance,
                                   &DecreeResult::Article26Allowance,
                                   &DecreeResult::BorderDeprivationAllowance};
  double amount = 1001;
  for (auto item : items) r.*item = amount++;
  r.BaseSalary = 880000;
  r.SeniorityIncrease = 136000;
  r.BasicSalary = 1016000;
  r.JobAllowance = 1;
  r.AttractionAllowance = 2;
  r.ItemsTotal = 5000000;
  r.SeniorityMinimumDifference = 1000000;
  r.HousingAllowance = 1200000;
  r.GrandTotal = 6200000;
  const std::vector<std::string> expected = {
      Blank,
      "     حقوق مبنا: 880,000     افزایش سنواتی: 136,000     حقوق پایه: 1,016,000",
      Rule,
      "     فوق العاده شغل: 1",
      "     فوق العاده جذب: 2",
      "     تفاوت حداقل دریافتی: 1,001",
      "     فوق العاده ویژه: 1,002",
      "     فوق العاده خاص: 1,003",
      "     تفاوت ناشی از گروه های تشویقی: 1,004",
      "     ترمیم حقوق: 1,005",
      "     محرومیت از تسهیلات زندگی: 1,006",
      "     حق عائله مندی: 1,007",
      "     حق اولاد: 1,008",
      "     تفاوت تطبیق موضوع جز 1+بند ی تبصره 12: 1,009",
      "     فوق العاده خاص جز 3 بند ب: 1,010",
      "     فوق العاده ایثارگری: 1,011",
      "     فوق العاده بدی آب و هوا: 1,012",
      "     فوق العاده نوبت کاری: 1,013",
      "     فوق العاده سختی کار: 1,014",
      "     فوق العاده مناطق عملیاتی: 1,015",
      "     فوق العاده منطقه محروم: 1,016",
      "     فوق العاده کار بااشعه: 1,017",
      "     فوق العاده تعدیل: 1,018",
      "     ماده 26: 1,019",
      "     فوق العاده محرومیت از تسهیلات زندگی2 (مناطق مرزی): 1,020",
      Rule,
      "     مجموع آیتم های حکم (بدون حق مسکن): 5,000,000",
      "     مابه التفاوت سنواتی حداقل حکم: 1,000,000",
      "     جمع کل حکم (بدون حق مسکن): 6,000,000",
      Blank,
      "     حق مسکن: 1,200,000",
      "     جمع کل حکم (با حق مسکن): 7,200,000",
  };
  EXPECT_EQ(BuildDecreeReport(r, Comma), expected);
}

TEST(BuildDecreeReport, TopUpSumsAreRoundedOnceAtExtendedPrecision) {
  DecreeResult r = ZeroResult();
  r.ItemsTotal = 12345678.4;
  r.SeniorityMinimumDifference = 0.25;
  r.GrandTotal = 12345678.4;
  const auto lines = BuildDecreeReport(r, Comma);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[6], "     مجموع آیتم های حکم (بدون حق مسکن): 12,345,678");
  EXPECT_EQ(lines[7], "     مابه التفاوت سنواتی حداقل حکم: 0");
  EXPECT_EQ(lines[8], "     جمع کل حکم (بدون حق مسکن): 12,345,679");
  EXPECT_EQ(lines[9], Blank);  // no housing line, the blank stays
  EXPECT_EQ(lines[10], "     جمع کل حکم (با حق مسکن): 12,345,679");
}

TEST(BuildDecreeReport, HousingLineOnlyWhenPositive) {
  DecreeResult r = ZeroResult();
  r.ItemsTotal = 1000;
  r.HousingAllowance = 200;
  r.GrandTotal = 1200;
  auto lines = BuildDecreeReport(r, Comma);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[8], "     حق مسکن: 200");
  EXPECT_EQ(lines[9], "     جمع کل حکم (با حق مسکن): 1,200");
  r.HousingAllowance = -1;
  EXPECT_EQ(BuildDecreeReport(r, Comma).size(), 9u);
}

TEST(BuildDecreeReport, WorkedDecreeA) {
  const std::vector<std::string> expected = {
      Blank,
      "     حقوق مبنا: 880,000     افزایش سنواتی: 136,000     حقوق پایه: 1,016,000",
      Rule,
      "     فوق العاده شغل: 176,000",
      "     فوق العاده جذب: 2,588,000",
      "     تفاوت حداقل دریافتی: 984,000",
      "     فوق العاده ویژه: 776,400",
      "     تفاوت ناشی از گروه های تشویقی: 277,200",
      "     ترمیم حقوق: 3,000,000",
      "     حق عائله مندی: 300,000",
      "     حق اولاد: 200,000",
      "     فوق العاده نوبت کاری: 140,000",
      "     فوق العاده تعدیل: 408,600",
      Rule,
      "     جمع حکم (بدون حق مسکن): 9,866,200",
      Blank,
      "     حق مسکن: 1,873,240",
      "     جمع کل حکم (با حق مسکن): 11,739,440",
  };
  EXPECT_EQ(BuildDecreeReport(ComputeDecree(WorkedA(), GroupPointsTable), Comma), expected);
}

TEST(BuildDecreeReport, CaptionsHoldNoZeroWidthNonJoinerAndPersianLetters) {
  DecreeResult r;
  r.SeniorityMinimumDifference = 1;
  r.HousingAllowance = 1;
  for (auto item : {&DecreeResult::SalaryRepair, &DecreeResult::ChildAllowance, &DecreeResult::ShiftWorkAllowance})
    r.*item = 1;
  for (const std::string& line : BuildDecreeReport(r, Comma)) {
    SCOPED_TRACE(line);
    EXPECT_EQ(line.find("\u200C"), std::string::npos);
    EXPECT_EQ(line.find("\u064A"), std::string::npos);  // Arabic yeh
    EXPECT_EQ(line.find("\u0643"), std::string::npos);  // Arabic kaf
    EXPECT_EQ(line.rfind("     ", 0), 0u);
  }
}

// 3311509 × 64998211924425849 children (the count becomes the double
// 64998211924425848): the product rounded to the 64-bit significand and then
// to a double is 215242163771643499905024 (worked with Python's integers),
// whose 15 digits are 2.15242163771643E23; its 18-digit expansion ends in
// ...643500 and would have given ...644.
TEST(BuildDecreeReport, HugeChildAllowanceIsRoundedOnceToFifteenDigits) {
  DecreeInput in = WorkedA();
  in.ChildAllowanceRate = 3311509;
  in.ChildCount = 64998211924425849.0;
  const DecreeResult r = ComputeDecree(in, GroupPointsTable);
  ASSERT_EQ(r.ChildAllowance, 215242163771643499905024.0);
  const std::vector<std::string> lines = BuildDecreeReport(r, Comma);
  const std::string line = "     حق اولاد: 2.15242163771643E23";
  EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end());
}

// Found by fuzzing: the 18-digit expansion of a value just below 10^18
// carries into a 19th whole digit, which was dropped (10^17 was written).
TEST(FormatAmount, NineteenthWholeDigitFromTheCarryIsKept) {
  const Extended justBelow = 999999999999999999.75_x;  // exact in the 64-bit significand
  ASSERT_LT(justBelow, 1e18_x);
  EXPECT_EQ(FormatAmount(justBelow, Comma), "1,000,000,000,000,000,000");
  EXPECT_EQ(FormatAmount(-justBelow, Comma), "-1,000,000,000,000,000,000");
  EXPECT_EQ(FormatAmount(justBelow, NumberFormatFromSettings(std::string("."), std::string(""))),
            "1000000000000000000");

  // Reached by the report's extended-precision sum of the grand total and the top-up.
  DecreeResult r{};
  r.ItemsTotal = 1000;
  r.SeniorityMinimumDifference = 2047.75;
  r.GrandTotal = 999999999999997952.0;
  const std::vector<std::string> lines = BuildDecreeReport(r, Comma);
  EXPECT_EQ(lines.back(), "     جمع کل حکم (با حق مسکن): 1,000,000,000,000,000,000");
}

}  // namespace
