// SPDX-License-Identifier: GPL-3.0-or-later
// One press of the compute button on arbitrary field texts, flags and
// insurance choice: ReadDecreeInput, the group range check, ComputeDecree and
// BuildDecreeReport (and ExplainDecree) through an in-memory panel. Every input ends in exactly
// one of: the message of the first missing entry with the focus on it; the
// conversion error of the first field (in conversion order) the reference
// refuses, with the zeros written before it; a group range message; the
// overflow error; or a report of 9 to 32 well-formed lines with a
// derivation of 7 to 33.
//
// Input: a byte of check-box flags (bits 0..6: CheckBox1..6, CheckBox8), a
// byte choosing the insurance selection (-1, 0, 1), one choosing the decimal
// and one the thousands separator, then the texts of Edit1..Edit26 separated
// by '|'.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "decree/DecreeCatalogue.h"
#include "decree/DecreeCompute.h"
#include "decree/DecreeExplain.h"
#include "decree/DecreeInput.h"
#include "decree/DecreeReport.h"
#include "decree/DecreeTexts.h"
#include "fuzz/ExactNumber.h"
#include "fuzz/FuzzCheck.h"

namespace {

using C = PanelControl;

// The required entries in check order, with their messages as the user reads them.
struct RequiredEntry {
  PanelControl Control;
  const char* Message;
};
const RequiredEntry RequiredEntries[] = {
    {C::Edit1, "ضریب اعلامی برای سال جدید را وارد کنید"},
    {C::Edit2, "مبلغ کمترین حقوق اعلامی برای سال جدید را به صورت ریال وارد کنید"},
    {C::Edit3, "مبلغ حداقل حقوق موثر برای سال جدید را به صورت ریال وارد کنید"},
    {C::Edit26, "مبلغ حداقل حقوق و مزایا برای سال جدید را به صورت ریال وارد کنید"},
    {C::Edit4, "مبلغ حق عائله مندی برای سال جدید را به صورت ریال وارد کنید"},
    {C::Edit5, "مبلغ حق اولاد برای سال جدید را به صورت ریال وارد کنید"},
    {C::Edit6,
     "گروه مستخدم شامل کل گروه های دریافتی اعم از استحقاقی، تشویقی و ... برای سال جدید را به صورت عددی وارد "
     "کنید"},
    {C::Edit8, "مبلغ حقوق پایه سال قبل را به صورت ریال وارد کنید"},
    {C::Edit9, "مبلغ افزایش سنواتی سال قبل را به صورت ریال وارد کنید"},
    {C::Edit10, "درصد افزایش سنواتی برای سال جدید را به صورت عددی وارد کنید"},
    {C::ComboBox1, "نوع بیمه مستخدم را انتخاب کنید"},
    {C::Edit13, "درصد فوق العاده شغل برای سال جدید را به صورت عددی وارد کنید"},
    {C::Edit14, "درصد فوق العاده جذب برای سال جدید را به صورت عددی وارد کنید"},
};

// The numeric fields in conversion order.
enum class Empty { Refused, ZeroKept, ZeroWritten };
struct NumericField {
  PanelControl Edit;
  double DecreeInput::*Member;
  Empty WhenEmpty;
};
const NumericField NumericFields[] = {
    {C::Edit1, &DecreeInput::Coefficient, Empty::Refused},
    {C::Edit2, &DecreeInput::DeclaredMinimumSalary, Empty::Refused},
    {C::Edit3, &DecreeInput::EffectiveMinimumSalary, Empty::Refused},
    {C::Edit4, &DecreeInput::FamilyAllowanceRate, Empty::Refused},
    {C::Edit5, &DecreeInput::ChildAllowanceRate, Empty::Refused},
    {C::Edit6, &DecreeInput::EmployeeGroup, Empty::Refused},
    {C::Edit26, &DecreeInput::MinimumSalaryAndBenefits, Empty::Refused},
    {C::Edit18, &DecreeInput::ClauseBItem3Amount, Empty::ZeroKept},
    {C::Edit7, &DecreeInput::IncentiveGroupCount, Empty::ZeroWritten},
    {C::Edit8, &DecreeInput::PreviousBaseSalary, Empty::Refused},
    {C::Edit9, &DecreeInput::PreviousSeniorityIncrease, Empty::Refused},
    {C::Edit10, &DecreeInput::SeniorityIncreasePercent, Empty::Refused},
    {C::Edit11, &DecreeInput::ChildCount, Empty::ZeroWritten},
    {C::Edit12, &DecreeInput::Note12Difference, Empty::ZeroWritten},
    {C::Edit13, &DecreeInput::JobPercent, Empty::Refused},
    {C::Edit14, &DecreeInput::AttractionPercent, Empty::Refused},
    {C::Edit15, &DecreeInput::SpecialPercent, Empty::ZeroWritten},
    {C::Edit16, &DecreeInput::ParticularPercent, Empty::ZeroWritten},
    {C::Edit17, &DecreeInput::DeprivationPercent, Empty::ZeroWritten},
    {C::Edit19, &DecreeInput::BadClimatePercent, Empty::ZeroWritten},
    {C::Edit20, &DecreeInput::ShiftWorkPercent, Empty::ZeroWritten},
    {C::Edit21, &DecreeInput::HardshipPercent, Empty::ZeroWritten},
    {C::Edit22, &DecreeInput::OperationalZonePercent, Empty::ZeroWritten},
    {C::Edit23, &DecreeInput::DeprivedRegionPercent, Empty::ZeroWritten},
    {C::Edit24, &DecreeInput::RadiationPercent, Empty::ZeroWritten},
};

const PanelControl CheckBoxes[] = {C::CheckBox1, C::CheckBox2, C::CheckBox3, C::CheckBox4,
                                   C::CheckBox5, C::CheckBox6, C::CheckBox8};
bool DecreeInput::*const FlagMembers[] = {&DecreeInput::HeadOfHousehold,          &DecreeInput::VeteranEligible,
                                          &DecreeInput::AdjustmentEligible,       &DecreeInput::Article26Eligible,
                                          &DecreeInput::OperationalZoneWideBase,  &DecreeInput::ClauseBItem3InHousing,
                                          &DecreeInput::BorderDeprivationEligible};

// The items listed only when positive.
double DecreeResult::*const ConditionalItems[] = {&DecreeResult::MinimumPayDifference,
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

const char* const DecimalSeparators[] = {".", ",", "\u066B"};
const char* const ThousandSeparators[] = {",", "", "\u066C", "."};

std::size_t EditIndex(PanelControl Edit) { return static_cast<std::size_t>(Edit); }

class FuzzPanel : public DecreePanel {
 public:
  std::array<std::string, 26> Texts;
  std::uint8_t Flags = 0;
  int Index = -1;
  std::vector<std::string> Messages;
  std::vector<PanelControl> Focus;
  std::vector<PanelControl> Writes;

  std::string Text(PanelControl Edit) const override {
    Require(EditIndex(Edit) < Texts.size(), "text read from a control that is not an edit box");
    return Texts[EditIndex(Edit)];
  }
  void SetText(PanelControl Edit, const std::string& Text) override {
    Require(EditIndex(Edit) < Texts.size(), "text written into a control that is not an edit box");
    Texts[EditIndex(Edit)] = Text;
    Writes.push_back(Edit);
  }
  void SetFocus(PanelControl Control) override { Focus.push_back(Control); }
  int ItemIndex() const override { return Index; }
  bool Checked(PanelControl CheckBox) const override {
    for (std::size_t k = 0; k < 7; ++k)
      if (CheckBoxes[k] == CheckBox) return (Flags >> k & 1u) != 0;
    Require(false, "checked state read from a control that is not a check box");
    return false;
  }
  void ShowMessage(const std::string& Text) override { Messages.push_back(Text); }
};

bool SameDouble(double A, double B) { return std::memcmp(&A, &B, sizeof A) == 0; }

bool GroupIndexInTable(long double Group) {
  const long double index = std::trunc(Group);
  return index >= 1 && index <= 20;
}

// The amount text ending a report line: digits and the separators, a sign, E.
bool IsAmount(std::string tail, const NumberFormat& Format) {
  for (const std::string& separator : {Format.ThousandSeparator, Format.DecimalSeparator}) {
    if (separator.empty()) continue;
    for (std::size_t at; (at = tail.find(separator)) != std::string::npos;) tail.erase(at, separator.size());
  }
  return tail.find_first_not_of("-0123456789E") == std::string::npos &&
         tail.find_first_of("0123456789") != std::string::npos;
}

bool EndsWithAmount(const std::string& Line, const NumberFormat& Format) {
  const std::size_t colon = Line.rfind(": ");
  return colon != std::string::npos && IsAmount(Line.substr(colon + 2), Format);
}

void CheckReport(const DecreeResult& R, const NumberFormat& Format) {
  const std::vector<std::string> lines = BuildDecreeReport(R, Format);
  std::size_t expected = 9;
  for (double DecreeResult::*item : ConditionalItems) expected += R.*item > 0 ? 1 : 0;
  if (R.SeniorityMinimumDifference > 0) expected += 2;
  if (R.HousingAllowance > 0) expected += 1;
  Require(lines.size() >= 9 && lines.size() <= 32, "report of fewer than 9 or more than 32 lines");
  Require(lines.size() == expected, "report line count", [&] { return std::to_string(lines.size()); });
  const std::string blank = "     ";
  const std::string rule = blank + std::string(36, '-');
  Require(lines[0] == blank && lines[2] == rule, "report opening");
  for (std::size_t k = 0; k < lines.size(); ++k) {
    Require(lines[k].compare(0, 5, blank) == 0, "report line without its five leading spaces");
    if (lines[k] != blank && lines[k] != rule)
      Require(EndsWithAmount(lines[k], Format), "report line without an amount", [&] { return Printable(lines[k]); });
  }

  // Every amount text is the reference's, worked from the exact value; the
  // two sums of the top-up form at extended precision.
  const auto A = [&](long double Amount) {
    return ReferenceFormatAmount(Amount, Format.ThousandSeparator, Format.DecimalSeparator);
  };
  Require(lines[1] == "     حقوق مبنا: " + A(R.BaseSalary) + "     افزایش سنواتی: " + A(R.SeniorityIncrease) +
                          "     حقوق پایه: " + A(R.BasicSalary),
          "opening line amounts", [&] { return Printable(lines[1]); });
  const bool topUp = R.SeniorityMinimumDifference > 0;
  std::vector<long double> amounts = {R.JobAllowance, R.AttractionAllowance};
  for (double DecreeResult::*item : ConditionalItems)
    if (R.*item > 0) amounts.push_back(R.*item);
  amounts.push_back(R.ItemsTotal);
  if (topUp) {
    amounts.push_back(R.SeniorityMinimumDifference);
    amounts.push_back(static_cast<long double>(R.ItemsTotal) + R.SeniorityMinimumDifference);
  }
  if (R.HousingAllowance > 0) amounts.push_back(R.HousingAllowance);
  amounts.push_back(topUp ? static_cast<long double>(R.GrandTotal) + R.SeniorityMinimumDifference
                          : static_cast<long double>(R.GrandTotal));
  std::size_t next = 0;
  for (std::size_t k = 3; k < lines.size(); ++k) {
    if (lines[k] == blank || lines[k] == rule) continue;
    Require(next < amounts.size(), "more amount lines than amounts");
    const std::string text = A(amounts[next++]);
    Require(lines[k].size() > text.size() + 2 &&
                lines[k].compare(lines[k].size() - text.size() - 2, std::string::npos, ": " + text) == 0,
            "amount text differs from the exact reference", [&] { return Printable(lines[k]) + " expected " + text; });
  }
  Require(next == amounts.size(), "fewer amount lines than amounts");
}

// The derivation of an accepted decree: 7 to 33 lines, each indented and
// captioned like a report line, from the base salary to the grand total.
void CheckDerivation(const DecreeInput& In, const DecreeResult& R, const NumberFormat& Format) {
  const std::vector<std::string> lines = ExplainDecree(In, R, GroupPointsTable, Format);
  Require(lines.size() >= 7 && lines.size() <= 33, "derivation of fewer than 7 or more than 33 lines",
          [&] { return std::to_string(lines.size()); });
  Require(lines.front().rfind("     حقوق مبنا: ", 0) == 0, "derivation opening");
  Require(lines.back().rfind("     جمع کل حکم (با حق مسکن): ", 0) == 0, "derivation closing");
  for (const std::string& line : lines) {
    Require(line.compare(0, 5, "     ") == 0 && line.find(": ") != std::string::npos, "derivation line without caption",
            [&] { return Printable(line); });
    const std::string last = line.substr(line.rfind(' ') + 1);
    Require(IsAmount(last, Format) || line.find(DecreeTexts::TakenEnd) != std::string::npos,
            "derivation line without an amount at its end", [&] { return Printable(line); });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  ByteReader in(Data, Size);
  FuzzPanel panel;
  panel.Flags = in.Byte();
  panel.Index = in.Byte() % 3 - 1;
  const std::string decimal = DecimalSeparators[in.Byte() % 3];
  const std::string thousands = ThousandSeparators[in.Byte() % 4];
  const NumberFormat format = NumberFormatFromSettings(decimal, thousands);
  {
    const std::string rest = in.Rest();
    std::size_t field = 0, start = 0;
    for (std::size_t at; field < 25 && (at = rest.find('|', start)) != std::string::npos; start = at + 1)
      panel.Texts[field++] = rest.substr(start, at - start);
    panel.Texts[field] = rest.substr(start);
  }
  const std::array<std::string, 26> typed = panel.Texts;

  // Phase 1: the first missing entry stops everything.
  for (const RequiredEntry& entry : RequiredEntries) {
    const bool missing =
        entry.Control == C::ComboBox1 ? panel.Index < 0 : ReferenceTrim(typed[EditIndex(entry.Control)]).empty();
    if (!missing) continue;
    const std::optional<DecreeInput> input = ReadDecreeInput(panel, format);
    Require(!input, "input read although an entry is missing");
    Require(panel.Messages.size() == 1 && panel.Messages[0] == entry.Message, "wrong missing-entry message");
    Require(panel.Focus.size() == 1 && panel.Focus[0] == entry.Control, "focus not on the missing entry");
    Require(panel.Writes.empty() && panel.Texts == typed, "a field changed on a missing entry");
    return 0;
  }

  // Phase 2: the reference conversion, in conversion order.
  DecreeInput expected;
  std::vector<PanelControl> expectedWrites;
  std::optional<std::string> expectedError;
  for (const NumericField& field : NumericFields) {
    const std::string text = ReferenceTrim(typed[EditIndex(field.Edit)]);
    if (text.empty() && field.WhenEmpty != Empty::Refused) {
      expected.*field.Member = 0;
      if (field.WhenEmpty == Empty::ZeroWritten) expectedWrites.push_back(field.Edit);
      continue;
    }
    const ReferenceConversion converted = ReferenceTextToDouble(text, decimal);
    if (converted.Outcome == ReferenceConversion::Value) {
      expected.*field.Member = converted.Number;
      continue;
    }
    if (converted.Outcome == ReferenceConversion::Overflow) {
      expectedError = "Floating point overflow";
    } else {
      const std::string full = "'" + text + "' is not a valid floating point value";
      expectedError = full.substr(0, full.find('\0'));  // what() is a C string
    }
    break;
  }

  std::optional<DecreeInput> input;
  try {
    input = ReadDecreeInput(panel, format);
    Require(!expectedError, "a conversion error was expected", [&] { return expectedError.value_or(""); });
  } catch (const DecreeError& e) {
    Require(expectedError && *expectedError == e.what(), "wrong conversion error", [&] { return Printable(e.what()); });
  }
  Require(panel.Messages.empty() && panel.Focus.empty(), "message or focus move during the conversion");
  Require(panel.Writes == expectedWrites, "zeros written into the wrong fields");
  for (std::size_t k = 0; k < typed.size(); ++k) {
    const bool written =
        std::find(expectedWrites.begin(), expectedWrites.end(), static_cast<C>(k)) != expectedWrites.end();
    Require(panel.Texts[k] == (written ? std::string("0") : typed[k]), "field text changed");
  }
  if (expectedError) return 0;

  Require(input.has_value(), "no input and no error");
  for (const NumericField& field : NumericFields)
    Require(SameDouble(input.value().*field.Member, expected.*field.Member), "converted value differs");
  for (std::size_t k = 0; k < 7; ++k)
    Require(input.value().*FlagMembers[k] == ((panel.Flags >> k & 1u) != 0), "flag differs");
  Require(input->InsuranceType == panel.Index, "insurance type differs");

  // The group range: the full group, then (with incentive groups) the reduced
  // one, the subtraction at extended precision before the truncation.
  const bool fullInRange = GroupIndexInTable(input->EmployeeGroup);
  const bool reducedInRange =
      input->IncentiveGroupCount == 0 ||
      GroupIndexInTable(static_cast<long double>(input->EmployeeGroup) - input->IncentiveGroupCount);
  const bool accepted = CheckGroupRange(*input, panel);
  Require(accepted == (fullInRange && reducedInRange), "group range verdict");
  if (!accepted) {
    const PanelControl focus = fullInRange ? C::Edit7 : C::Edit6;
    const char* message = fullInRange ? DecreeTexts::IncentiveGroupsTooMany : DecreeTexts::GroupOutOfRange;
    Require(panel.Messages.size() == 1 && panel.Messages[0] == message, "group range message");
    Require(panel.Focus.size() == 1 && panel.Focus[0] == focus, "group range focus");
    return 0;
  }
  Require(panel.Messages.empty() && panel.Focus.empty(), "message on an accepted group");

  DecreeResult result;
  try {
    result = ComputeDecree(*input, GroupPointsTable);
  } catch (const DecreeError& e) {
    Require(std::string(e.what()) == "Floating point overflow", "computation failed otherwise than by overflow",
            [&] { return std::string(e.what()); });
    return 0;
  }
  Require(result.MinimumPayDifference >= 0 && result.IncentiveGroupsDifference >= 0 &&
              result.SeniorityMinimumDifference >= 0,
          "a clamped value is negative");
  for (double value : {result.ItemsTotal, result.HousingAllowance, result.GrandTotal})
    Require(std::isfinite(value), "a total is not finite");
  CheckReport(result, format);
  CheckDerivation(*input, result, format);
  return 0;
}
