// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecreeCompute.h"

#include <cmath>
#include <string>

#include "DecreeTexts.h"

namespace {

using L = Extended;  // every formula is evaluated in it, then Store()d
using namespace DecreeFigures;

// Amount × percent first, then ÷ 100: the order can change the last bit.
inline L Percent(L Amount, L P) { return Amount * P / 100; }

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
  p.FirstSubtotal = Store(L(p.Base) + p.Job);
  p.Attraction = Store(Percent(p.FirstSubtotal, In.AttractionPercent));
  p.SecondSubtotal = Store(L(p.Base) + p.Attraction + p.Job);
  p.Special = Store(Percent(p.SecondSubtotal, In.SpecialPercent));
  p.Total = Store(L(p.Special) + p.SecondSubtotal);
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
  r.SeniorityIncrease = Store(Percent(L(In.PreviousBaseSalary) + In.PreviousSeniorityIncrease,
                                      In.SeniorityIncreasePercent) +
                              In.PreviousSeniorityIncrease);
  r.JobAllowance = Store(Percent(r.BaseSalary, In.JobPercent));
  steps.MinimumPayDifferenceBeforeClamp =
      Store(In.DeclaredMinimumSalary - (L(r.BaseSalary) + r.SeniorityIncrease));
  r.MinimumPayDifference = steps.MinimumPayDifferenceBeforeClamp < 0 ? 0 : steps.MinimumPayDifferenceBeforeClamp;
  r.SalaryRepair = Store(SalaryRepairFactor * In.Coefficient);
  r.AttractionAllowance =
      Store(Percent(L(r.BaseSalary) + r.SeniorityIncrease + r.JobAllowance + r.MinimumPayDifference +
                        r.SalaryRepair,
                    In.AttractionPercent) +
            Percent(In.AttractionPercent, In.Note12Difference));
  r.SpecialAllowance =
      Store(Percent(L(r.BaseSalary) + r.SeniorityIncrease + r.AttractionAllowance + r.JobAllowance +
                        r.MinimumPayDifference + r.SalaryRepair + In.Note12Difference,
                    In.SpecialPercent));
  r.ParticularAllowance =
      Store(Percent(L(r.BaseSalary) + r.SeniorityIncrease + r.JobAllowance + r.AttractionAllowance +
                        r.MinimumPayDifference + r.SalaryRepair + In.Note12Difference,
                    In.ParticularPercent));
  r.Note12Adjustment = In.Note12Difference;
  r.LivingFacilitiesDeprivation = Store(Percent(r.BaseSalary, In.DeprivationPercent));
  r.FamilyAllowance = In.HeadOfHousehold ? In.FamilyAllowanceRate : 0;
  r.ChildAllowance = Store(L(In.ChildAllowanceRate) * In.ChildCount);
  r.VeteranAllowance = In.VeteranEligible ? Store(Percent(In.EffectiveMinimumSalary, VeteranRate)) : 0;
  r.ClauseBItem3Allowance = In.ClauseBItem3Amount;
  r.BasicSalary = Store(L(r.BaseSalary) + r.SeniorityIncrease);
  steps.ShiftWorkCap = Store(L(In.Coefficient) * ShiftWorkCapPoints * ShiftWorkCapRate / 100);
  r.BadClimateAllowance = Store(Percent(r.BaseSalary, In.BadClimatePercent));
  steps.ShiftWorkBeforeCap = Store(Percent(r.BaseSalary, In.ShiftWorkPercent));
  // A value equal to the cap stays.
  r.ShiftWorkAllowance = steps.ShiftWorkBeforeCap > steps.ShiftWorkCap ? steps.ShiftWorkCap : steps.ShiftWorkBeforeCap;
  r.HardshipAllowance = Store(Percent(r.BaseSalary, In.HardshipPercent));
  r.OperationalZoneAllowance =
      In.OperationalZoneWideBase
          ? Store(Percent(L(r.BasicSalary) + r.JobAllowance + r.AttractionAllowance + r.MinimumPayDifference,
                          In.OperationalZonePercent))
          : Store(Percent(r.BaseSalary, In.OperationalZonePercent));
  r.DeprivedRegionAllowance = Store(Percent(r.BaseSalary, In.DeprivedRegionPercent));
  r.RadiationWorkAllowance = Store(Percent(L(r.JobAllowance) + r.BasicSalary, In.RadiationPercent));
  r.Article26Allowance = In.Article26Eligible ? Store(Percent(r.BaseSalary, Article26Rate)) : 0;
  r.BorderDeprivationAllowance =
      In.BorderDeprivationEligible ? Store(Percent(r.BaseSalary, BorderDeprivationRate)) : 0;
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
  const bool socialSecurity = In.InsuranceType == 0;
  L housingBase = L(r.BaseSalary) + r.SeniorityIncrease + r.JobAllowance + r.MinimumPayDifference +
                  r.AttractionAllowance + r.SpecialAllowance + r.ParticularAllowance + r.Note12Adjustment;
  if (socialSecurity) housingBase += r.LivingFacilitiesDeprivation;
  housingBase += r.IncentiveGroupsDifference;
  housingBase += r.SalaryRepair;
  housingBase += r.VeteranAllowance;
  if (socialSecurity) housingBase += r.BadClimateAllowance;
  housingBase += r.ShiftWorkAllowance;
  housingBase += r.HardshipAllowance;
  housingBase += r.OperationalZoneAllowance;
  housingBase += r.DeprivedRegionAllowance;
  housingBase += r.RadiationWorkAllowance;
  housingBase += r.AdjustmentAllowance;
  housingBase += r.Article26Allowance;
  housingBase += r.BorderDeprivationAllowance;
  r.HousingBase = Store(housingBase);
  if (In.ClauseBItem3InHousing) r.HousingBase = Store(L(r.ClauseBItem3Allowance) + r.HousingBase);

  r.ItemsTotal = Store(L(r.BaseSalary) + r.SeniorityIncrease + r.JobAllowance + r.MinimumPayDifference +
                       r.AttractionAllowance + r.SpecialAllowance + r.ParticularAllowance +
                       r.Note12Adjustment + r.LivingFacilitiesDeprivation + r.FamilyAllowance +
                       r.ChildAllowance + r.IncentiveGroupsDifference + r.SalaryRepair +
                       r.VeteranAllowance + r.ClauseBItem3Allowance + r.BadClimateAllowance +
                       r.ShiftWorkAllowance + r.HardshipAllowance + r.OperationalZoneAllowance +
                       r.DeprivedRegionAllowance + r.RadiationWorkAllowance + r.AdjustmentAllowance +
                       r.Article26Allowance + r.BorderDeprivationAllowance);
  r.SeniorityMinimumDifference =
      r.ItemsTotal < In.MinimumSalaryAndBenefits ? Store(L(In.MinimumSalaryAndBenefits) - r.ItemsTotal) : 0;
  r.HousingBase = Store(L(r.HousingBase) + r.SeniorityMinimumDifference);
  r.HousingAllowance = Store(Percent(r.HousingBase, HousingRate));
  r.GrandTotal = Store(L(r.ItemsTotal) + r.HousingAllowance);
  if (Steps) *Steps = steps;
  return r;
}
