// SPDX-License-Identifier: GPL-3.0-or-later
// The decree's inputs and values, listed once. The orders ReadDecreeInput
// checks and converts in, the stored base values, the Enter order, the batch's
// columns, the report's item lines, the outputs' fields and the terms of every
// sum are read from these tables; nothing else lists them.
//
// The tables are constexpr, so their member pointers are checked by the
// compiler and a loop over a sum adds in the table's order. That order is the
// rounding at extended precision: it is part of the law, and tested.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "decree/DecreeCompute.h"
#include "decree/DecreeInput.h"

// The controls the decree reads, by their names on the input panel.
// clang-format off
enum class PanelControl {
  Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Edit11, Edit12, Edit13,
  Edit14, Edit15, Edit16, Edit17, Edit18, Edit19, Edit20, Edit21, Edit22, Edit23, Edit24, Edit25, Edit26,
  ComboBox1,
  CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6, CheckBox8,
};
// clang-format on

enum class InputKind {
  Amount,     // rials
  Percent,    // a plain number of percent
  Count,      // incentive groups, children, the clause-B points
  Group,      // the employee's group
  Flag,       // a check box
  Insurance,  // ComboBox1: 0 social security, 1 retirement organisation
};

// What ReadDecreeInput makes of a field whose trimmed text is empty.
enum class WhenEmpty {
  NotRead,     // not converted: flags, the insurance, the clause-B points
  Refused,     // required: a check stops an empty field first
  ZeroKept,    // optional: 0, the edit box left empty
  ZeroWritten  // optional: 0, and "0" written into the edit box
};

struct InputSpec {
  PanelControl Control;
  const char* ControlName;  // the control's objectName, "Edit1"
  const char* FieldName;    // "Coefficient"; the DecreeInput member's name where it has one
  InputKind Kind;
  double DecreeInput::*Number;  // amounts, percentages, counts, the group; nullptr otherwise
  bool DecreeInput::*Flag;      // check boxes; nullptr otherwise
  const char* LabelName;        // the label of its row; nullptr for CheckBox5 and CheckBox6
  WhenEmpty Empty;
  int ConversionPlace;         // 1..25 in the conversion order; 0 not converted
  int CheckPlace;              // 1..13 among the required-field checks; 0 none
  const char* MissingMessage;  // shown by its check
  int StoredLine;              // 1..8, its line in info.ini; 0 not stored
  bool KeyFiltered;            // digits and Backspace only; Enter moves to the successor
  bool InEnterOrder;           // reached by Enter (CheckBox5 only by Tab or the mouse)
};

inline constexpr std::size_t InputCount = 34;
inline constexpr std::size_t ConversionCount = 25;
inline constexpr std::size_t CheckCount = 13;
inline constexpr std::size_t StoredCount = 8;

