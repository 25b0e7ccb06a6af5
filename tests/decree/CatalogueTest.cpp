// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue against the law, written out here by hand: every input and
// value listed once, the check and stored orders complete, each sum holding
// exactly the items the law lists, in the order it adds them, the report's
// captions in the report's order, and every control of the panels laid out
// exactly once.
#include <cstddef>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "decree/DecreeCatalogue.h"
#include "decree/PanelLayout.h"

namespace {

using D = DecreeInput;
using R = DecreeResult;
using C = PanelControl;

template <typename Record>
using Members = std::vector<double Record::*>;

template <std::size_t N>
Members<R> MembersOf(const SumTerm (&Terms)[N]) {
  Members<R> Out;
  for (const SumTerm& Term : Terms) Out.push_back(Term.Member);
  return Out;
}

template <typename Order>
std::vector<std::string> Names(const Order& Controls) {
  std::vector<std::string> Out;
  for (const PanelControl Control : Controls) Out.push_back(InputOf(Control).ControlName);
  return Out;
}

}  // namespace

TEST(Catalogue, EveryInputIsListedOnceWithItsLabel) {
  struct Row {
    const char* Control;
    const char* Label;  // of its row; none for CheckBox5 (beside Edit22) and CheckBox6 (its own caption)
    const char* Field;
    double D::*Number;
    bool D::*Flag;
  };
  const Row Expected[] = {
      {"Edit1", "Label1", "Coefficient", &D::Coefficient, nullptr},
      {"Edit2", "Label2", "DeclaredMinimumSalary", &D::DeclaredMinimumSalary, nullptr},
      {"Edit3", "Label3", "EffectiveMinimumSalary", &D::EffectiveMinimumSalary, nullptr},
      {"Edit4", "Label5", "FamilyAllowanceRate", &D::FamilyAllowanceRate, nullptr},
      {"Edit5", "Label4", "ChildAllowanceRate", &D::ChildAllowanceRate, nullptr},
      {"Edit6", "Label6", "EmployeeGroup", &D::EmployeeGroup, nullptr},
      {"Edit7", "Label7", "IncentiveGroupCount", &D::IncentiveGroupCount, nullptr},
      {"Edit8", "Label8", "PreviousBaseSalary", &D::PreviousBaseSalary, nullptr},
      {"Edit9", "Label10", "PreviousSeniorityIncrease", &D::PreviousSeniorityIncrease, nullptr},
      {"Edit10", "Label9", "SeniorityIncreasePercent", &D::SeniorityIncreasePercent, nullptr},
      {"Edit11", "Label12", "ChildCount", &D::ChildCount, nullptr},
      {"Edit12", "Label19", "Note12Difference", &D::Note12Difference, nullptr},
      {"Edit13", "Label14", "JobPercent", &D::JobPercent, nullptr},
      {"Edit14", "Label13", "AttractionPercent", &D::AttractionPercent, nullptr},
      {"Edit15", "Label15", "SpecialPercent", &D::SpecialPercent, nullptr},
      {"Edit16", "Label16", "ParticularPercent", &D::ParticularPercent, nullptr},
      {"Edit17", "Label17", "DeprivationPercent", &D::DeprivationPercent, nullptr},
      {"Edit18", "Label25", "ClauseBItem3Amount", &D::ClauseBItem3Amount, nullptr},
      {"Edit19", "Label77", "BadClimatePercent", &D::BadClimatePercent, nullptr},
      {"Edit20", "Label78", "ShiftWorkPercent", &D::ShiftWorkPercent, nullptr},
      {"Edit21", "Label79", "HardshipPercent", &D::HardshipPercent, nullptr},
      {"Edit22", "Label86", "OperationalZonePercent", &D::OperationalZonePercent, nullptr},
      {"Edit23", "Label87", "DeprivedRegionPercent", &D::DeprivedRegionPercent, nullptr},
      {"Edit24", "Label88", "RadiationPercent", &D::RadiationPercent, nullptr},
      {"Edit25", "Label20", "ClauseBItem3Points", nullptr, nullptr},  // stored, not part of DecreeInput
      {"Edit26", "Label26", "MinimumSalaryAndBenefits", &D::MinimumSalaryAndBenefits, nullptr},
      {"ComboBox1", "Label21", "InsuranceType", nullptr, nullptr},
      {"CheckBox1", "Label11", "HeadOfHousehold", nullptr, &D::HeadOfHousehold},
      {"CheckBox2", "Label18", "VeteranEligible", nullptr, &D::VeteranEligible},
      {"CheckBox3", "Label24", "AdjustmentEligible", nullptr, &D::AdjustmentEligible},
      {"CheckBox4", "Label23", "Article26Eligible", nullptr, &D::Article26Eligible},
      {"CheckBox5", nullptr, "OperationalZoneWideBase", nullptr, &D::OperationalZoneWideBase},
      {"CheckBox6", nullptr, "ClauseBItem3InHousing", nullptr, &D::ClauseBItem3InHousing},
      {"CheckBox8", "Label22", "BorderDeprivationEligible", nullptr, &D::BorderDeprivationEligible},
  };
  ASSERT_EQ(std::size(Expected), Inputs.size());
  for (std::size_t K = 0; K < Inputs.size(); ++K) {
    SCOPED_TRACE(Expected[K].Control);
    EXPECT_EQ(static_cast<std::size_t>(Inputs[K].Control), K);
    EXPECT_STREQ(Inputs[K].ControlName, Expected[K].Control);
    EXPECT_STREQ(Inputs[K].FieldName, Expected[K].Field);
    if (Expected[K].Label)
      EXPECT_STREQ(Inputs[K].LabelName, Expected[K].Label);
    else
      EXPECT_EQ(Inputs[K].LabelName, nullptr);
    EXPECT_TRUE(Inputs[K].Number == Expected[K].Number);
    EXPECT_TRUE(Inputs[K].Flag == Expected[K].Flag);
  }
  // The 25 amounts, percentages and counts come first in DecreeInput: a new
  // one would sit before the flags and be missing from the table above.
  EXPECT_EQ(offsetof(DecreeInput, HeadOfHousehold), 25 * sizeof(double));
}

