// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecreeInput.h"

#include "DecreeCompute.h"
#include "DecreeTexts.h"

namespace {

struct RequiredCheck {
  PanelControl Control;  // checked and focused
  const char* Message;
};

// Check order differs from conversion order; both are fixed.
constexpr RequiredCheck RequiredChecks[] = {
    {PanelControl::Edit1, DecreeTexts::MissingCoefficient},
    {PanelControl::Edit2, DecreeTexts::MissingDeclaredMinimumSalary},
    {PanelControl::Edit3, DecreeTexts::MissingEffectiveMinimumSalary},
    {PanelControl::Edit26, DecreeTexts::MissingMinimumSalaryAndBenefits},
    {PanelControl::Edit4, DecreeTexts::MissingFamilyAllowanceRate},
    {PanelControl::Edit5, DecreeTexts::MissingChildAllowanceRate},
    {PanelControl::Edit6, DecreeTexts::MissingEmployeeGroup},
    {PanelControl::Edit8, DecreeTexts::MissingPreviousBaseSalary},
    {PanelControl::Edit9, DecreeTexts::MissingPreviousSeniorityIncrease},
    {PanelControl::Edit10, DecreeTexts::MissingSeniorityIncreasePercent},
    {PanelControl::ComboBox1, DecreeTexts::MissingInsuranceType},
    {PanelControl::Edit13, DecreeTexts::MissingJobPercent},
    {PanelControl::Edit14, DecreeTexts::MissingAttractionPercent},
};

enum class WhenEmpty {
  Refused,     // required: cannot be empty after the checks
  ZeroKept,    // optional, 0, the edit box left empty
  ZeroWritten  // optional, 0, "0" written into the edit box
};

struct NumericField {
  PanelControl Edit;
  double DecreeInput::*Field;
  WhenEmpty Empty;
};

constexpr NumericField NumericFields[] = {
    {PanelControl::Edit1, &DecreeInput::Coefficient, WhenEmpty::Refused},
    {PanelControl::Edit2, &DecreeInput::DeclaredMinimumSalary, WhenEmpty::Refused},
    {PanelControl::Edit3, &DecreeInput::EffectiveMinimumSalary, WhenEmpty::Refused},
    {PanelControl::Edit4, &DecreeInput::FamilyAllowanceRate, WhenEmpty::Refused},
    {PanelControl::Edit5, &DecreeInput::ChildAllowanceRate, WhenEmpty::Refused},
    {PanelControl::Edit6, &DecreeInput::EmployeeGroup, WhenEmpty::Refused},
    {PanelControl::Edit26, &DecreeInput::MinimumSalaryAndBenefits, WhenEmpty::Refused},
    {PanelControl::Edit18, &DecreeInput::ClauseBItem3Amount, WhenEmpty::ZeroKept},
    {PanelControl::Edit7, &DecreeInput::IncentiveGroupCount, WhenEmpty::ZeroWritten},
    {PanelControl::Edit8, &DecreeInput::PreviousBaseSalary, WhenEmpty::Refused},
    {PanelControl::Edit9, &DecreeInput::PreviousSeniorityIncrease, WhenEmpty::Refused},
    {PanelControl::Edit10, &DecreeInput::SeniorityIncreasePercent, WhenEmpty::Refused},
    {PanelControl::Edit11, &DecreeInput::ChildCount, WhenEmpty::ZeroWritten},
    {PanelControl::Edit12, &DecreeInput::Note12Difference, WhenEmpty::ZeroWritten},
    {PanelControl::Edit13, &DecreeInput::JobPercent, WhenEmpty::Refused},
    {PanelControl::Edit14, &DecreeInput::AttractionPercent, WhenEmpty::Refused},
    {PanelControl::Edit15, &DecreeInput::SpecialPercent, WhenEmpty::ZeroWritten},
    {PanelControl::Edit16, &DecreeInput::ParticularPercent, WhenEmpty::ZeroWritten},
    {PanelControl::Edit17, &DecreeInput::DeprivationPercent, WhenEmpty::ZeroWritten},
    {PanelControl::Edit19, &DecreeInput::BadClimatePercent, WhenEmpty::ZeroWritten},
    {PanelControl::Edit20, &DecreeInput::ShiftWorkPercent, WhenEmpty::ZeroWritten},
    {PanelControl::Edit21, &DecreeInput::HardshipPercent, WhenEmpty::ZeroWritten},
    {PanelControl::Edit22, &DecreeInput::OperationalZonePercent, WhenEmpty::ZeroWritten},
    {PanelControl::Edit23, &DecreeInput::DeprivedRegionPercent, WhenEmpty::ZeroWritten},
    {PanelControl::Edit24, &DecreeInput::RadiationPercent, WhenEmpty::ZeroWritten},
};

struct Flag {
  PanelControl CheckBox;
  bool DecreeInput::*Field;
};

constexpr Flag Flags[] = {
    {PanelControl::CheckBox1, &DecreeInput::HeadOfHousehold},
    {PanelControl::CheckBox2, &DecreeInput::VeteranEligible},
    {PanelControl::CheckBox3, &DecreeInput::AdjustmentEligible},
    {PanelControl::CheckBox4, &DecreeInput::Article26Eligible},
    {PanelControl::CheckBox5, &DecreeInput::OperationalZoneWideBase},
    {PanelControl::CheckBox6, &DecreeInput::ClauseBItem3InHousing},
    {PanelControl::CheckBox8, &DecreeInput::BorderDeprivationEligible},
};

}  // namespace