// In PanelControl order: Inputs[static_cast<size_t>(c)].Control == c.
// clang-format off
inline constexpr std::array<InputSpec, InputCount> Inputs = [] {
  using C = PanelControl;
  using D = DecreeInput;
  using K = InputKind;
  using E = WhenEmpty;
  return std::array<InputSpec, InputCount>{{
    {C::Edit1, "Edit1", "Coefficient", K::Amount, &D::Coefficient, nullptr, "Label1", E::Refused, 1, 1, "ضریب اعلامی برای سال جدید را وارد کنید", 1, true, true},
    {C::Edit2, "Edit2", "DeclaredMinimumSalary", K::Amount, &D::DeclaredMinimumSalary, nullptr, "Label2", E::Refused, 2, 2, "مبلغ کمترین حقوق اعلامی برای سال جدید را به صورت ریال وارد کنید", 2, true, true},
    {C::Edit3, "Edit3", "EffectiveMinimumSalary", K::Amount, &D::EffectiveMinimumSalary, nullptr, "Label3", E::Refused, 3, 3, "مبلغ حداقل حقوق موثر برای سال جدید را به صورت ریال وارد کنید", 3, true, true},
    {C::Edit4, "Edit4", "FamilyAllowanceRate", K::Amount, &D::FamilyAllowanceRate, nullptr, "Label5", E::Refused, 4, 5, "مبلغ حق عائله مندی برای سال جدید را به صورت ریال وارد کنید", 4, true, true},
    {C::Edit5, "Edit5", "ChildAllowanceRate", K::Amount, &D::ChildAllowanceRate, nullptr, "Label4", E::Refused, 5, 6, "مبلغ حق اولاد برای سال جدید را به صورت ریال وارد کنید", 5, true, true},
    {C::Edit6, "Edit6", "EmployeeGroup", K::Group, &D::EmployeeGroup, nullptr, "Label6", E::Refused, 6, 7, "گروه مستخدم شامل کل گروه های دریافتی اعم از استحقاقی، تشویقی و ... برای سال جدید را به صورت عددی وارد کنید", 0, true, true},
    {C::Edit7, "Edit7", "IncentiveGroupCount", K::Count, &D::IncentiveGroupCount, nullptr, "Label7", E::ZeroWritten, 9, 0, nullptr, 0, true, true},
    {C::Edit8, "Edit8", "PreviousBaseSalary", K::Amount, &D::PreviousBaseSalary, nullptr, "Label8", E::Refused, 10, 8, "مبلغ حقوق پایه سال قبل را به صورت ریال وارد کنید", 0, true, true},
    {C::Edit9, "Edit9", "PreviousSeniorityIncrease", K::Amount, &D::PreviousSeniorityIncrease, nullptr, "Label10", E::Refused, 11, 9, "مبلغ افزایش سنواتی سال قبل را به صورت ریال وارد کنید", 0, true, true},
    {C::Edit10, "Edit10", "SeniorityIncreasePercent", K::Percent, &D::SeniorityIncreasePercent, nullptr, "Label9", E::Refused, 12, 10, "درصد افزایش سنواتی برای سال جدید را به صورت عددی وارد کنید", 0, true, true},
    {C::Edit11, "Edit11", "ChildCount", K::Count, &D::ChildCount, nullptr, "Label12", E::ZeroWritten, 13, 0, nullptr, 0, true, true},
    {C::Edit12, "Edit12", "Note12Difference", K::Amount, &D::Note12Difference, nullptr, "Label19", E::ZeroWritten, 14, 0, nullptr, 0, true, true},
    {C::Edit13, "Edit13", "JobPercent", K::Percent, &D::JobPercent, nullptr, "Label14", E::Refused, 15, 12, "درصد فوق العاده شغل برای سال جدید را به صورت عددی وارد کنید", 0, true, true},
    {C::Edit14, "Edit14", "AttractionPercent", K::Percent, &D::AttractionPercent, nullptr, "Label13", E::Refused, 16, 13, "درصد فوق العاده جذب برای سال جدید را به صورت عددی وارد کنید", 0, true, true},
    {C::Edit15, "Edit15", "SpecialPercent", K::Percent, &D::SpecialPercent, nullptr, "Label15", E::ZeroWritten, 17, 0, nullptr, 0, true, true},
    {C::Edit16, "Edit16", "ParticularPercent", K::Percent, &D::ParticularPercent, nullptr, "Label16", E::ZeroWritten, 18, 0, nullptr, 0, true, true},
    {C::Edit17, "Edit17", "DeprivationPercent", K::Percent, &D::DeprivationPercent, nullptr, "Label17", E::ZeroWritten, 19, 0, nullptr, 0, true, true},
    {C::Edit18, "Edit18", "ClauseBItem3Amount", K::Amount, &D::ClauseBItem3Amount, nullptr, "Label25", E::ZeroKept, 8, 0, nullptr, 6, true, true},
    {C::Edit19, "Edit19", "BadClimatePercent", K::Percent, &D::BadClimatePercent, nullptr, "Label77", E::ZeroWritten, 20, 0, nullptr, 0, true, true},
    {C::Edit20, "Edit20", "ShiftWorkPercent", K::Percent, &D::ShiftWorkPercent, nullptr, "Label78", E::ZeroWritten, 21, 0, nullptr, 0, true, true},
    {C::Edit21, "Edit21", "HardshipPercent", K::Percent, &D::HardshipPercent, nullptr, "Label79", E::ZeroWritten, 22, 0, nullptr, 0, true, true},
    {C::Edit22, "Edit22", "OperationalZonePercent", K::Percent, &D::OperationalZonePercent, nullptr, "Label86", E::ZeroWritten, 23, 0, nullptr, 0, true, true},
    {C::Edit23, "Edit23", "DeprivedRegionPercent", K::Percent, &D::DeprivedRegionPercent, nullptr, "Label87", E::ZeroWritten, 24, 0, nullptr, 0, true, true},
    {C::Edit24, "Edit24", "RadiationPercent", K::Percent, &D::RadiationPercent, nullptr, "Label88", E::ZeroWritten, 25, 0, nullptr, 0, true, true},
    // Not part of DecreeInput: it feeds only the clause-B product and info.ini.
    {C::Edit25, "Edit25", "ClauseBItem3Points", K::Count, nullptr, nullptr, "Label20", E::NotRead, 0, 0, nullptr, 7, true, true},
    {C::Edit26, "Edit26", "MinimumSalaryAndBenefits", K::Amount, &D::MinimumSalaryAndBenefits, nullptr, "Label26", E::Refused, 7, 4, "مبلغ حداقل حقوق و مزایا برای سال جدید را به صورت ریال وارد کنید", 8, true, true},
    // No character handler: Enter does nothing there, choosing an item moves on.
    {C::ComboBox1, "ComboBox1", "InsuranceType", K::Insurance, nullptr, nullptr, "Label21", E::NotRead, 0, 11, "نوع بیمه مستخدم را انتخاب کنید", 0, false, true},
    {C::CheckBox1, "CheckBox1", "HeadOfHousehold", K::Flag, nullptr, &D::HeadOfHousehold, "Label11", E::NotRead, 0, 0, nullptr, 0, true, true},
    {C::CheckBox2, "CheckBox2", "VeteranEligible", K::Flag, nullptr, &D::VeteranEligible, "Label18", E::NotRead, 0, 0, nullptr, 0, true, true},
    {C::CheckBox3, "CheckBox3", "AdjustmentEligible", K::Flag, nullptr, &D::AdjustmentEligible, "Label24", E::NotRead, 0, 0, nullptr, 0, true, true},
    {C::CheckBox4, "CheckBox4", "Article26Eligible", K::Flag, nullptr, &D::Article26Eligible, "Label23", E::NotRead, 0, 0, nullptr, 0, true, true},
    // Beside Edit22, in its row; passed over by Enter.
    {C::CheckBox5, "CheckBox5", "OperationalZoneWideBase", K::Flag, nullptr, &D::OperationalZoneWideBase, nullptr, E::NotRead, 0, 0, nullptr, 0, false, false},
    {C::CheckBox6, "CheckBox6", "ClauseBItem3InHousing", K::Flag, nullptr, &D::ClauseBItem3InHousing, nullptr, E::NotRead, 0, 0, nullptr, 0, true, true},
    {C::CheckBox8, "CheckBox8", "BorderDeprivationEligible", K::Flag, nullptr, &D::BorderDeprivationEligible, "Label22", E::NotRead, 0, 0, nullptr, 0, true, true},
  }};
}();
// clang-format on

