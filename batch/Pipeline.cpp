// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/Pipeline.h"

#include <optional>

#include "batch/BatchTexts.h"
#include "batch/RowPanel.h"
#include "decree/DecreeCatalogue.h"
#include "decree/DecreeExplain.h"
#include "decree/DecreeInput.h"
#include "decree/DecreeReport.h"

namespace {

// The message for a workbook cell an input column cannot take, or "" when
// its column is no input.
std::string KindedCellMessage(const ColumnLayout& Layout, const CsvRecord& Record, const KindedCell& Cell) {
  bool input = false;
  for (int column : Layout.InputColumn) input = input || column == static_cast<int>(Cell.Column);
  if (!input) return std::string();
  const std::string header = TrimHeader(Layout.Headers[Cell.Column]);
  const std::string& text = Record.Cells[Cell.Column];
  switch (Cell.Kind) {
    case CellKind::Date: return BatchTexts::Fill(BatchTexts::CellDate, {header, text});
    case CellKind::Error: return BatchTexts::Fill(BatchTexts::CellError, {header, text});
    case CellKind::Percentage: return BatchTexts::Fill(BatchTexts::CellPercentage, {header, text});
    case CellKind::NoValue: return BatchTexts::Fill(BatchTexts::CellNoValue, {header});
  }
  return std::string();
}

}  // namespace

bool IsBlankRecord(const CsvRecord& Record) {
  if (!Record.Kinded.empty()) return false;
  for (const std::string& cell : Record.Cells)
    if (!TrimControl(cell).empty()) return false;
  return true;
}

void ProcessRow(const ColumnLayout& Layout, const CsvRecord& Record, const PipelineOptions& Options, RowRecord& Out) {
  Out.Line = Record.Line;
  Out.Ids.resize(Layout.IdColumns.size());
  for (std::size_t k = 0; k < Layout.IdColumns.size(); ++k) {
    const std::size_t column = Layout.IdColumns[k];
    if (column < Record.Cells.size())
      Out.Ids[k] = Record.Cells[column];
    else
      Out.Ids[k].clear();
  }
  Out.Computed = false;
  Out.Report.clear();
  Out.Explain.clear();
  Out.Error = RowError{};

  // Cells beyond the header usually mean a separator inside an unquoted name:
  // every later cell would be read under the wrong column.
  for (std::size_t k = Layout.Width(); k < Record.Cells.size(); ++k) {
    if (!TrimControl(Record.Cells[k]).empty()) {
      Out.Error.Message = BatchTexts::Fill(BatchTexts::ExtraCells,
                                           {std::to_string(Record.Cells.size()), std::to_string(Layout.Width())});
      return;
    }
  }

  // A date, an error or a percentage shown as such is not the number the
  // cell seems to hold.
  for (const KindedCell& cell : Record.Kinded) {
    const std::string message = KindedCellMessage(Layout, Record, cell);
    if (message.empty()) continue;
    Out.Error.Message = message;
    Out.Error.Column = static_cast<int>(cell.Column);
    return;
  }

  RowPanel panel(Layout, Record.Cells, Options.Format, Options.Base);
  const auto fail = [&](const std::string& Message, std::optional<PanelControl> Control) {
    Out.Error.Message = Message;
    Out.Error.Column = Control ? Layout.ColumnOf(*Control) : -1;
  };
  bool computing = false;
  try {
    const std::optional<DecreeInput> input = ReadDecreeInput(panel, Options.Format);
    if (!input) return fail(panel.Messages().back(), panel.Focus());
    if (const auto& product = panel.ClauseBError()) return fail(product->Message, product->Control);
    if (!CheckGroupRange(*input, panel)) return fail(panel.Messages().back(), panel.Focus());
    computing = true;
    Out.Result = ComputeDecree(*input, GroupPointsTable);
    Out.Input = *input;
    Out.Computed = true;
    if (Options.Report) Out.Report = BuildDecreeReport(Out.Result, Options.Format);
    if (Options.Explain) Out.Explain = ExplainDecree(Out.Input, Out.Result, GroupPointsTable, Options.Format);
  } catch (const DecreeError& error) {
    // A conversion error is about the field read last; an overflow in the
    // computation about no single column.
    fail(ErrorMessageText(error.what()), computing ? std::nullopt : panel.LastRead());
  } catch (const RowCellError& error) {
    fail(error.what(), error.Control());
  }
}
