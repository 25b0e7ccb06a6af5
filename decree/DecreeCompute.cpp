// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/DecreeCompute.h"

#include <cmath>
#include <cstddef>
#include <string>

#include "decree/DecreeCatalogue.h"
#include "decree/DecreeTexts.h"

namespace {

using L = Extended;  // every formula is evaluated in it, then Store()d
using namespace DecreeFigures;

// Amount × percent first, then ÷ 100: the order can change the last bit.
inline L Percent(L Amount, L P) { return Amount * P / 100; }

// A sum of the catalogue's: the first term converted, then each further one
// added, left to right as the law writes it. Starting from the first term
// rather than from 0 keeps the sign of a zero.
template <std::size_t N>
L Sum(const DecreeResult& R, const SumTerm (&Terms)[N]) {
  L Total = R.*Terms[0].Member;
  for (std::size_t k = 1; k < N; ++k) Total += R.*Terms[k].Member;
  return Total;
}

template <std::size_t N>
L Sum(const GroupPackageValues& P, double GroupPackageValues::*const (&Members)[N]) {
  L Total = P.*Members[0];
  for (std::size_t k = 1; k < N; ++k) Total += P.*Members[k];
  return Total;
}

std::int32_t Points(const GroupPoints& G, const L& Group, const char* OutOfRange) {
  if (!GroupInRange(Group)) throw DecreeError(OutOfRange);
  return G[static_cast<std::size_t>(Trunc(Group)) - 1];
}

}  // namespace

bool GroupInRange(const Extended& Group) {
  const Extended k = Trunc(Group);
  return k >= 1 && k <= 20;  // false for NaN too
}

GroupPackageValues GroupPackage(const DecreeInput& In, const GroupPoints& G, const Extended& Group) {
  GroupPackageValues p;
  p.Base = Store(L(Points(G, Group, DecreeTexts::GroupOutOfRange)) * In.Coefficient);
  p.Job = Store(Percent(p.Base, In.JobPercent));
  p.FirstSubtotal = Store(Sum(p, DecreeSums::PackageFirstSubtotal));
  p.Attraction = Store(Percent(p.FirstSubtotal, In.AttractionPercent));
  p.SecondSubtotal = Store(Sum(p, DecreeSums::PackageSecondSubtotal));
  p.Special = Store(Percent(p.SecondSubtotal, In.SpecialPercent));
  p.Total = Store(Sum(p, DecreeSums::PackageTotal));
  return p;
}

