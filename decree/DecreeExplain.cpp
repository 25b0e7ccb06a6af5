// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/DecreeExplain.h"

#include <cassert>
#include <cmath>

#include "decree/DecreeCatalogue.h"
#include "decree/DecreeReport.h"
#include "decree/DecreeTexts.h"

namespace {

using L = Extended;
namespace T = DecreeTexts;
using namespace DecreeFigures;

using D = DecreeResult;

// A value's caption in the report, which also names it inside formulas.
const char* Caption(double D::*Value) { return ValueOf(Value).ReportCaption; }

// An operand of a sum: the item's caption and its amount.
struct Term {
  const char* Caption;
  double Amount;
  bool OmittedWhenZero;  // a zero adds nothing and is left out of the text
};

using PackageMember = double GroupPackageValues::*;

class TExplainer {
 public:
  TExplainer(const DecreeInput& Input, const DecreeResult& Result, const GroupPoints& Points,
             const NumberFormat& Numbers)
      : In(Input), R(Result), G(Points), Format(Numbers) {
    ComputeDecree(In, G, &Steps);
  }

  std::vector<std::string> Lines();

 private:
  std::string A(L Amount) const { return FormatAmount(Amount, Format); }

  // Whole multipliers are grouped like amounts; a fraction must not be rounded away.
  std::string F(L Value) const {
    if (Fabs(Value) < 1e15 && Value == Trunc(Value)) return FormatAmount(Value, Format);
    return FormatGeneral(Value, 15, Format);
  }

  std::string Of(const std::string& ItemName, L Amount) const { return ItemName + " " + A(Amount); }
  std::string Of(const char* Caption, L Amount) const { return Of(WithoutColon(Caption), Amount); }

  static std::string Join(const std::vector<std::string>& Terms, const char* Operator) {
    std::string Text;
    for (const std::string& Item : Terms) Text += (Text.empty() ? "" : Operator) + Item;
    return Text;
  }

  // The terms of one of the catalogue's sums, in the order they are added.
  template <std::size_t N>
  std::vector<Term> TermsOf(const SumTerm (&Terms)[N]) const {
    std::vector<Term> Operands;
    for (const SumTerm& Item : Terms) Operands.push_back({Caption(Item.Member), R.*Item.Member, Item.OmittedWhenZero});
    return Operands;
  }

  std::string Sum(const std::vector<Term>& Terms) const {
    std::vector<std::string> Texts;
    for (const Term& Item : Terms)
      if (!(Item.OmittedWhenZero && Item.Amount == 0)) Texts.push_back(Of(Item.Caption, Item.Amount));
    return Texts.empty() ? A(0) : Join(Texts, T::Plus);
  }

  template <std::size_t N>
  std::string Sum(const SumTerm (&Terms)[N]) const {
    return Sum(TermsOf(Terms));
  }

  // A sum of a group package's values by their amounts; a subtotal among
  // them is shown by its own terms.
  template <std::size_t N>
  std::string PackageSum(const GroupPackageValues& P, const PackageMember (&Members)[N]) const {
    std::vector<std::string> Texts;
    for (const PackageMember Member : Members) {
      if (Member == &GroupPackageValues::FirstSubtotal)
        Texts.push_back(PackageSum(P, DecreeSums::PackageFirstSubtotal));
      else if (Member == &GroupPackageValues::SecondSubtotal)
        Texts.push_back(PackageSum(P, DecreeSums::PackageSecondSubtotal));
      else
        Texts.push_back(A(P.*Member));
    }
    return Join(Texts, T::Plus);
  }

  static std::string Grouped(const std::string& Expression) { return "(" + Expression + ")"; }

  std::string Percent(const std::string& Base, L P) const { return Base + T::Times + F(P) + T::PercentDivisor; }

  std::string Is(const std::string& Expression, L Amount) const { return Expression + T::Equals + A(Amount); }

