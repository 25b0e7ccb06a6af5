// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/RowPanel.h"

#include "batch/BatchTexts.h"
#include "batch/CellText.h"

namespace {

using C = PanelControl;

// The line of info.ini that holds a control's base value, from 0; -1 for the others.
int BaseLine(PanelControl Control) { return InputOf(Control).StoredLine - 1; }

bool Blank(const std::string& Text) { return TrimControl(Text).empty(); }

}  // namespace

RowPanel::RowPanel(const ColumnLayout& Layout, const std::vector<std::string>& Cells, const NumberFormat& Format,
                   const BaseValues* Base)
    : FLayout(Layout), FCells(Cells), FFormat(Format), FBase(Base) {}

std::string RowPanel::Cell(PanelControl Control) const {
  const int column = FLayout.ColumnOf(Control);
  if (column < 0 || static_cast<std::size_t>(column) >= FCells.size()) return std::string();
  return FCells[static_cast<std::size_t>(column)];
}

std::string RowPanel::Given(PanelControl Control) const {
  std::string cell = Cell(Control);
  const int line = BaseLine(Control);
  if (Blank(cell) && FBase && line >= 0) return (*FBase)[static_cast<std::size_t>(line)];
  return cell;
}

// The normalised text only when the window's conversion takes it: a refused
// cell reaches the conversion as the clerk wrote it, so its message quotes it.
std::string RowPanel::ForConversion(const std::string& Text) const {
  std::string normalised = NormaliseNumber(Text, FFormat);
  if (normalised == Text) return normalised;
  try {
    TextToFloat(TrimControl(normalised), FFormat);
    return normalised;
  } catch (const DecreeError&) {
    return Text;
  }
}

// As in the window: a row that types its own coefficient or points gets the
// product (typing in Edit1 or Edit25 refills Edit18); a row that takes both
// from info.ini gets info.ini's amount, as the window shows it after loading,
// or the product when info.ini has no amount.
std::string RowPanel::ClauseBAmount() const {
  const bool typed = !Blank(Cell(C::Edit1)) || !Blank(Cell(C::Edit25));
  const std::size_t stored = static_cast<std::size_t>(BaseLine(C::Edit18));
  if (!typed && FBase && !Blank((*FBase)[stored])) return ForConversion((*FBase)[stored]);
  const std::string coefficient = ForConversion(Given(C::Edit1));
  const std::string points = ForConversion(Given(C::Edit25));
  try {
    return ClauseBAmountText(coefficient, points, FFormat);
  } catch (const DecreeError& error) {
    PanelControl cause = C::Edit25;  // the coefficient is converted first
    try {
      TextToFloat(TrimControl(coefficient), FFormat);
    } catch (const DecreeError&) {
      cause = C::Edit1;
    }
    FClauseBError = ProductError{ErrorMessageText(error.what()), cause};
    return std::string();
  }
}

std::string RowPanel::Text(PanelControl Edit) const {
  const auto index = static_cast<std::size_t>(Edit);
  std::string text;
  if (FWritten[index]) {
    text = *FWritten[index];
  } else if (Edit == C::Edit18 && Blank(Cell(C::Edit18))) {
    text = ClauseBAmount();
  } else {
    text = ForConversion(Given(Edit));
  }
  FLastRead = Edit;
  return text;
}

void RowPanel::SetText(PanelControl Edit, const std::string& Text) { FWritten[static_cast<std::size_t>(Edit)] = Text; }

void RowPanel::SetFocus(PanelControl Control) { FFocus = Control; }

int RowPanel::ItemIndex() const {
  const std::string cell = Cell(C::ComboBox1);
  const std::optional<int> index = ParseInsurance(cell);
  if (!index) {
    const std::string& header = FLayout.Headers[static_cast<std::size_t>(FLayout.ColumnOf(C::ComboBox1))];
    throw RowCellError(BatchTexts::Fill(BatchTexts::InsuranceInvalid,
                                        {TrimControl(cell), TrimHeader(header), InsuranceItems[0], InsuranceItems[1]}),
                       C::ComboBox1);
  }
  return *index;
}

bool RowPanel::Checked(PanelControl CheckBox) const {
  const std::string cell = Cell(CheckBox);
  const std::optional<bool> checked = ParseFlag(cell);
  if (!checked) {
    const std::string& header = FLayout.Headers[static_cast<std::size_t>(FLayout.ColumnOf(CheckBox))];
    throw RowCellError(BatchTexts::Fill(BatchTexts::FlagInvalid, {TrimControl(cell), TrimHeader(header)}), CheckBox);
  }
  return *checked;
}

void RowPanel::ShowMessage(const std::string& Text) { FMessages.push_back(Text); }
