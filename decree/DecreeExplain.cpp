// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecreeExplain.h"

#include <cassert>
#include <cmath>

#include "DecreeReport.h"
#include "DecreeTexts.h"

namespace {

using L = Extended;
namespace T = DecreeTexts;
using namespace DecreeFigures;

// A report caption as an item's name inside a formula: "     حق مسکن: " gives "حق مسکن".
std::string Name(const char* Caption) {
  std::string Text = Caption;
  Text.erase(0, Text.find_first_not_of(' '));
  const std::string End = T::CaptionEnd;
  if (Text.size() >= End.size() && Text.compare(Text.size() - End.size(), End.size(), End) == 0)
    Text.resize(Text.size() - End.size());
  return Text;
}

// An operand of a sum: the item's caption and its amount.
struct Term {
  const char* Caption;
  double Amount;
};

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
  std::string Of(const char* Caption, L Amount) const { return Of(Name(Caption), Amount); }

  static std::string Join(const std::vector<std::string>& Terms, const char* Operator) {
    std::string Text;
    for (const std::string& Item : Terms) Text += (Text.empty() ? "" : Operator) + Item;
    return Text;
  }

  std::string Sum(const std::vector<Term>& Terms) const {
    std::vector<std::string> Texts;
    for (const Term& Item : Terms) Texts.push_back(Of(Item.Caption, Item.Amount));
    return Join(Texts, T::Plus);
  }

