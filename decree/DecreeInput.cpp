// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/DecreeInput.h"

#include "decree/DecreeCatalogue.h"
#include "decree/DecreeCompute.h"
#include "decree/DecreeTexts.h"

std::optional<DecreeInput> ReadDecreeInput(DecreePanel& Panel, const NumberFormat& Format) {
  for (const PanelControl Control : CheckOrder) {
    const bool Missing = InputOf(Control).Kind == InputKind::Insurance ? Panel.ItemIndex() < 0
                                                                       : TrimControl(Panel.Text(Control)).empty();
    if (Missing) {
      Panel.ShowMessage(InputOf(Control).MissingMessage);
      Panel.SetFocus(Control);
      return std::nullopt;
    }
  }

  DecreeInput Input;
  for (const PanelControl Control : ConversionOrder) {
    const InputSpec& Field = InputOf(Control);
    const std::string Text = TrimControl(Panel.Text(Control));
    if (Text.empty() && Field.Empty != WhenEmpty::Refused) {
      Input.*Field.Number = 0;
      if (Field.Empty == WhenEmpty::ZeroWritten) Panel.SetText(Control, "0");
      continue;
    }
    Input.*Field.Number = TextToFloat(Text, Format);
  }
  for (const InputSpec& Field : Inputs)
    if (Field.Flag) Input.*Field.Flag = Panel.Checked(Field.Control);
  // The checks have refused -1; the list offers only 0 and 1.
  Input.InsuranceType = Panel.ItemIndex() == 1 ? 1 : 0;
  return Input;
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
