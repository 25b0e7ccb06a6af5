// SPDX-License-Identifier: GPL-3.0-or-later
// The inputs of one decree: the required-field checks, the conversion of the
// panel's texts and the group range check, written against a small panel
// interface so that they run without a window.
#pragma once

#include <optional>
#include <string>

#include "decree/NumberFormat.h"

struct DecreeInput {
  // Amounts in rials, percentages as plain numbers of percent.
  double Coefficient = 0;                // Edit1, rials per group point
  double DeclaredMinimumSalary = 0;      // Edit2
  double EffectiveMinimumSalary = 0;     // Edit3
  double FamilyAllowanceRate = 0;        // Edit4
  double ChildAllowanceRate = 0;         // Edit5
  double EmployeeGroup = 0;              // Edit6, incentive groups included
  double MinimumSalaryAndBenefits = 0;   // Edit26
  double ClauseBItem3Amount = 0;         // Edit18
  double IncentiveGroupCount = 0;        // Edit7
  double PreviousBaseSalary = 0;         // Edit8
  double PreviousSeniorityIncrease = 0;  // Edit9
  double SeniorityIncreasePercent = 0;   // Edit10
  double ChildCount = 0;                 // Edit11
  double Note12Difference = 0;           // Edit12
  double JobPercent = 0;                 // Edit13
  double AttractionPercent = 0;          // Edit14
  double SpecialPercent = 0;             // Edit15
  double ParticularPercent = 0;          // Edit16
  double DeprivationPercent = 0;         // Edit17
  double BadClimatePercent = 0;          // Edit19
  double ShiftWorkPercent = 0;           // Edit20
  double HardshipPercent = 0;            // Edit21
  double OperationalZonePercent = 0;     // Edit22
  double DeprivedRegionPercent = 0;      // Edit23
  double RadiationPercent = 0;           // Edit24

  bool HeadOfHousehold = false;            // CheckBox1
  bool VeteranEligible = false;            // CheckBox2
  bool AdjustmentEligible = false;         // CheckBox3
  bool Article26Eligible = false;          // CheckBox4
  bool OperationalZoneWideBase = false;    // CheckBox5
  bool ClauseBItem3InHousing = false;      // CheckBox6
  bool BorderDeprivationEligible = false;  // CheckBox8

  int InsuranceType = 0;  // ComboBox1: 0 social security, 1 retirement organisation
};

// The controls the decree reads, by their names on the input panel.
enum class PanelControl {
  Edit1,
  Edit2,
  Edit3,
  Edit4,
  Edit5,
  Edit6,
  Edit7,
  Edit8,
  Edit9,
  Edit10,
  Edit11,
  Edit12,
  Edit13,
  Edit14,
  Edit15,
  Edit16,
  Edit17,
  Edit18,
  Edit19,
  Edit20,
  Edit21,
  Edit22,
  Edit23,
  Edit24,
  Edit25,
  Edit26,
  ComboBox1,
  CheckBox1,
  CheckBox2,
  CheckBox3,
  CheckBox4,
  CheckBox5,
  CheckBox6,
  CheckBox8,
};

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
