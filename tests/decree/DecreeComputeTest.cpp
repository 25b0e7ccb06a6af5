// SPDX-License-Identifier: GPL-3.0-or-later
#include <cfloat>
#include <gtest/gtest.h>

#include "decree/DecreeCompute.h"
#include "tests/decree/WorkedInputs.h"

namespace {

struct Expected {
  const char* Name;
  double DecreeResult::*Field;
  double A, B;
};

// Every value of the two worked decrees; values not listed are 0 in both.
const Expected WorkedValues[] = {
    {"BaseSalary", &DecreeResult::BaseSalary, 880000, 880000},
    {"SeniorityIncrease", &DecreeResult::SeniorityIncrease, 136000, 136000},
    {"BasicSalary", &DecreeResult::BasicSalary, 1016000, 1016000},
    {"JobAllowance", &DecreeResult::JobAllowance, 176000, 176000},
    {"MinimumPayDifference", &DecreeResult::MinimumPayDifference, 984000, 984000},
    {"SalaryRepair", &DecreeResult::SalaryRepair, 3000000, 3000000},
    {"AttractionAllowance", &DecreeResult::AttractionAllowance, 2588000, 2613000},
    {"SpecialAllowance", &DecreeResult::SpecialAllowance, 776400, 783900},
    {"ParticularAllowance", &DecreeResult::ParticularAllowance, 0, 0},
    {"Note12Adjustment", &DecreeResult::Note12Adjustment, 0, 50000},
    {"LivingFacilitiesDeprivation", &DecreeResult::LivingFacilitiesDeprivation, 0, 88000},
    {"FamilyAllowance", &DecreeResult::FamilyAllowance, 300000, 300000},
    {"ChildAllowance", &DecreeResult::ChildAllowance, 200000, 200000},
    {"VeteranAllowance", &DecreeResult::VeteranAllowance, 0, 400000},
    {"ClauseBItem3Allowance", &DecreeResult::ClauseBItem3Allowance, 0, 200000},
    {"BadClimateAllowance", &DecreeResult::BadClimateAllowance, 0, 44000},
    {"ShiftWorkAllowance", &DecreeResult::ShiftWorkAllowance, 140000, 140000},
    {"HardshipAllowance", &DecreeResult::HardshipAllowance, 0, 0},
    {"OperationalZoneAllowance", &DecreeResult::OperationalZoneAllowance, 0, 957800},
    {"DeprivedRegionAllowance", &DecreeResult::DeprivedRegionAllowance, 0, 0},
    {"RadiationWorkAllowance", &DecreeResult::RadiationWorkAllowance, 0, 0},
    {"Article26Allowance", &DecreeResult::Article26Allowance, 0, 176000},
    {"BorderDeprivationAllowance", &DecreeResult::BorderDeprivationAllowance, 0, 0},
    {"AdjustmentAllowance", &DecreeResult::AdjustmentAllowance, 408600, 408600},
    {"IncentiveGroupsDifference", &DecreeResult::IncentiveGroupsDifference, 277200, 277200},
    {"ItemsTotal", &DecreeResult::ItemsTotal, 9866200, 11814500},
    {"SeniorityMinimumDifference", &DecreeResult::SeniorityMinimumDifference, 0, 4185500},
    {"HousingBase", &DecreeResult::HousingBase, 9366200, 15500000},
    {"HousingAllowance", &DecreeResult::HousingAllowance, 1873240, 3100000},
    {"GrandTotal", &DecreeResult::GrandTotal, 11739440, 14914500},
};

TEST(ComputeDecree, WorkedDecreesAAndB) {
  const DecreeResult a = ComputeDecree(WorkedA(), GroupPointsTable);
  const DecreeResult b = ComputeDecree(WorkedB(), GroupPointsTable);
  for (const Expected& row : WorkedValues) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(a.*row.Field, row.A);
    EXPECT_EQ(b.*row.Field, row.B);
  }
}

TEST(GroupPackage, WorkedPackagesOfGroupsSevenAndNine) {
  struct Row {
    double Group;
    double Base, Job, Attraction, Special, Total;
  } rows[] = {{7, 740000, 148000, 444000, 133200, 1465200}, {9, 880000, 176000, 528000, 158400, 1742400}};
  for (const DecreeInput& in : {WorkedA(), WorkedB()}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(row.Group);
      const GroupPackageValues p = GroupPackage(in, GroupPointsTable, row.Group);
      EXPECT_EQ(p.Base, row.Base);
      EXPECT_EQ(p.Job, row.Job);
      EXPECT_EQ(p.Attraction, row.Attraction);
      EXPECT_EQ(p.Special, row.Special);
      EXPECT_EQ(p.Total, row.Total);
    }
  }
}