TEST(Catalogue, OrdersOfTheChecksConversionAndStoredValuesAreComplete) {
  EXPECT_EQ(Names(CheckOrder), (std::vector<std::string>{"Edit1", "Edit2", "Edit3", "Edit26", "Edit4", "Edit5", "Edit6",
                                                         "Edit8", "Edit9", "Edit10", "ComboBox1", "Edit13", "Edit14"}));
  EXPECT_EQ(Names(ConversionOrder),
            (std::vector<std::string>{"Edit1",  "Edit2",  "Edit3",  "Edit4",  "Edit5",  "Edit6",  "Edit26",
                                      "Edit18", "Edit7",  "Edit8",  "Edit9",  "Edit10", "Edit11", "Edit12",
                                      "Edit13", "Edit14", "Edit15", "Edit16", "Edit17", "Edit19", "Edit20",
                                      "Edit21", "Edit22", "Edit23", "Edit24"}));
  EXPECT_EQ(Names(StoredOrder),
            (std::vector<std::string>{"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit18", "Edit25", "Edit26"}));
}

TEST(Catalogue, EverySumHoldsTheLawsItemsInItsOrder) {
  const Members<R> Basic = {&R::BaseSalary, &R::SeniorityIncrease};
  const Members<R> Items = {&R::BaseSalary,
                            &R::SeniorityIncrease,
                            &R::JobAllowance,
                            &R::MinimumPayDifference,
                            &R::AttractionAllowance,
                            &R::SpecialAllowance,
                            &R::ParticularAllowance,
                            &R::Note12Adjustment,
                            &R::LivingFacilitiesDeprivation,
                            &R::FamilyAllowance,
                            &R::ChildAllowance,
                            &R::IncentiveGroupsDifference,
                            &R::SalaryRepair,
                            &R::VeteranAllowance,
                            &R::ClauseBItem3Allowance,
                            &R::BadClimateAllowance,
                            &R::ShiftWorkAllowance,
                            &R::HardshipAllowance,
                            &R::OperationalZoneAllowance,
                            &R::DeprivedRegionAllowance,
                            &R::RadiationWorkAllowance,
                            &R::AdjustmentAllowance,
                            &R::Article26Allowance,
                            &R::BorderDeprivationAllowance};
  const Members<R> SocialSecurity = {&R::BaseSalary,
                                     &R::SeniorityIncrease,
                                     &R::JobAllowance,
                                     &R::MinimumPayDifference,
                                     &R::AttractionAllowance,
                                     &R::SpecialAllowance,
                                     &R::ParticularAllowance,
                                     &R::Note12Adjustment,
                                     &R::LivingFacilitiesDeprivation,
                                     &R::IncentiveGroupsDifference,
                                     &R::SalaryRepair,
                                     &R::VeteranAllowance,
                                     &R::BadClimateAllowance,
                                     &R::ShiftWorkAllowance,
                                     &R::HardshipAllowance,
                                     &R::OperationalZoneAllowance,
                                     &R::DeprivedRegionAllowance,
                                     &R::RadiationWorkAllowance,
                                     &R::AdjustmentAllowance,
                                     &R::Article26Allowance,
                                     &R::BorderDeprivationAllowance};
  const Members<R> Retirement = {&R::BaseSalary,
                                 &R::SeniorityIncrease,
                                 &R::JobAllowance,
                                 &R::MinimumPayDifference,
                                 &R::AttractionAllowance,
                                 &R::SpecialAllowance,
                                 &R::ParticularAllowance,
                                 &R::Note12Adjustment,
                                 &R::IncentiveGroupsDifference,
                                 &R::SalaryRepair,
                                 &R::VeteranAllowance,
                                 &R::ShiftWorkAllowance,
                                 &R::HardshipAllowance,
                                 &R::OperationalZoneAllowance,
                                 &R::DeprivedRegionAllowance,
                                 &R::RadiationWorkAllowance,
                                 &R::AdjustmentAllowance,
                                 &R::Article26Allowance,
                                 &R::BorderDeprivationAllowance};
  const struct {
    const char* Step;
    Members<R> Actual, Expected;
  } Sums[] = {
      {"4 and 15: basic salary", MembersOf(DecreeSums::BasicSalary), Basic},
      {"6: attraction base",
       MembersOf(DecreeSums::AttractionBase),
       {&R::BaseSalary, &R::SeniorityIncrease, &R::JobAllowance, &R::MinimumPayDifference, &R::SalaryRepair}},
      {"7: special base",
       MembersOf(DecreeSums::SpecialBase),
       {&R::BaseSalary, &R::SeniorityIncrease, &R::AttractionAllowance, &R::JobAllowance, &R::MinimumPayDifference,
        &R::SalaryRepair, &R::Note12Adjustment}},
      {"8: particular base",
       MembersOf(DecreeSums::ParticularBase),
       {&R::BaseSalary, &R::SeniorityIncrease, &R::JobAllowance, &R::AttractionAllowance, &R::MinimumPayDifference,
        &R::SalaryRepair, &R::Note12Adjustment}},
      {"20: operational zones wide base",
       MembersOf(DecreeSums::OperationalZoneWideBase),
       {&R::BasicSalary, &R::JobAllowance, &R::AttractionAllowance, &R::MinimumPayDifference}},
      {"22: radiation base", MembersOf(DecreeSums::RadiationBase), {&R::JobAllowance, &R::BasicSalary}},
      {"26: housing base, social security", MembersOf(DecreeSums::HousingBaseSocialSecurity), SocialSecurity},
      {"26: housing base, retirement", MembersOf(DecreeSums::HousingBaseRetirement), Retirement},
      {"28: items total", MembersOf(DecreeSums::ItemsTotal), Items},
  };
  for (const auto& Sum : Sums) {
    SCOPED_TRACE(Sum.Step);
    EXPECT_TRUE(Sum.Actual == Sum.Expected);
  }

  using P = GroupPackageValues;
  EXPECT_TRUE(Members<P>(std::begin(DecreeSums::PackageFirstSubtotal), std::end(DecreeSums::PackageFirstSubtotal)) ==
              (Members<P>{&P::Base, &P::Job}));
  EXPECT_TRUE(Members<P>(std::begin(DecreeSums::PackageSecondSubtotal), std::end(DecreeSums::PackageSecondSubtotal)) ==
              (Members<P>{&P::Base, &P::Attraction, &P::Job}));
  EXPECT_TRUE(Members<P>(std::begin(DecreeSums::PackageTotal), std::end(DecreeSums::PackageTotal)) ==
              (Members<P>{&P::Special, &P::SecondSubtotal}));
}