std::optional<DecreeInput> ReadDecreeInput(DecreePanel& Panel, const NumberFormat& Format) {
  for (const RequiredCheck& check : RequiredChecks) {
    const bool missing = check.Control == PanelControl::ComboBox1
                             ? Panel.ItemIndex() < 0
                             : TrimControl(Panel.Text(check.Control)).empty();
    if (missing) {
      Panel.ShowMessage(check.Message);
      Panel.SetFocus(check.Control);
      return std::nullopt;
    }
  }

  DecreeInput input;
  for (const NumericField& field : NumericFields) {
    const std::string text = TrimControl(Panel.Text(field.Edit));
    if (text.empty() && field.Empty != WhenEmpty::Refused) {
      input.*field.Field = 0;
      if (field.Empty == WhenEmpty::ZeroWritten) Panel.SetText(field.Edit, "0");
      continue;
    }
    input.*field.Field = TextToFloat(text, Format);
  }
  for (const Flag& flag : Flags) input.*flag.Field = Panel.Checked(flag.CheckBox);
  // The checks have refused -1; the list offers only 0 and 1.
  input.InsuranceType = Panel.ItemIndex() == 1 ? 1 : 0;
  return input;
}

bool CheckGroupRange(const DecreeInput& Input, DecreePanel& Panel) {
  if (!GroupInRange(Input.EmployeeGroup)) {
    Panel.ShowMessage(DecreeTexts::GroupOutOfRange);
    Panel.SetFocus(PanelControl::Edit6);
    return false;
  }
  if (Input.IncentiveGroupCount != 0 && !GroupInRange(Extended(Input.EmployeeGroup) - Input.IncentiveGroupCount)) {
    Panel.ShowMessage(DecreeTexts::IncentiveGroupsTooMany);
    Panel.SetFocus(PanelControl::Edit7);
    return false;
  }
  return true;
}

std::string ClauseBAmountText(const std::string& CoefficientText, const std::string& PointsText,
                              const NumberFormat& Format) {
  const std::string coefficient = TrimControl(CoefficientText);
  if (coefficient.empty()) return "";
  const std::string points = TrimControl(PointsText);
  if (points.empty()) return "";
  const double c = TextToFloat(coefficient, Format);
  const double p = TextToFloat(points, Format);
  return FormatGeneral(Extended(p) * c, 15, Format);
}