inline constexpr const InputSpec& InputOf(PanelControl Control) { return Inputs[static_cast<std::size_t>(Control)]; }

// The controls that have a place 1..N in one of the orders, by that place.
// Fails to compile unless every place is taken exactly once.
template <int InputSpec::*Place, std::size_t N>
constexpr std::array<PanelControl, N> InputsByPlace() {
  std::array<PanelControl, N> Order{};
  std::array<bool, N> Taken{};
  for (const InputSpec& Input : Inputs) {
    const int At = Input.*Place;
    if (At == 0) continue;
    if (At < 1 || At > static_cast<int>(N) || Taken[static_cast<std::size_t>(At - 1)])
      throw "a place is out of range or taken twice";
    Taken[static_cast<std::size_t>(At - 1)] = true;
    Order[static_cast<std::size_t>(At - 1)] = Input.Control;
  }
  for (bool T : Taken)
    if (!T) throw "a place is empty";
  return Order;
}

// The conversion order of ReadDecreeInput, the order of its checks, the lines of info.ini.
inline constexpr auto ConversionOrder = InputsByPlace<&InputSpec::ConversionPlace, ConversionCount>();
inline constexpr auto CheckOrder = InputsByPlace<&InputSpec::CheckPlace, CheckCount>();
inline constexpr auto StoredOrder = InputsByPlace<&InputSpec::StoredLine, StoredCount>();

