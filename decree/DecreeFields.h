// SPDX-License-Identifier: GPL-3.0-or-later
// The names by which data outside the window refers to the decree: each input
// control with its DecreeInput field name, and each DecreeResult value with
// its member name, in declaration order.
#pragma once

#include <array>
#include <cstddef>

#include "decree/DecreeCompute.h"
#include "decree/DecreeInput.h"

enum class InputKind {
  Number,     // an edit box converted into DecreeInput
  Points,     // Edit25: not in DecreeInput, only the clause-B product and info.ini
  Insurance,  // ComboBox1
  Flag,       // a check box
};

struct InputFieldInfo {
  PanelControl Control;
  const char* FieldName;    // "Coefficient"; Edit25 is "ClauseBItem3Points"
  const char* ControlName;  // "Edit1"
  InputKind Kind;
};

inline constexpr std::size_t InputFieldCount = 34;

// In PanelControl order: InputFields[static_cast<size_t>(c)].Control == c.
extern const std::array<InputFieldInfo, InputFieldCount> InputFields;

inline const InputFieldInfo& InputFieldOf(PanelControl Control) {
  return InputFields[static_cast<std::size_t>(Control)];
}

struct ResultFieldInfo {
  const char* Name;  // the member's name
  double DecreeResult::*Member;
};

inline constexpr std::size_t ResultFieldCount = 30;

// In the declaration order of DecreeResult.
extern const std::array<ResultFieldInfo, ResultFieldCount> ResultFields;
