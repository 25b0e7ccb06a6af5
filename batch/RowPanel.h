// SPDX-License-Identifier: GPL-3.0-or-later
// The input panel the decree core reads, made of one row of the file: each
// control shows its cell, normalised for the window's conversion, or the base
// value when the cell is empty. Messages and focus are recorded, so the
// column that a failed check names is known.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "batch/Columns.h"
#include "decree/DecreeCatalogue.h"
#include "decree/DecreeInput.h"
#include "storage/BaseValues.h"

// A cell that no control can hold (a flag or an insurance type the list does
// not offer); what() is the Persian message.
class RowCellError : public std::runtime_error {
 public:
  RowCellError(const std::string& Message, PanelControl Control) : std::runtime_error(Message), FControl(Control) {}
  PanelControl Control() const { return FControl; }

 private:
  PanelControl FControl;
};

class RowPanel : public DecreePanel {
 public:
  // Base: the eight base texts in info.ini order, or null.
  RowPanel(const ColumnLayout& Layout, const std::vector<std::string>& Cells, const NumberFormat& Format,
           const BaseValues* Base);

  std::string Text(PanelControl Edit) const override;
  void SetText(PanelControl Edit, const std::string& Text) override;
  void SetFocus(PanelControl Control) override;
  int ItemIndex() const override;                      // throws RowCellError
  bool Checked(PanelControl CheckBox) const override;  // throws RowCellError
  void ShowMessage(const std::string& Text) override;

  std::optional<PanelControl> Focus() const { return FFocus; }
  const std::vector<std::string>& Messages() const { return FMessages; }
  // The control whose text was read last: the one a conversion error is about.
  std::optional<PanelControl> LastRead() const { return FLastRead; }

  // Edit18 left empty is the window's clause-B product; when the product's
  // conversion fails, Text(Edit18) is empty and this holds the error box
  // text and the control it is about.
  struct ProductError {
    std::string Message;
    PanelControl Control;
  };
  const std::optional<ProductError>& ClauseBError() const { return FClauseBError; }

 private:
  std::string Cell(PanelControl Control) const;
  std::string Given(PanelControl Control) const;
  std::string ForConversion(const std::string& Text) const;
  std::string ClauseBAmount() const;

  const ColumnLayout& FLayout;
  const std::vector<std::string>& FCells;
  const NumberFormat& FFormat;
  const BaseValues* FBase;
  std::array<std::optional<std::string>, InputCount> FWritten;
  std::optional<PanelControl> FFocus;
  std::vector<std::string> FMessages;
  mutable std::optional<PanelControl> FLastRead;
  mutable std::optional<ProductError> FClauseBError;
};