TEST(Catalogue, ReportCaptionsInTheReportsOrder) {
  const struct {
    double R::*Value;
    const char* Caption;
    bool Always;
  } Lines[] = {
      {&R::JobAllowance, "     فوق العاده شغل: ", true},
      {&R::AttractionAllowance, "     فوق العاده جذب: ", true},
      {&R::MinimumPayDifference, "     تفاوت حداقل دریافتی: ", false},
      {&R::SpecialAllowance, "     فوق العاده ویژه: ", false},
      {&R::ParticularAllowance, "     فوق العاده خاص: ", false},
      {&R::IncentiveGroupsDifference, "     تفاوت ناشی از گروه های تشویقی: ", false},
      {&R::SalaryRepair, "     ترمیم حقوق: ", false},
      {&R::LivingFacilitiesDeprivation, "     محرومیت از تسهیلات زندگی: ", false},
      {&R::FamilyAllowance, "     حق عائله مندی: ", false},
      {&R::ChildAllowance, "     حق اولاد: ", false},
      {&R::Note12Adjustment, "     تفاوت تطبیق موضوع جز 1+بند ی تبصره 12: ", false},
      {&R::ClauseBItem3Allowance, "     فوق العاده خاص جز 3 بند ب: ", false},
      {&R::VeteranAllowance, "     فوق العاده ایثارگری: ", false},
      {&R::BadClimateAllowance, "     فوق العاده بدی آب و هوا: ", false},
      {&R::ShiftWorkAllowance, "     فوق العاده نوبت کاری: ", false},
      {&R::HardshipAllowance, "     فوق العاده سختی کار: ", false},
      {&R::OperationalZoneAllowance, "     فوق العاده مناطق عملیاتی: ", false},
      {&R::DeprivedRegionAllowance, "     فوق العاده منطقه محروم: ", false},
      {&R::RadiationWorkAllowance, "     فوق العاده کار بااشعه: ", false},
      {&R::AdjustmentAllowance, "     فوق العاده تعدیل: ", false},
      {&R::Article26Allowance, "     ماده 26: ", false},
      {&R::BorderDeprivationAllowance, "     فوق العاده محرومیت از تسهیلات زندگی2 (مناطق مرزی): ", false},
  };
  ASSERT_EQ(std::size(Lines), ItemLines.size());
  for (std::size_t K = 0; K < ItemLines.size(); ++K) {
    SCOPED_TRACE(Lines[K].Caption);
    EXPECT_TRUE(ItemLines[K]->Member == Lines[K].Value);
    EXPECT_STREQ(ItemLines[K]->ReportCaption, Lines[K].Caption);
    EXPECT_EQ(ItemLines[K]->Listed, Lines[K].Always ? Listing::Always : Listing::WhenPositive);
  }
  // The opening line's and the closing block's own captions.
  EXPECT_STREQ(ValueOf(&R::BaseSalary).ReportCaption, "     حقوق مبنا: ");
  EXPECT_STREQ(ValueOf(&R::SeniorityIncrease).ReportCaption, "     افزایش سنواتی: ");
  EXPECT_STREQ(ValueOf(&R::BasicSalary).ReportCaption, "     حقوق پایه: ");
  EXPECT_STREQ(ValueOf(&R::ItemsTotal).ReportCaption, "     جمع حکم (بدون حق مسکن): ");
  EXPECT_STREQ(ValueOf(&R::SeniorityMinimumDifference).ReportCaption, "     مابه التفاوت سنواتی حداقل حکم: ");
  EXPECT_STREQ(ValueOf(&R::HousingAllowance).ReportCaption, "     حق مسکن: ");
  EXPECT_STREQ(ValueOf(&R::GrandTotal).ReportCaption, "     جمع کل حکم (با حق مسکن): ");
  EXPECT_EQ(ValueOf(&R::HousingBase).ReportCaption, nullptr);
}

