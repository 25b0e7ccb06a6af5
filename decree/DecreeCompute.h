// SPDX-License-Identifier: GPL-3.0-or-later
// The decree computation: a fixed chain of formulas, each evaluated at
// extended precision from double operands and rounded to double when stored.
#pragma once

#include <array>
#include <cstdint>

#include "decree/DecreeInput.h"
#include "decree/Extended.h"

// Group points for groups 1..20; group g is at index g - 1.
using GroupPoints = std::array<std::int32_t, 20>;

inline constexpr GroupPoints GroupPointsTable = {
    400, 450, 500, 560, 620, 680, 740, 810, 880, 950, 1020, 1090, 1160, 1230, 1300, 1370, 1440, 1510, 1580, 1650,
};

// The fixed figures of the computation; exact in any precision. Percentages
// are plain numbers of percent.
namespace DecreeFigures {
inline const Extended SalaryRepairFactor = 3000;  // × Coefficient
inline const Extended VeteranRate = 25;           // of EffectiveMinimumSalary
inline const Extended ShiftWorkCapPoints = 400;   // cap: Coefficient × 400 × 35 / 100
inline const Extended ShiftWorkCapRate = 35;
inline const Extended Article26Rate = 20;           // of BaseSalary
inline const Extended BorderDeprivationRate = 20;   // of BaseSalary
inline constexpr double AdjustmentAmount = 408600;  // rials
inline const Extended HousingRate = 20;             // of HousingBase
}  // namespace DecreeFigures

struct DecreeResult {
  double BaseSalary = 0;
  double SeniorityIncrease = 0;
  double JobAllowance = 0;
  double MinimumPayDifference = 0;
  double SalaryRepair = 0;
  double AttractionAllowance = 0;
  double SpecialAllowance = 0;
  double ParticularAllowance = 0;
  double Note12Adjustment = 0;
  double LivingFacilitiesDeprivation = 0;
  double FamilyAllowance = 0;
  double ChildAllowance = 0;
  double VeteranAllowance = 0;
  double ClauseBItem3Allowance = 0;
  double BasicSalary = 0;  // subtotal, not an item
  double BadClimateAllowance = 0;
  double ShiftWorkAllowance = 0;
  double HardshipAllowance = 0;
  double OperationalZoneAllowance = 0;
  double DeprivedRegionAllowance = 0;
  double RadiationWorkAllowance = 0;
  double Article26Allowance = 0;
  double BorderDeprivationAllowance = 0;
  double AdjustmentAllowance = 0;
  double IncentiveGroupsDifference = 0;
  double HousingBase = 0;  // not reported
  double ItemsTotal = 0;
  double SeniorityMinimumDifference = 0;
  double HousingAllowance = 0;
  double GrandTotal = 0;
};

// The package of one group, used only for the incentive groups difference.
struct GroupPackageValues {
  double Base = 0;
  double Job = 0;
  double FirstSubtotal = 0;
  double Attraction = 0;
  double SecondSubtotal = 0;
  double Special = 0;
  double Total = 0;
};

// What ComputeDecree decides on along the way and the result does not keep:
// the two differences before their clamps at zero, the shift allowance before
// its cap, and the group packages of the incentive groups difference.
struct DecreeSteps {
  double MinimumPayDifferenceBeforeClamp = 0;
  double ShiftWorkBeforeCap = 0;
  double ShiftWorkCap = 0;
  bool Packages = false;  // formed only with incentive groups
  GroupPackageValues ReducedPackage;
  GroupPackageValues FullPackage;
  double IncentiveGroupsDifferenceBeforeClamp = 0;
};

// True when Group truncated toward zero indexes 1..20.
bool GroupInRange(const Extended& Group);

// Throws DecreeError when the group index is outside 1..20.
GroupPackageValues GroupPackage(const DecreeInput& Input, const GroupPoints& G, const Extended& Group);

// The two totals as the report prints them. With a top-up (a
// SeniorityMinimumDifference above 0) it is added to the items total and to
// the grand total, at extended precision; otherwise they are the result's own.
struct ReportedTotals {
  bool TopUp;
  Extended WithoutHousing;  // ItemsTotal, with the top-up
  Extended WithHousing;     // GrandTotal, with the top-up
};
ReportedTotals TotalsWithTopUp(const DecreeResult& Result);

// Throws DecreeError for a group index outside 1..20 (CheckGroupRange refuses
// such inputs first) and "Floating point overflow" beyond the double range.
// Fills *Steps when given.
DecreeResult ComputeDecree(const DecreeInput& Input, const GroupPoints& G, DecreeSteps* Steps = nullptr);
