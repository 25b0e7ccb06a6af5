// SPDX-License-Identifier: GPL-3.0-or-later
// The inputs of one decree: the required-field checks, the conversion of the
// panel's texts and the group range check, written against a small panel
// interface so that they run without a window.
#pragma once

#include <optional>
#include <string>

#include "decree/NumberFormat.h"

// The parsed inputs of one computation. Which control feeds which member, in
// which order they are checked and converted: decree/DecreeCatalogue.h.
struct DecreeInput {
  // Amounts in rials, percentages as plain numbers of percent.
  double Coefficient = 0;  // rials per group point
  double DeclaredMinimumSalary = 0;
  double EffectiveMinimumSalary = 0;
  double FamilyAllowanceRate = 0;
  double ChildAllowanceRate = 0;
  double EmployeeGroup = 0;  // incentive groups included
  double MinimumSalaryAndBenefits = 0;
  double ClauseBItem3Amount = 0;
  double IncentiveGroupCount = 0;
  double PreviousBaseSalary = 0;
  double PreviousSeniorityIncrease = 0;
  double SeniorityIncreasePercent = 0;
  double ChildCount = 0;
  double Note12Difference = 0;
  double JobPercent = 0;
  double AttractionPercent = 0;
  double SpecialPercent = 0;
  double ParticularPercent = 0;
  double DeprivationPercent = 0;
  double BadClimatePercent = 0;
  double ShiftWorkPercent = 0;
  double HardshipPercent = 0;
  double OperationalZonePercent = 0;
  double DeprivedRegionPercent = 0;
  double RadiationPercent = 0;

  bool HeadOfHousehold = false;
  bool VeteranEligible = false;
  bool AdjustmentEligible = false;
  bool Article26Eligible = false;
  bool OperationalZoneWideBase = false;
  bool ClauseBItem3InHousing = false;
  bool BorderDeprivationEligible = false;

  int InsuranceType = 0;  // 0 social security, 1 retirement organisation
};

// A control of the input panel; decree/DecreeCatalogue.h names them.
enum class PanelControl;

// What the decree needs of the input panel. Texts are UTF-8.
class DecreePanel {
 public:
  virtual ~DecreePanel() = default;
  virtual std::string Text(PanelControl Edit) const = 0;
  virtual void SetText(PanelControl Edit, const std::string& Text) = 0;
  virtual void SetFocus(PanelControl Control) = 0;
  virtual int ItemIndex() const = 0;  // of ComboBox1; -1 when nothing is selected
  virtual bool Checked(PanelControl CheckBox) const = 0;
  // The standard message box: modal, the text and one OK button.
  virtual void ShowMessage(const std::string& Text) = 0;
};

// Runs the thirteen required-field checks in their order, then converts the
// twenty-five fields in theirs, writing "0" into empty optional fields (except
// Edit18). On a failed check: shows its message, focuses its control and
// returns nullopt. A text the conversion refuses throws DecreeError.
std::optional<DecreeInput> ReadDecreeInput(DecreePanel& Panel, const NumberFormat& Format);

// The group must index the group-points table, at the full group and, with
// incentive groups, at the reduced one. On failure shows the message, focuses
// Edit6 or Edit7 and returns false.
bool CheckGroupRange(const DecreeInput& Input, DecreePanel& Panel);

// The clause-B item-3 amount for Edit18: coefficient × points at extended
// precision in the 15-digit general format; empty when either trimmed text is
// empty. Converts the coefficient first; throws DecreeError like TextToFloat.
std::string ClauseBAmountText(const std::string& CoefficientText, const std::string& PointsText,
                              const NumberFormat& Format);