// The items of ComboBox1, by InsuranceType.
inline constexpr std::array<const char*, 2> InsuranceItems = {"تامین اجتماعی", "سازمان بازنشستگی"};

// Where a value appears in the report.
enum class Listing {
  Opening,       // on the opening line
  Always,        // an item line, whatever the amount
  WhenPositive,  // an item line only for an amount above zero
  Closing,       // in the closing block, by its own rules
  NotReported,   // HousingBase
};

struct ValueSpec {
  const char* FieldName;  // the DecreeResult member's name
  double DecreeResult::*Member;
  const char* ReportCaption;  // with its indent and ": "; nullptr when not reported
  Listing Listed;
  int ReportPlace;  // 1..22 among the item lines; 0 for the others
};

inline constexpr std::size_t ValueCount = 30;
inline constexpr std::size_t ItemLineCount = 22;

// In DecreeResult's declaration order.
// clang-format off
inline constexpr std::array<ValueSpec, ValueCount> Values = [] {
  using R = DecreeResult;
  using L = Listing;
  return std::array<ValueSpec, ValueCount>{{
    {"BaseSalary", &R::BaseSalary, "     حقوق مبنا: ", L::Opening, 0},
    {"SeniorityIncrease", &R::SeniorityIncrease, "     افزایش سنواتی: ", L::Opening, 0},
    {"JobAllowance", &R::JobAllowance, "     فوق العاده شغل: ", L::Always, 1},
    {"MinimumPayDifference", &R::MinimumPayDifference, "     تفاوت حداقل دریافتی: ", L::WhenPositive, 3},
    {"SalaryRepair", &R::SalaryRepair, "     ترمیم حقوق: ", L::WhenPositive, 7},
    {"AttractionAllowance", &R::AttractionAllowance, "     فوق العاده جذب: ", L::Always, 2},
    {"SpecialAllowance", &R::SpecialAllowance, "     فوق العاده ویژه: ", L::WhenPositive, 4},
    {"ParticularAllowance", &R::ParticularAllowance, "     فوق العاده خاص: ", L::WhenPositive, 5},
    {"Note12Adjustment", &R::Note12Adjustment, "     تفاوت تطبیق موضوع جز 1+بند ی تبصره 12: ", L::WhenPositive, 11},
    {"LivingFacilitiesDeprivation", &R::LivingFacilitiesDeprivation, "     محرومیت از تسهیلات زندگی: ", L::WhenPositive, 8},
    {"FamilyAllowance", &R::FamilyAllowance, "     حق عائله مندی: ", L::WhenPositive, 9},
    {"ChildAllowance", &R::ChildAllowance, "     حق اولاد: ", L::WhenPositive, 10},
    {"VeteranAllowance", &R::VeteranAllowance, "     فوق العاده ایثارگری: ", L::WhenPositive, 13},
    {"ClauseBItem3Allowance", &R::ClauseBItem3Allowance, "     فوق العاده خاص جز 3 بند ب: ", L::WhenPositive, 12},
    {"BasicSalary", &R::BasicSalary, "     حقوق پایه: ", L::Opening, 0},
    {"BadClimateAllowance", &R::BadClimateAllowance, "     فوق العاده بدی آب و هوا: ", L::WhenPositive, 14},
    {"ShiftWorkAllowance", &R::ShiftWorkAllowance, "     فوق العاده نوبت کاری: ", L::WhenPositive, 15},
    {"HardshipAllowance", &R::HardshipAllowance, "     فوق العاده سختی کار: ", L::WhenPositive, 16},
    {"OperationalZoneAllowance", &R::OperationalZoneAllowance, "     فوق العاده مناطق عملیاتی: ", L::WhenPositive, 17},
    {"DeprivedRegionAllowance", &R::DeprivedRegionAllowance, "     فوق العاده منطقه محروم: ", L::WhenPositive, 18},
    {"RadiationWorkAllowance", &R::RadiationWorkAllowance, "     فوق العاده کار بااشعه: ", L::WhenPositive, 19},
    {"Article26Allowance", &R::Article26Allowance, "     ماده 26: ", L::WhenPositive, 21},
    {"BorderDeprivationAllowance", &R::BorderDeprivationAllowance, "     فوق العاده محرومیت از تسهیلات زندگی2 (مناطق مرزی): ", L::WhenPositive, 22},
    {"AdjustmentAllowance", &R::AdjustmentAllowance, "     فوق العاده تعدیل: ", L::WhenPositive, 20},
    {"IncentiveGroupsDifference", &R::IncentiveGroupsDifference, "     تفاوت ناشی از گروه های تشویقی: ", L::WhenPositive, 6},
    {"HousingBase", &R::HousingBase, nullptr, L::NotReported, 0},
    {"ItemsTotal", &R::ItemsTotal, "     جمع حکم (بدون حق مسکن): ", L::Closing, 0},
    {"SeniorityMinimumDifference", &R::SeniorityMinimumDifference, "     مابه التفاوت سنواتی حداقل حکم: ", L::Closing, 0},
    {"HousingAllowance", &R::HousingAllowance, "     حق مسکن: ", L::Closing, 0},
    {"GrandTotal", &R::GrandTotal, "     جمع کل حکم (با حق مسکن): ", L::Closing, 0},
  }};
}();
// clang-format on