  // The long sums leave out their zero items, which add nothing.
  std::string SumOfNonZero(const std::vector<Term>& Terms) const {
    std::vector<std::string> Texts;
    for (const Term& Item : Terms)
      if (Item.Amount != 0) Texts.push_back(Of(Item.Caption, Item.Amount));
    return Texts.empty() ? A(0) : Join(Texts, T::Plus);
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
  Add(T::BaseSalaryCaption, Is(T::GroupPointsName + F(Group) + T::ThatIs + F(Points) + T::Times + T::CoefficientName +
                                   " " + F(In.Coefficient),
                               R.BaseSalary));
  Add(T::SeniorityIncreaseCaption,
      Is(Percent(Grouped(Of(T::PreviousBaseSalaryName, In.PreviousBaseSalary) + T::Plus +
                         Of(T::PreviousSeniorityIncreaseName, In.PreviousSeniorityIncrease)),
                 In.SeniorityIncreasePercent) +
             T::Plus + Of(T::PreviousSeniorityIncreaseName, In.PreviousSeniorityIncrease),
         R.SeniorityIncrease));
  Add(T::BasicSalaryCaption,
      Is(Sum({{T::BaseSalaryCaption, R.BaseSalary}, {T::SeniorityIncreaseCaption, R.SeniorityIncrease}}),
         R.BasicSalary));
}

void TExplainer::Items() {
  const std::string Base = Of(T::BaseSalaryCaption, R.BaseSalary);
  const auto OfBase = [&](const char* Caption, const L& Percentage, double Amount) {
    Add(Caption, Is(Percent(Base, Percentage), Amount));
  };

  OfBase(T::JobAllowanceCaption, In.JobPercent, R.JobAllowance);

  std::string Attraction = Percent(Grouped(Sum({{T::BaseSalaryCaption, R.BaseSalary},
                                                {T::SeniorityIncreaseCaption, R.SeniorityIncrease},
                                                {T::JobAllowanceCaption, R.JobAllowance},
                                                {T::MinimumPayDifferenceCaption, R.MinimumPayDifference},
                                                {T::SalaryRepairCaption, R.SalaryRepair}})),
                                   In.AttractionPercent);
  // The attraction percentage also applies to the note-12 difference.
  if (In.Note12Difference != 0)
    Attraction += T::Plus + Percent(Of(T::Note12AdjustmentCaption, In.Note12Difference), In.AttractionPercent);
  Add(T::AttractionAllowanceCaption, Is(Attraction, R.AttractionAllowance));

  if (R.MinimumPayDifference > 0 || Steps.MinimumPayDifferenceBeforeClamp < 0)
    Add(T::MinimumPayDifferenceCaption,
        Clamped(Of(T::DeclaredMinimumSalaryName, In.DeclaredMinimumSalary) + T::Minus +
                    Grouped(Sum({{T::BaseSalaryCaption, R.BaseSalary},
                                 {T::SeniorityIncreaseCaption, R.SeniorityIncrease}})),
                Steps.MinimumPayDifferenceBeforeClamp, R.MinimumPayDifference));

  // The special allowance is not in the particular's base, nor the particular
  // in the special's. The note-12 difference, mostly none, is left out when zero.
  const auto WithNote12 = [&](std::vector<Term> Terms) {
    if (In.Note12Difference != 0) Terms.push_back({T::Note12AdjustmentCaption, In.Note12Difference});
    return Sum(Terms);
  };
  if (R.SpecialAllowance > 0)
    Add(T::SpecialAllowanceCaption,
        Is(Percent(Grouped(WithNote12({{T::BaseSalaryCaption, R.BaseSalary},
                                       {T::SeniorityIncreaseCaption, R.SeniorityIncrease},
                                       {T::AttractionAllowanceCaption, R.AttractionAllowance},
                                       {T::JobAllowanceCaption, R.JobAllowance},
                                       {T::MinimumPayDifferenceCaption, R.MinimumPayDifference},
                                       {T::SalaryRepairCaption, R.SalaryRepair}})),
                   In.SpecialPercent),
           R.SpecialAllowance));
  if (R.ParticularAllowance > 0)
    Add(T::ParticularAllowanceCaption,
        Is(Percent(Grouped(WithNote12({{T::BaseSalaryCaption, R.BaseSalary},
                                       {T::SeniorityIncreaseCaption, R.SeniorityIncrease},
                                       {T::JobAllowanceCaption, R.JobAllowance},
                                       {T::AttractionAllowanceCaption, R.AttractionAllowance},
                                       {T::MinimumPayDifferenceCaption, R.MinimumPayDifference},
                                       {T::SalaryRepairCaption, R.SalaryRepair}})),
                   In.ParticularPercent),
           R.ParticularAllowance));

  if (Steps.Packages && (R.IncentiveGroupsDifference > 0 || Steps.IncentiveGroupsDifferenceBeforeClamp < 0)) Packages();

  if (R.SalaryRepair > 0)
    Add(T::SalaryRepairCaption,
        Is(F(SalaryRepairFactor) + T::Times + T::CoefficientName + " " + F(In.Coefficient), R.SalaryRepair));
  if (R.LivingFacilitiesDeprivation > 0)
    OfBase(T::LivingFacilitiesDeprivationCaption, In.DeprivationPercent, R.LivingFacilitiesDeprivation);
  if (R.FamilyAllowance > 0) Add(T::FamilyAllowanceCaption, T::HeadOfHouseholdAmount + A(R.FamilyAllowance));
  if (R.ChildAllowance > 0)
    Add(T::ChildAllowanceCaption, Is(Of(T::ChildAllowanceRateName, In.ChildAllowanceRate) + T::Times +
                                         T::ChildCountName + " " + F(In.ChildCount),
                                     R.ChildAllowance));
  if (R.Note12Adjustment > 0) Add(T::Note12AdjustmentCaption, T::EnteredAmount + A(R.Note12Adjustment));
  if (R.ClauseBItem3Allowance > 0)
    Add(T::ClauseBItem3AllowanceCaption, T::EnteredAmount + A(R.ClauseBItem3Allowance));
  if (R.VeteranAllowance > 0)
    Add(T::VeteranAllowanceCaption,
        Is(Percent(Of(T::EffectiveMinimumSalaryName, In.EffectiveMinimumSalary), VeteranRate), R.VeteranAllowance));
  if (R.BadClimateAllowance > 0) OfBase(T::BadClimateAllowanceCaption, In.BadClimatePercent, R.BadClimateAllowance);
  if (R.ShiftWorkAllowance > 0) {
    std::string Shift = Is(Percent(Base, In.ShiftWorkPercent), Steps.ShiftWorkBeforeCap);
    if (Steps.ShiftWorkBeforeCap > Steps.ShiftWorkCap)
      Shift += std::string(T::StepSeparator) + T::AboveTheCap +
               Is(Percent(std::string(T::CoefficientName) + " " + F(In.Coefficient) + T::Times + F(ShiftWorkCapPoints),
                          ShiftWorkCapRate),
                  Steps.ShiftWorkCap);
    Add(T::ShiftWorkAllowanceCaption, Shift);
  }
  if (R.HardshipAllowance > 0) OfBase(T::HardshipAllowanceCaption, In.HardshipPercent, R.HardshipAllowance);
  if (R.OperationalZoneAllowance > 0) {
    if (In.OperationalZoneWideBase)
      Add(T::OperationalZoneAllowanceCaption,
          Is(Percent(Grouped(Sum({{T::BasicSalaryCaption, R.BasicSalary},
                                  {T::JobAllowanceCaption, R.JobAllowance},
                                  {T::AttractionAllowanceCaption, R.AttractionAllowance},
                                  {T::MinimumPayDifferenceCaption, R.MinimumPayDifference}})),
                     In.OperationalZonePercent),
             R.OperationalZoneAllowance));
    else
      OfBase(T::OperationalZoneAllowanceCaption, In.OperationalZonePercent, R.OperationalZoneAllowance);
  }
  if (R.DeprivedRegionAllowance > 0)
    OfBase(T::DeprivedRegionAllowanceCaption, In.DeprivedRegionPercent, R.DeprivedRegionAllowance);
  if (R.RadiationWorkAllowance > 0)
    Add(T::RadiationWorkAllowanceCaption,
        Is(Percent(Grouped(Sum({{T::JobAllowanceCaption, R.JobAllowance}, {T::BasicSalaryCaption, R.BasicSalary}})),
                   In.RadiationPercent),
           R.RadiationWorkAllowance));
  if (R.AdjustmentAllowance > 0) Add(T::AdjustmentAllowanceCaption, T::FixedAmount + A(R.AdjustmentAllowance));
  if (R.Article26Allowance > 0) OfBase(T::Article26AllowanceCaption, Article26Rate, R.Article26Allowance);
  if (R.BorderDeprivationAllowance > 0)
    OfBase(T::BorderDeprivationAllowanceCaption, BorderDeprivationRate, R.BorderDeprivationAllowance);
}

// Base, job, attraction, special and total of one group's package, as steps.
std::string TExplainer::Package(const GroupPackageValues& P, const L& Group) const {
  const L Index = Trunc(Group);
  const std::string Base = A(P.Base), Job = A(P.Job), Attraction = A(P.Attraction);
  return Is(T::PackageBase + F(G[static_cast<std::size_t>(Index) - 1]) + T::Times + T::CoefficientName + " " +
                F(In.Coefficient),
            P.Base) +
         T::StepSeparator + Is(Percent(Name(T::JobAllowanceCaption) + " " + Base, In.JobPercent), P.Job) +
         T::StepSeparator +
         Is(Percent(Name(T::AttractionAllowanceCaption) + " " + Grouped(Base + T::Plus + Job), In.AttractionPercent),
            P.Attraction) +
         T::StepSeparator +
         Is(Percent(Name(T::SpecialAllowanceCaption) + " " + Grouped(Base + T::Plus + Attraction + T::Plus + Job),
                    In.SpecialPercent),
            P.Special) +
         T::StepSeparator +
         Is(T::PackageTotal + A(P.Special) + T::Plus + Base + T::Plus + Attraction + T::Plus + Job, P.Total);
}

void TExplainer::Packages() {
  const L Full = Trunc(L(In.EmployeeGroup));
  const L Reduced = Trunc(L(In.EmployeeGroup) - In.IncentiveGroupCount);
  const std::string ReducedCaption = T::PackageCaption + F(Reduced) + T::PackageWithout + F(In.IncentiveGroupCount) +
                                     T::PackageIncentiveGroups + T::CaptionEnd;
  const std::string FullCaption = T::PackageCaption + F(Full) + T::CaptionEnd;
  Add(ReducedCaption.c_str(), Package(Steps.ReducedPackage, Reduced));
  Add(FullCaption.c_str(), Package(Steps.FullPackage, Full));
  Add(T::IncentiveGroupsDifferenceCaption,
      Clamped(T::PackageTotalOfGroup + F(Full) + T::ThatIs + A(Steps.FullPackage.Total) + T::Minus +
                  T::PackageTotalOfGroup + F(Reduced) + T::ThatIs + A(Steps.ReducedPackage.Total),
              Steps.IncentiveGroupsDifferenceBeforeClamp, R.IncentiveGroupsDifference));
}

void TExplainer::Closing() {
  const bool TopUp = R.SeniorityMinimumDifference > 0;
  const char* ItemsCaption = TopUp ? T::ItemsSumCaption : T::ItemsTotalCaption;
  // In the order of the sum.
  Add(ItemsCaption,
      Is(SumOfNonZero({{T::BaseSalaryCaption, R.BaseSalary},
                       {T::SeniorityIncreaseCaption, R.SeniorityIncrease},
                       {T::JobAllowanceCaption, R.JobAllowance},
                       {T::MinimumPayDifferenceCaption, R.MinimumPayDifference},
                       {T::AttractionAllowanceCaption, R.AttractionAllowance},
                       {T::SpecialAllowanceCaption, R.SpecialAllowance},
                       {T::ParticularAllowanceCaption, R.ParticularAllowance},
                       {T::Note12AdjustmentCaption, R.Note12Adjustment},
                       {T::LivingFacilitiesDeprivationCaption, R.LivingFacilitiesDeprivation},
                       {T::FamilyAllowanceCaption, R.FamilyAllowance},
                       {T::ChildAllowanceCaption, R.ChildAllowance},
                       {T::IncentiveGroupsDifferenceCaption, R.IncentiveGroupsDifference},
                       {T::SalaryRepairCaption, R.SalaryRepair},
                       {T::VeteranAllowanceCaption, R.VeteranAllowance},
                       {T::ClauseBItem3AllowanceCaption, R.ClauseBItem3Allowance},
                       {T::BadClimateAllowanceCaption, R.BadClimateAllowance},
                       {T::ShiftWorkAllowanceCaption, R.ShiftWorkAllowance},
                       {T::HardshipAllowanceCaption, R.HardshipAllowance},
                       {T::OperationalZoneAllowanceCaption, R.OperationalZoneAllowance},
                       {T::DeprivedRegionAllowanceCaption, R.DeprivedRegionAllowance},
                       {T::RadiationWorkAllowanceCaption, R.RadiationWorkAllowance},
                       {T::AdjustmentAllowanceCaption, R.AdjustmentAllowance},
                       {T::Article26AllowanceCaption, R.Article26Allowance},
                       {T::BorderDeprivationAllowanceCaption, R.BorderDeprivationAllowance}}),
         R.ItemsTotal));
  const std::string Items = Of(ItemsCaption, R.ItemsTotal);
  const std::string TopUpTerm = Of(T::SeniorityMinimumDifferenceCaption, R.SeniorityMinimumDifference);
  if (TopUp) {
    Add(T::SeniorityMinimumDifferenceCaption,
        Is(Of(T::MinimumSalaryAndBenefitsName, In.MinimumSalaryAndBenefits) + T::Minus + Items,
           R.SeniorityMinimumDifference));
    Add(T::TotalWithoutHousingCaption, Is(Items + T::Plus + TopUpTerm, L(R.ItemsTotal) + R.SeniorityMinimumDifference));
  }

  if (R.HousingAllowance > 0) {
    // Social security also insures the deprivation and bad climate allowances.
    const bool SocialSecurity = In.InsuranceType == 0;
    std::vector<Term> Housing = {{T::BaseSalaryCaption, R.BaseSalary},
                                 {T::SeniorityIncreaseCaption, R.SeniorityIncrease},
                                 {T::JobAllowanceCaption, R.JobAllowance},
                                 {T::MinimumPayDifferenceCaption, R.MinimumPayDifference},
                                 {T::AttractionAllowanceCaption, R.AttractionAllowance},
                                 {T::SpecialAllowanceCaption, R.SpecialAllowance},
                                 {T::ParticularAllowanceCaption, R.ParticularAllowance},
                                 {T::Note12AdjustmentCaption, R.Note12Adjustment}};
    if (SocialSecurity) Housing.push_back({T::LivingFacilitiesDeprivationCaption, R.LivingFacilitiesDeprivation});
    Housing.insert(Housing.end(), {{T::IncentiveGroupsDifferenceCaption, R.IncentiveGroupsDifference},
                                   {T::SalaryRepairCaption, R.SalaryRepair},
                                   {T::VeteranAllowanceCaption, R.VeteranAllowance}});
    if (SocialSecurity) Housing.push_back({T::BadClimateAllowanceCaption, R.BadClimateAllowance});
    Housing.insert(Housing.end(), {{T::ShiftWorkAllowanceCaption, R.ShiftWorkAllowance},
                                   {T::HardshipAllowanceCaption, R.HardshipAllowance},
                                   {T::OperationalZoneAllowanceCaption, R.OperationalZoneAllowance},
                                   {T::DeprivedRegionAllowanceCaption, R.DeprivedRegionAllowance},
                                   {T::RadiationWorkAllowanceCaption, R.RadiationWorkAllowance},
                                   {T::AdjustmentAllowanceCaption, R.AdjustmentAllowance},
                                   {T::Article26AllowanceCaption, R.Article26Allowance},
                                   {T::BorderDeprivationAllowanceCaption, R.BorderDeprivationAllowance}});
    if (In.ClauseBItem3InHousing) Housing.push_back({T::ClauseBItem3AllowanceCaption, R.ClauseBItem3Allowance});
    Housing.push_back({T::SeniorityMinimumDifferenceCaption, R.SeniorityMinimumDifference});
    Add(SocialSecurity ? T::HousingBaseSocialSecurityCaption : T::HousingBaseRetirementCaption,
        Is(SumOfNonZero(Housing), R.HousingBase));
    Add(T::HousingAllowanceCaption, Is(Percent(Of(T::HousingBaseName, R.HousingBase), HousingRate), R.HousingAllowance));
  }

  std::string Grand = Items + T::Plus + Of(T::HousingAllowanceCaption, R.HousingAllowance);
  if (TopUp) Grand += T::Plus + TopUpTerm;
  Add(T::GrandTotalCaption, Is(Grand, TopUp ? L(R.GrandTotal) + R.SeniorityMinimumDifference : L(R.GrandTotal)));
}

}  // namespace

std::vector<std::string> ExplainDecree(const DecreeInput& Input, const DecreeResult& Result, const GroupPoints& G,
                                       const NumberFormat& Format) {
  return TExplainer(Input, Result, G, Format).Lines();
}