  // The step of a difference that is clamped at zero.
  std::string Clamped(const std::string& Expression, double Before, double After) const {
    if (!(Before < 0)) return Is(Expression, After);
    return Expression + T::Equals + T::Negative + A(-L(Before)) + T::StepSeparator + T::BelowZeroStart + A(After) +
           T::TakenEnd;
  }

  void Add(const char* Caption, const std::string& Derivation) { Out.push_back(Caption + Derivation); }

  void Opening();
  void Items();
  void Packages();
  void Closing();
  std::string Package(const GroupPackageValues& P, const L& Group) const;

  const DecreeInput& In;
  const DecreeResult& R;
  const GroupPoints& G;
  const NumberFormat& Format;
  DecreeSteps Steps;
  std::vector<std::string> Out;
};

std::vector<std::string> TExplainer::Lines() {
  Opening();
  Items();
  Closing();
  return Out;
}

void TExplainer::Opening() {
  const L Group = Trunc(L(In.EmployeeGroup));
  assert(GroupInRange(Group));
  const std::int32_t Points = G[static_cast<std::size_t>(Group) - 1];
  Add(Caption(&D::BaseSalary), Is(T::GroupPointsName + F(Group) + T::ThatIs + F(Points) + T::Times +
                                      T::CoefficientName + " " + F(In.Coefficient),
                                  R.BaseSalary));
  Add(Caption(&D::SeniorityIncrease),
      Is(Percent(Grouped(Of(T::PreviousBaseSalaryName, In.PreviousBaseSalary) + T::Plus +
                         Of(T::PreviousSeniorityIncreaseName, In.PreviousSeniorityIncrease)),
                 In.SeniorityIncreasePercent) +
             T::Plus + Of(T::PreviousSeniorityIncreaseName, In.PreviousSeniorityIncrease),
         R.SeniorityIncrease));
  Add(Caption(&D::BasicSalary), Is(Sum(DecreeSums::BasicSalary), R.BasicSalary));
}

void TExplainer::Items() {
  const std::string Base = Of(Caption(&D::BaseSalary), R.BaseSalary);
  const auto OfBase = [&](double D::*Value, const L& Percentage) {
    Add(Caption(Value), Is(Percent(Base, Percentage), R.*Value));
  };

  OfBase(&D::JobAllowance, In.JobPercent);

  std::string Attraction = Percent(Grouped(Sum(DecreeSums::AttractionBase)), In.AttractionPercent);
  // The attraction percentage also applies to the note-12 difference.
  if (In.Note12Difference != 0)
    Attraction += T::Plus + Percent(Of(Caption(&D::Note12Adjustment), In.Note12Difference), In.AttractionPercent);
  Add(Caption(&D::AttractionAllowance), Is(Attraction, R.AttractionAllowance));

  if (R.MinimumPayDifference > 0 || Steps.MinimumPayDifferenceBeforeClamp < 0)
    Add(Caption(&D::MinimumPayDifference), Clamped(Of(T::DeclaredMinimumSalaryName, In.DeclaredMinimumSalary) +
                                                       T::Minus + Grouped(Sum(DecreeSums::BasicSalary)),
                                                   Steps.MinimumPayDifferenceBeforeClamp, R.MinimumPayDifference));

  if (R.SpecialAllowance > 0)
    Add(Caption(&D::SpecialAllowance),
        Is(Percent(Grouped(Sum(DecreeSums::SpecialBase)), In.SpecialPercent), R.SpecialAllowance));
  if (R.ParticularAllowance > 0)
    Add(Caption(&D::ParticularAllowance),
        Is(Percent(Grouped(Sum(DecreeSums::ParticularBase)), In.ParticularPercent), R.ParticularAllowance));

  if (Steps.Packages && (R.IncentiveGroupsDifference > 0 || Steps.IncentiveGroupsDifferenceBeforeClamp < 0)) Packages();

  if (R.SalaryRepair > 0)
    Add(Caption(&D::SalaryRepair),
        Is(F(SalaryRepairFactor) + T::Times + T::CoefficientName + " " + F(In.Coefficient), R.SalaryRepair));
  if (R.LivingFacilitiesDeprivation > 0) OfBase(&D::LivingFacilitiesDeprivation, In.DeprivationPercent);
  if (R.FamilyAllowance > 0) Add(Caption(&D::FamilyAllowance), T::HeadOfHouseholdAmount + A(R.FamilyAllowance));
  if (R.ChildAllowance > 0)
    Add(Caption(&D::ChildAllowance),
        Is(Of(T::ChildAllowanceRateName, In.ChildAllowanceRate) + T::Times + T::ChildCountName + " " + F(In.ChildCount),
           R.ChildAllowance));
  if (R.Note12Adjustment > 0) Add(Caption(&D::Note12Adjustment), T::EnteredAmount + A(R.Note12Adjustment));
  if (R.ClauseBItem3Allowance > 0)
    Add(Caption(&D::ClauseBItem3Allowance), T::EnteredAmount + A(R.ClauseBItem3Allowance));
  if (R.VeteranAllowance > 0)
    Add(Caption(&D::VeteranAllowance),
        Is(Percent(Of(T::EffectiveMinimumSalaryName, In.EffectiveMinimumSalary), VeteranRate), R.VeteranAllowance));
  if (R.BadClimateAllowance > 0) OfBase(&D::BadClimateAllowance, In.BadClimatePercent);
  if (R.ShiftWorkAllowance > 0) {
    std::string Shift = Is(Percent(Base, In.ShiftWorkPercent), Steps.ShiftWorkBeforeCap);
    if (Steps.ShiftWorkBeforeCap > Steps.ShiftWorkCap)
      Shift += std::string(T::StepSeparator) + T::AboveTheCap +
               Is(Percent(std::string(T::CoefficientName) + " " + F(In.Coefficient) + T::Times + F(ShiftWorkCapPoints),
                          ShiftWorkCapRate),
                  Steps.ShiftWorkCap);
    Add(Caption(&D::ShiftWorkAllowance), Shift);
  }
  if (R.HardshipAllowance > 0) OfBase(&D::HardshipAllowance, In.HardshipPercent);
  if (R.OperationalZoneAllowance > 0) {
    if (In.OperationalZoneWideBase)
      Add(Caption(&D::OperationalZoneAllowance),
          Is(Percent(Grouped(Sum(DecreeSums::OperationalZoneWideBase)), In.OperationalZonePercent),
             R.OperationalZoneAllowance));
    else
      OfBase(&D::OperationalZoneAllowance, In.OperationalZonePercent);
  }
  if (R.DeprivedRegionAllowance > 0) OfBase(&D::DeprivedRegionAllowance, In.DeprivedRegionPercent);
  if (R.RadiationWorkAllowance > 0)
    Add(Caption(&D::RadiationWorkAllowance),
        Is(Percent(Grouped(Sum(DecreeSums::RadiationBase)), In.RadiationPercent), R.RadiationWorkAllowance));
  if (R.AdjustmentAllowance > 0) Add(Caption(&D::AdjustmentAllowance), T::FixedAmount + A(R.AdjustmentAllowance));
  if (R.Article26Allowance > 0) OfBase(&D::Article26Allowance, Article26Rate);
  if (R.BorderDeprivationAllowance > 0) OfBase(&D::BorderDeprivationAllowance, BorderDeprivationRate);
}

// Base, job, attraction, special and total of one group's package, as steps.
std::string TExplainer::Package(const GroupPackageValues& P, const L& Group) const {
  const L Index = Trunc(Group);
  return Is(T::PackageBase + F(G[static_cast<std::size_t>(Index) - 1]) + T::Times + T::CoefficientName + " " +
                F(In.Coefficient),
            P.Base) +
         T::StepSeparator +
         Is(Percent(WithoutColon(Caption(&D::JobAllowance)) + " " + A(P.Base), In.JobPercent), P.Job) +
         T::StepSeparator +
         Is(Percent(WithoutColon(Caption(&D::AttractionAllowance)) + " " +
                        Grouped(PackageSum(P, DecreeSums::PackageFirstSubtotal)),
                    In.AttractionPercent),
            P.Attraction) +
         T::StepSeparator +
         Is(Percent(WithoutColon(Caption(&D::SpecialAllowance)) + " " +
                        Grouped(PackageSum(P, DecreeSums::PackageSecondSubtotal)),
                    In.SpecialPercent),
            P.Special) +
         T::StepSeparator + Is(T::PackageTotal + PackageSum(P, DecreeSums::PackageTotal), P.Total);
}

void TExplainer::Packages() {
  const L Full = Trunc(L(In.EmployeeGroup));
  const L Reduced = Trunc(L(In.EmployeeGroup) - In.IncentiveGroupCount);
  const std::string ReducedCaption = T::PackageCaption + F(Reduced) + T::PackageWithout + F(In.IncentiveGroupCount) +
                                     T::PackageIncentiveGroups + T::CaptionEnd;
  const std::string FullCaption = T::PackageCaption + F(Full) + T::CaptionEnd;
  Add(ReducedCaption.c_str(), Package(Steps.ReducedPackage, Reduced));
  Add(FullCaption.c_str(), Package(Steps.FullPackage, Full));
  Add(Caption(&D::IncentiveGroupsDifference),
      Clamped(T::PackageTotalOfGroup + F(Full) + T::ThatIs + A(Steps.FullPackage.Total) + T::Minus +
                  T::PackageTotalOfGroup + F(Reduced) + T::ThatIs + A(Steps.ReducedPackage.Total),
              Steps.IncentiveGroupsDifferenceBeforeClamp, R.IncentiveGroupsDifference));
}

void TExplainer::Closing() {
  const ReportedTotals Totals = TotalsWithTopUp(R);
  const char* ItemsCaption = Totals.TopUp ? T::ItemsSumCaption : Caption(&D::ItemsTotal);
  Add(ItemsCaption, Is(Sum(DecreeSums::ItemsTotal), R.ItemsTotal));
  const std::string Items = Of(ItemsCaption, R.ItemsTotal);
  const std::string TopUpTerm = Of(Caption(&D::SeniorityMinimumDifference), R.SeniorityMinimumDifference);
  if (Totals.TopUp) {
    Add(Caption(&D::SeniorityMinimumDifference),
        Is(Of(T::MinimumSalaryAndBenefitsName, In.MinimumSalaryAndBenefits) + T::Minus + Items,
           R.SeniorityMinimumDifference));
    Add(T::TotalWithoutHousingCaption, Is(Items + T::Plus + TopUpTerm, Totals.WithoutHousing));
  }

  if (R.HousingAllowance > 0) {
    // Social security also insures the deprivation and bad climate allowances.
    const bool SocialSecurity = In.InsuranceType == 0;
    std::vector<Term> Housing =
        SocialSecurity ? TermsOf(DecreeSums::HousingBaseSocialSecurity) : TermsOf(DecreeSums::HousingBaseRetirement);
    if (In.ClauseBItem3InHousing)
      Housing.push_back({Caption(&D::ClauseBItem3Allowance), R.ClauseBItem3Allowance, true});
    Housing.push_back({Caption(&D::SeniorityMinimumDifference), R.SeniorityMinimumDifference, true});
    Add(SocialSecurity ? T::HousingBaseSocialSecurityCaption : T::HousingBaseRetirementCaption,
        Is(Sum(Housing), R.HousingBase));
    Add(Caption(&D::HousingAllowance),
        Is(Percent(Of(T::HousingBaseName, R.HousingBase), HousingRate), R.HousingAllowance));
  }

  std::string Grand = Items + T::Plus + Of(Caption(&D::HousingAllowance), R.HousingAllowance);
  if (Totals.TopUp) Grand += T::Plus + TopUpTerm;
  Add(Caption(&D::GrandTotal), Is(Grand, Totals.WithHousing));
}

}  // namespace

std::vector<std::string> ExplainDecree(const DecreeInput& Input, const DecreeResult& Result, const GroupPoints& G,
                                       const NumberFormat& Format) {
  return TExplainer(Input, Result, G, Format).Lines();
}