// The row of a value.
constexpr const ValueSpec& ValueOf(double DecreeResult::*Member) {
  for (const ValueSpec& Value : Values)
    if (Value.Member == Member) return Value;
  throw "not a value of the decree";
}

// The report's item lines, by their place. Fails to compile unless every
// place is taken exactly once.
inline constexpr std::array<const ValueSpec*, ItemLineCount> ItemLines = [] {
  std::array<const ValueSpec*, ItemLineCount> Lines{};
  // Flags, not null tests: GCC's sanitizers make a pointer comparison no constant.
  std::array<bool, ItemLineCount> Taken{};
  for (const ValueSpec& Value : Values) {
    if (Value.ReportPlace == 0) continue;
    const auto At = static_cast<std::size_t>(Value.ReportPlace - 1);
    if (Value.ReportPlace > static_cast<int>(ItemLineCount) || Taken[At])
      throw "an item line's place is out of range or taken twice";
    Taken[At] = true;
    Lines[At] = &Value;
  }
  for (bool IsTaken : Taken)
    if (!IsTaken) throw "an item line's place is empty";
  return Lines;
}();

// A caption as a name: trimmed of U+0000..U+0020 and without the colon that
// ends it ("     حق مسکن: " gives "حق مسکن", "ضریب :" gives "ضریب").
std::string WithoutColon(std::string_view Caption);

// One term of a sum of decree values.
struct SumTerm {
  double DecreeResult::*Member;
  bool OmittedWhenZero = false;  // the derivation leaves it out of its text when zero
};