TEST(Catalogue, EveryControlIsLaidOutOnceAndEveryInputWithItsLabel) {
  std::map<std::string, int> Seen;
  std::map<ControlKind, int> Kinds;
  for (std::size_t K = 0; K < PanelControlCount; ++K) {
    ++Seen[PanelControls[K].Name];
    ++Kinds[PanelControls[K].Kind];
  }
  for (const auto& [Name, Count] : Seen) EXPECT_EQ(Count, 1) << Name;
  using K = ControlKind;
  const std::map<ControlKind, int> Expected = {{K::Panel, 2},  {K::GroupBox, 4}, {K::Label, 32},
                                               {K::Edit, 26},  {K::CheckBox, 7}, {K::ComboBox, 1},
                                               {K::Button, 3}, {K::Picture, 1},  {K::RichText, 1}};
  EXPECT_EQ(Kinds, Expected);

  for (const InputSpec& Input : Inputs) {
    SCOPED_TRACE(Input.ControlName);
    const ControlLayout* Control = LayoutOf(Input.ControlName);
    ASSERT_NE(Control, nullptr);
    const ControlKind Kind = Input.Kind == InputKind::Flag        ? K::CheckBox
                             : Input.Kind == InputKind::Insurance ? K::ComboBox
                                                                  : K::Edit;
    EXPECT_EQ(Control->Kind, Kind);
    if (!Input.LabelName) continue;
    const ControlLayout* Label = LayoutOf(Input.LabelName);
    ASSERT_NE(Label, nullptr);
    EXPECT_EQ(Label->Kind, K::Label);
    EXPECT_STREQ(Label->Parent, Control->Parent);
  }
}