TEST(ComputeDecree, GroupPointsTable) {
  const double points[] = {400,  450,  500,  560,  620,  680,  740,  810,  880,  950,
                           1020, 1090, 1160, 1230, 1300, 1370, 1440, 1510, 1580, 1650};
  DecreeInput in;
  in.Coefficient = 1;
  for (int g = 1; g <= 20; ++g) {
    SCOPED_TRACE(g);
    in.EmployeeGroup = g;
    EXPECT_EQ(ComputeDecree(in, GroupPointsTable).BaseSalary, points[g - 1]);
  }
}

TEST(ComputeDecree, ShiftWorkCap) {
  // Group 1 with a coefficient of 1000: base 400000, cap 1000 x 400 x 35% = 140000.
  struct Row {
    const char* Name;
    double Percent;
    double Allowance;
  } rows[] = {
      {"below the cap", 34, 136000},
      {"equal to the cap stays", 35, 140000},
      {"above the cap is cut", 36, 140000},
      {"far above the cap is cut", 99, 140000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    DecreeInput in = WorkedA();
    in.EmployeeGroup = 1;
    in.IncentiveGroupCount = 0;
    in.ShiftWorkPercent = row.Percent;
    EXPECT_EQ(ComputeDecree(in, GroupPointsTable).ShiftWorkAllowance, row.Allowance);
  }
}

TEST(ComputeDecree, MinimumPayDifferenceClampsAtZeroAndFeedsLaterSteps) {
  DecreeInput in = WorkedA();
  in.DeclaredMinimumSalary = 1000000;  // below 880000 + 136000
  const DecreeResult r = ComputeDecree(in, GroupPointsTable);
  EXPECT_EQ(r.MinimumPayDifference, 0);
  EXPECT_EQ(r.AttractionAllowance, 2096000);  // (880000+136000+176000+0+3000000) x 50%
  EXPECT_EQ(r.SpecialAllowance, 628800);
  EXPECT_EQ(r.ItemsTotal, 8242600);
}

TEST(ComputeDecree, SeniorityMinimumDifferenceAtTheBoundary) {
  struct Row {
    const char* Name;
    double MinimumSalaryAndBenefits;
    double Difference;
  } rows[] = {
      {"equal to the items total", 9866200, 0},
      {"one rial above it", 9866201, 1},
      {"below it", 9000000, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    DecreeInput in = WorkedA();
    in.MinimumSalaryAndBenefits = row.MinimumSalaryAndBenefits;
    const DecreeResult r = ComputeDecree(in, GroupPointsTable);
    EXPECT_EQ(r.SeniorityMinimumDifference, row.Difference);
    EXPECT_EQ(r.HousingBase, 9366200 + row.Difference);
    EXPECT_EQ(r.GrandTotal, r.ItemsTotal + r.HousingAllowance);
  }
}

TEST(ComputeDecree, SocialSecurityAddsDeprivationAndBadClimateToTheHousingBase) {
  DecreeInput retirement = WorkedB();
  retirement.InsuranceType = 1;
  retirement.MinimumSalaryAndBenefits = 0;  // keep the top-up out of the base
  DecreeInput social = retirement;
  social.InsuranceType = 0;
  const DecreeResult r1 = ComputeDecree(retirement, GroupPointsTable);
  const DecreeResult r0 = ComputeDecree(social, GroupPointsTable);
  EXPECT_EQ(r0.HousingBase - r1.HousingBase, 88000 + 44000);
  EXPECT_EQ(r0.HousingAllowance - r1.HousingAllowance, 26400);
  EXPECT_EQ(r0.ItemsTotal, r1.ItemsTotal);
}

TEST(ComputeDecree, NoIncentiveGroupsFormNoPackage) {
  DecreeInput in = WorkedA();
  in.IncentiveGroupCount = 0;
  EXPECT_EQ(ComputeDecree(in, GroupPointsTable).IncentiveGroupsDifference, 0);
  in.EmployeeGroup = 1;  // a reduced group of 1 - 0 would still be in range; nothing is formed
  EXPECT_EQ(ComputeDecree(in, GroupPointsTable).IncentiveGroupsDifference, 0);
}

TEST(ComputeDecree, EachFlagAlone) {
  struct Row {
    const char* Name;
    bool DecreeInput::*Flag;
    double DecreeResult::*Field;
    double Amount;
  } rows[] = {
      {"head of household", &DecreeInput::HeadOfHousehold, &DecreeResult::FamilyAllowance, 300000},
      {"veteran", &DecreeInput::VeteranEligible, &DecreeResult::VeteranAllowance, 400000},
      {"adjustment", &DecreeInput::AdjustmentEligible, &DecreeResult::AdjustmentAllowance, 408600},
      {"article 26", &DecreeInput::Article26Eligible, &DecreeResult::Article26Allowance, 176000},
      {"border", &DecreeInput::BorderDeprivationEligible, &DecreeResult::BorderDeprivationAllowance, 176000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    DecreeInput in = WorkedA();
    in.HeadOfHousehold = in.AdjustmentEligible = false;
    EXPECT_EQ(ComputeDecree(in, GroupPointsTable).*row.Field, 0);
    in.*row.Flag = true;
    EXPECT_EQ(ComputeDecree(in, GroupPointsTable).*row.Field, row.Amount);
  }
}

TEST(ComputeDecree, NarrowOperationalZoneBaseAndRadiation) {
  DecreeInput in = WorkedA();
  in.OperationalZonePercent = 25;
  in.RadiationPercent = 10;
  in.HardshipPercent = 5;
  in.DeprivedRegionPercent = 3;
  in.ParticularPercent = 10;
  const DecreeResult r = ComputeDecree(in, GroupPointsTable);
  EXPECT_EQ(r.OperationalZoneAllowance, 220000);
  EXPECT_EQ(r.RadiationWorkAllowance, 119200);  // (176000 + 1016000) x 10%
  EXPECT_EQ(r.HardshipAllowance, 44000);
  EXPECT_EQ(r.DeprivedRegionAllowance, 26400);
  EXPECT_EQ(r.ParticularAllowance, 776400);  // the special allowance is not in its base
}

// 880 x 1000.02 = 880017.6; x 30 / 100 evaluated once at extended precision and
// rounded gives 264005.27999999997, the exact product's nearest double. Plain
// double rounds the product first and lands on 264005.28.
TEST(ComputeDecree, EvaluatesAtExtendedPrecision) {
  DecreeInput in = WorkedA();
  in.Coefficient = 1000.02;
  in.JobPercent = 30;
  const DecreeResult r = ComputeDecree(in, GroupPointsTable);
  EXPECT_EQ(r.BaseSalary, 880017.6);
  EXPECT_EQ(r.JobAllowance, 264005.27999999997);
  volatile double base = r.BaseSalary, percent = 30;
  EXPECT_NE(r.JobAllowance, base * percent / 100);
}

TEST(ComputeDecree, OverflowBeyondTheDoubleRange) {
  DecreeInput in = WorkedA();
  in.Coefficient = DBL_MAX / 100;
  try {
    ComputeDecree(in, GroupPointsTable);
    FAIL();
  } catch (const DecreeError& e) {
    EXPECT_STREQ(e.what(), "Floating point overflow");
  }
}

}  // namespace

namespace {

TEST(ComputeDecree, StepsKeepWhatTheClampsAndTheCapDecidedOn) {
  struct Row {
    const char* Name;
    void (*Change)(DecreeInput&);
    double MinimumPayBeforeClamp, MinimumPay;
    double ShiftBeforeCap, Shift;
    bool Packages;
    double ReducedTotal, IncentiveBeforeClamp, Incentive;
  } rows[] = {
      {"worked decree A", [](DecreeInput&) {}, 984000, 984000, 176000, 140000, true, 1465200, 277200, 277200},
      {"declared minimum below base and seniority", [](DecreeInput& in) { in.DeclaredMinimumSalary = 1000000; }, -16000,
       0, 176000, 140000, true, 1465200, 277200, 277200},
      {"shift allowance under the cap", [](DecreeInput& in) { in.ShiftWorkPercent = 10; }, 984000, 984000, 88000, 88000,
       true, 1465200, 277200, 277200},
      // Group 11: 1020000, 204000, 612000, 183600, total 2019600.
      {"negative incentive groups raise the reduced group", [](DecreeInput& in) { in.IncentiveGroupCount = -2; },
       984000, 984000, 176000, 140000, true, 2019600, -277200, 0},
      {"no incentive groups", [](DecreeInput& in) { in.IncentiveGroupCount = 0; }, 984000, 984000, 176000, 140000,
       false, 0, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    DecreeInput in = WorkedA();
    row.Change(in);
    DecreeSteps steps;
    steps.ReducedPackage.Total = -1;  // must be overwritten, formed or not
    const DecreeResult r = ComputeDecree(in, GroupPointsTable, &steps);
    EXPECT_EQ(steps.MinimumPayDifferenceBeforeClamp, row.MinimumPayBeforeClamp);
    EXPECT_EQ(r.MinimumPayDifference, row.MinimumPay);
    EXPECT_EQ(steps.ShiftWorkBeforeCap, row.ShiftBeforeCap);
    EXPECT_EQ(steps.ShiftWorkCap, 140000);
    EXPECT_EQ(r.ShiftWorkAllowance, row.Shift);
    EXPECT_EQ(steps.Packages, row.Packages);
    EXPECT_EQ(steps.ReducedPackage.Total, row.ReducedTotal);
    EXPECT_EQ(steps.FullPackage.Total, row.Packages ? 1742400 : 0);
    EXPECT_EQ(steps.IncentiveGroupsDifferenceBeforeClamp, row.IncentiveBeforeClamp);
    EXPECT_EQ(r.IncentiveGroupsDifference, row.Incentive);
  }
}

}  // namespace