DecreeResult ComputeDecree(const DecreeInput& In, const GroupPoints& G, DecreeSteps* Steps) {
  DecreeSteps steps;
  // Both indexes are checked before anything is formed.
  const L fullGroup = In.EmployeeGroup;
  const L reducedGroup = L(In.EmployeeGroup) - In.IncentiveGroupCount;
  const std::int32_t fullPoints = Points(G, fullGroup, DecreeTexts::GroupOutOfRange);
  if (In.IncentiveGroupCount != 0) Points(G, reducedGroup, DecreeTexts::IncentiveGroupsTooMany);

  DecreeResult r;
  r.BaseSalary = Store(L(fullPoints) * In.Coefficient);
  r.SeniorityIncrease =
      Store(Percent(L(In.PreviousBaseSalary) + In.PreviousSeniorityIncrease, In.SeniorityIncreasePercent) +
            In.PreviousSeniorityIncrease);
  r.JobAllowance = Store(Percent(r.BaseSalary, In.JobPercent));
  steps.MinimumPayDifferenceBeforeClamp = Store(In.DeclaredMinimumSalary - Sum(r, DecreeSums::BasicSalary));
  r.MinimumPayDifference = steps.MinimumPayDifferenceBeforeClamp < 0 ? 0 : steps.MinimumPayDifferenceBeforeClamp;
  r.SalaryRepair = Store(SalaryRepairFactor * In.Coefficient);
  r.AttractionAllowance = Store(Percent(Sum(r, DecreeSums::AttractionBase), In.AttractionPercent) +
                                Percent(In.AttractionPercent, In.Note12Difference));
  // Carried over before the two bases that hold it.
  r.Note12Adjustment = In.Note12Difference;
  r.SpecialAllowance = Store(Percent(Sum(r, DecreeSums::SpecialBase), In.SpecialPercent));
  r.ParticularAllowance = Store(Percent(Sum(r, DecreeSums::ParticularBase), In.ParticularPercent));
  r.LivingFacilitiesDeprivation = Store(Percent(r.BaseSalary, In.DeprivationPercent));
  r.FamilyAllowance = In.HeadOfHousehold ? In.FamilyAllowanceRate : 0;
  r.ChildAllowance = Store(L(In.ChildAllowanceRate) * In.ChildCount);
  r.VeteranAllowance = In.VeteranEligible ? Store(Percent(In.EffectiveMinimumSalary, VeteranRate)) : 0;
  r.ClauseBItem3Allowance = In.ClauseBItem3Amount;
  r.BasicSalary = Store(Sum(r, DecreeSums::BasicSalary));
  steps.ShiftWorkCap = Store(L(In.Coefficient) * ShiftWorkCapPoints * ShiftWorkCapRate / 100);
  r.BadClimateAllowance = Store(Percent(r.BaseSalary, In.BadClimatePercent));
  steps.ShiftWorkBeforeCap = Store(Percent(r.BaseSalary, In.ShiftWorkPercent));
  // A value equal to the cap stays.
  r.ShiftWorkAllowance = steps.ShiftWorkBeforeCap > steps.ShiftWorkCap ? steps.ShiftWorkCap : steps.ShiftWorkBeforeCap;
  r.HardshipAllowance = Store(Percent(r.BaseSalary, In.HardshipPercent));
  r.OperationalZoneAllowance =
      In.OperationalZoneWideBase
          ? Store(Percent(Sum(r, DecreeSums::OperationalZoneWideBase), In.OperationalZonePercent))
          : Store(Percent(r.BaseSalary, In.OperationalZonePercent));
  r.DeprivedRegionAllowance = Store(Percent(r.BaseSalary, In.DeprivedRegionPercent));
  r.RadiationWorkAllowance = Store(Percent(Sum(r, DecreeSums::RadiationBase), In.RadiationPercent));
  r.Article26Allowance = In.Article26Eligible ? Store(Percent(r.BaseSalary, Article26Rate)) : 0;
  r.BorderDeprivationAllowance = In.BorderDeprivationEligible ? Store(Percent(r.BaseSalary, BorderDeprivationRate)) : 0;
  r.AdjustmentAllowance = In.AdjustmentEligible ? AdjustmentAmount : 0;

  if (In.IncentiveGroupCount != 0) {
    steps.Packages = true;
    steps.ReducedPackage = GroupPackage(In, G, reducedGroup);
    steps.FullPackage = GroupPackage(In, G, fullGroup);
    steps.IncentiveGroupsDifferenceBeforeClamp = Store(L(steps.FullPackage.Total) - steps.ReducedPackage.Total);
    r.IncentiveGroupsDifference =
        steps.IncentiveGroupsDifferenceBeforeClamp < 0 ? 0 : steps.IncentiveGroupsDifferenceBeforeClamp;
  }

  // Social security also insures the deprivation and bad climate allowances.
  r.HousingBase = Store(In.InsuranceType == 0 ? Sum(r, DecreeSums::HousingBaseSocialSecurity)
                                              : Sum(r, DecreeSums::HousingBaseRetirement));
  if (In.ClauseBItem3InHousing) r.HousingBase = Store(L(r.ClauseBItem3Allowance) + r.HousingBase);

  r.ItemsTotal = Store(Sum(r, DecreeSums::ItemsTotal));
  r.SeniorityMinimumDifference =
      r.ItemsTotal < In.MinimumSalaryAndBenefits ? Store(L(In.MinimumSalaryAndBenefits) - r.ItemsTotal) : 0;
  r.HousingBase = Store(L(r.HousingBase) + r.SeniorityMinimumDifference);
  r.HousingAllowance = Store(Percent(r.HousingBase, HousingRate));
  r.GrandTotal = Store(L(r.ItemsTotal) + r.HousingAllowance);
  if (Steps) *Steps = steps;
  return r;
}

ReportedTotals TotalsWithTopUp(const DecreeResult& R) {
  // Added at extended precision and not rounded before they are written.
  if (R.SeniorityMinimumDifference > 0)
    return {true, L(R.ItemsTotal) + R.SeniorityMinimumDifference, L(R.GrandTotal) + R.SeniorityMinimumDifference};
  return {false, R.ItemsTotal, R.GrandTotal};
}