// The terms of every sum of decree values, in summation order: the first term
// converted to extended precision, then each further one added to it.
namespace DecreeSums {
using R = DecreeResult;

// BasicSalary, and what the declared minimum salary is compared with.
inline constexpr SumTerm BasicSalary[] = {{&R::BaseSalary}, {&R::SeniorityIncrease}};

inline constexpr SumTerm AttractionBase[] = {
    {&R::BaseSalary}, {&R::SeniorityIncrease}, {&R::JobAllowance}, {&R::MinimumPayDifference}, {&R::SalaryRepair}};

// The special allowance is not in the particular's base, nor the particular in
// the special's; the note-12 difference, mostly none, is left out of the text when zero.
inline constexpr SumTerm SpecialBase[] = {
    {&R::BaseSalary},           {&R::SeniorityIncrease}, {&R::AttractionAllowance},   {&R::JobAllowance},
    {&R::MinimumPayDifference}, {&R::SalaryRepair},      {&R::Note12Adjustment, true}};
inline constexpr SumTerm ParticularBase[] = {
    {&R::BaseSalary},           {&R::SeniorityIncrease}, {&R::JobAllowance},          {&R::AttractionAllowance},
    {&R::MinimumPayDifference}, {&R::SalaryRepair},      {&R::Note12Adjustment, true}};

inline constexpr SumTerm OperationalZoneWideBase[] = {
    {&R::BasicSalary}, {&R::JobAllowance}, {&R::AttractionAllowance}, {&R::MinimumPayDifference}};

inline constexpr SumTerm RadiationBase[] = {{&R::JobAllowance}, {&R::BasicSalary}};

// All twenty-four items, whatever the insurance.
inline constexpr SumTerm ItemsTotal[] = {{&R::BaseSalary, true},
                                         {&R::SeniorityIncrease, true},
                                         {&R::JobAllowance, true},
                                         {&R::MinimumPayDifference, true},
                                         {&R::AttractionAllowance, true},
                                         {&R::SpecialAllowance, true},
                                         {&R::ParticularAllowance, true},
                                         {&R::Note12Adjustment, true},
                                         {&R::LivingFacilitiesDeprivation, true},
                                         {&R::FamilyAllowance, true},
                                         {&R::ChildAllowance, true},
                                         {&R::IncentiveGroupsDifference, true},
                                         {&R::SalaryRepair, true},
                                         {&R::VeteranAllowance, true},
                                         {&R::ClauseBItem3Allowance, true},
                                         {&R::BadClimateAllowance, true},
                                         {&R::ShiftWorkAllowance, true},
                                         {&R::HardshipAllowance, true},
                                         {&R::OperationalZoneAllowance, true},
                                         {&R::DeprivedRegionAllowance, true},
                                         {&R::RadiationWorkAllowance, true},
                                         {&R::AdjustmentAllowance, true},
                                         {&R::Article26Allowance, true},
                                         {&R::BorderDeprivationAllowance, true}};

// The housing allowance's base before the clause-B amount and the top-up. Social
// security also insures the deprivation and bad climate allowances.
inline constexpr SumTerm HousingBaseSocialSecurity[] = {{&R::BaseSalary, true},
                                                        {&R::SeniorityIncrease, true},
                                                        {&R::JobAllowance, true},
                                                        {&R::MinimumPayDifference, true},
                                                        {&R::AttractionAllowance, true},
                                                        {&R::SpecialAllowance, true},
                                                        {&R::ParticularAllowance, true},
                                                        {&R::Note12Adjustment, true},
                                                        {&R::LivingFacilitiesDeprivation, true},
                                                        {&R::IncentiveGroupsDifference, true},
                                                        {&R::SalaryRepair, true},
                                                        {&R::VeteranAllowance, true},
                                                        {&R::BadClimateAllowance, true},
                                                        {&R::ShiftWorkAllowance, true},
                                                        {&R::HardshipAllowance, true},
                                                        {&R::OperationalZoneAllowance, true},
                                                        {&R::DeprivedRegionAllowance, true},
                                                        {&R::RadiationWorkAllowance, true},
                                                        {&R::AdjustmentAllowance, true},
                                                        {&R::Article26Allowance, true},
                                                        {&R::BorderDeprivationAllowance, true}};
inline constexpr SumTerm HousingBaseRetirement[] = {{&R::BaseSalary, true},
                                                    {&R::SeniorityIncrease, true},
                                                    {&R::JobAllowance, true},
                                                    {&R::MinimumPayDifference, true},
                                                    {&R::AttractionAllowance, true},
                                                    {&R::SpecialAllowance, true},
                                                    {&R::ParticularAllowance, true},
                                                    {&R::Note12Adjustment, true},
                                                    {&R::IncentiveGroupsDifference, true},
                                                    {&R::SalaryRepair, true},
                                                    {&R::VeteranAllowance, true},
                                                    {&R::ShiftWorkAllowance, true},
                                                    {&R::HardshipAllowance, true},
                                                    {&R::OperationalZoneAllowance, true},
                                                    {&R::DeprivedRegionAllowance, true},
                                                    {&R::RadiationWorkAllowance, true},
                                                    {&R::AdjustmentAllowance, true},
                                                    {&R::Article26Allowance, true},
                                                    {&R::BorderDeprivationAllowance, true}};

// The package of one group: base, job, first subtotal, attraction, second
// subtotal, special, total.
using P = GroupPackageValues;
inline constexpr double P::*PackageFirstSubtotal[] = {&P::Base, &P::Job};
inline constexpr double P::*PackageSecondSubtotal[] = {&P::Base, &P::Attraction, &P::Job};
inline constexpr double P::*PackageTotal[] = {&P::Special, &P::SecondSubtotal};

}  // namespace DecreeSums

// Every value of a decree is listed above.
static_assert(sizeof(DecreeResult) == ValueCount * sizeof(double), "a DecreeResult member is not listed");
