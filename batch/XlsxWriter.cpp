// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/XlsxWriter.h"

#include <algorithm>
#include <xlsxwriter.h>

#include "batch/BatchTexts.h"
#include "batch/CsvReader.h"
#include "decree/DecreeCatalogue.h"
#include "decree/DecreeTexts.h"

namespace {

constexpr lxw_row_t MaxRows = 1048576;  // the sheet's limits
constexpr lxw_col_t MaxColumns = 16384;
constexpr lxw_color_t RefusedFill = 0xFFC7CE;
constexpr lxw_color_t RefusedText = 0x9C0006;
constexpr lxw_color_t HeaderFill = 0xDCE4C9;  // the window's base-figure fields

std::size_t Characters(const std::string& Text) {
  std::size_t count = 0;
  for (unsigned char c : Text) count += (c & 0xC0) != 0x80;
  return count;
}

// A value's header: its report caption without the indent and colon. The
// items total takes the name the report gives it beside the top-up; the
// housing base is not reported, and the report's grand total adds the top-up
// where this value does not, so those two have headers of their own.
std::string HeaderOf(const ValueSpec& Value) {
  if (Value.Member == &DecreeResult::HousingBase) return BatchTexts::HousingBaseHeader;
  if (Value.Member == &DecreeResult::GrandTotal) return BatchTexts::GrandTotalHeader;
  if (Value.Member == &DecreeResult::ItemsTotal) return WithoutColon(DecreeTexts::ItemsSumCaption);
  return WithoutColon(Value.ReportCaption);
}

std::vector<WorkbookColumn> BuildAmountColumns() {
  std::vector<WorkbookColumn> columns;
  for (const ValueSpec& value : Values)
    columns.push_back({HeaderOf(value), [member = value.Member](const DecreeResult& R) { return R.*member; }});
  // The two totals as the report prints them.
  columns.push_back({WithoutColon(DecreeTexts::TotalWithoutHousingCaption),
                     [](const DecreeResult& R) { return ToDouble(TotalsWithTopUp(R).WithoutHousing); }});
  columns.push_back({WithoutColon(ValueOf(&DecreeResult::GrandTotal).ReportCaption),
                     [](const DecreeResult& R) { return ToDouble(TotalsWithTopUp(R).WithHousing); }});
  return columns;
}

}  // namespace

const std::vector<WorkbookColumn>& WorkbookAmountColumns() {
  static const std::vector<WorkbookColumn> Columns = BuildAmountColumns();
  return Columns;
}

XlsxWriter::XlsxWriter(const std::string& Path) : FFile(Path) {
  // The library writes the file by name when the workbook is closed.
  FFile.CloseDescriptor();
}

XlsxWriter::~XlsxWriter() {
  if (FBook) lxw_workbook_free(FBook);
}

void XlsxWriter::Check(int Error) {
  if (Error != LXW_NO_ERROR)
    throw BatchFileError(
        0, BatchTexts::Fill(BatchTexts::WriteFailed, {FFile.Path(), lxw_strerror(static_cast<lxw_error>(Error))}));
}

void XlsxWriter::Begin(const BatchHeader& Header) {
  FLayout = Header.Layout;
  const auto& amounts = WorkbookAmountColumns();
  const std::size_t ids = FLayout->IdColumns.size();
  const std::size_t columns = ids + amounts.size() + 2;
  if (Header.Rows + 1 > MaxRows || columns > MaxColumns)
    throw BatchFileError(
        0, BatchTexts::Fill(BatchTexts::WorkbookTooLarge, {std::to_string(MaxRows - 1), std::to_string(MaxColumns)}));

  // Its temporary files go next to the output, not to a small /tmp.
  std::string folder = FolderOf(FFile.TempPath());
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = folder.data();
  FBook = workbook_new_opt(FFile.TempPath().c_str(), &options);
  if (!FBook) Check(LXW_ERROR_MEMORY_MALLOC_FAILED);
  FSheet = workbook_add_worksheet(FBook, BatchTexts::SheetName);
  if (!FSheet) Check(LXW_ERROR_MEMORY_MALLOC_FAILED);

  FHeaderFormat = workbook_add_format(FBook);
  format_set_bold(FHeaderFormat);
  format_set_text_wrap(FHeaderFormat);
  format_set_align(FHeaderFormat, LXW_ALIGN_CENTER);
  format_set_align(FHeaderFormat, LXW_ALIGN_VERTICAL_CENTER);
  format_set_bg_color(FHeaderFormat, HeaderFill);
  format_set_border(FHeaderFormat, LXW_BORDER_THIN);
  FAmountFormat = workbook_add_format(FBook);
  format_set_num_format(FAmountFormat, "#,##0");
  FTextFormat = workbook_add_format(FBook);
  format_set_num_format(FTextFormat, "@");  // a personnel number stays text, leading zeros and all
  FRefusedFormat = workbook_add_format(FBook);
  format_set_bg_color(FRefusedFormat, RefusedFill);
  format_set_font_color(FRefusedFormat, RefusedText);

  worksheet_right_to_left(FSheet);
  for (std::size_t k = 0; k < ids; ++k) {
    const std::size_t longest = std::max(Characters(TrimHeader(FLayout->Headers[FLayout->IdColumns[k]])),
                                         k < Header.IdWidths.size() ? Header.IdWidths[k] : 0);
    const double width = static_cast<double>(std::clamp<std::size_t>(longest + 2, 8, 50));
    Check(worksheet_set_column(FSheet, static_cast<lxw_col_t>(k), static_cast<lxw_col_t>(k), width, nullptr));
  }
  for (std::size_t k = 0; k < amounts.size(); ++k) {
    const auto column = static_cast<lxw_col_t>(ids + k);
    const double width = static_cast<double>(std::clamp<std::size_t>(Characters(amounts[k].Header) / 2 + 4, 14, 24));
    Check(worksheet_set_column(FSheet, column, column, width, nullptr));
  }
  const auto errorColumn = static_cast<lxw_col_t>(ids + amounts.size());
  Check(worksheet_set_column(FSheet, errorColumn, errorColumn, 60, nullptr));
  Check(worksheet_set_column(FSheet, errorColumn + 1, errorColumn + 1, 24, nullptr));

  Check(worksheet_set_row(FSheet, 0, 48, nullptr));
  lxw_col_t column = 0;
  for (std::size_t id : FLayout->IdColumns)
    Check(worksheet_write_string(FSheet, 0, column++, TrimHeader(FLayout->Headers[id]).c_str(), FHeaderFormat));
  for (const WorkbookColumn& amount : amounts)
    Check(worksheet_write_string(FSheet, 0, column++, amount.Header.c_str(), FHeaderFormat));
  Check(worksheet_write_string(FSheet, 0, column++, BatchTexts::ErrorHeader, FHeaderFormat));
  Check(worksheet_write_string(FSheet, 0, column, BatchTexts::ErrorColumnHeader, FHeaderFormat));
  worksheet_freeze_panes(FSheet, 1, 0);
  Check(worksheet_autofilter(FSheet, 0, 0, static_cast<lxw_row_t>(std::max<std::size_t>(Header.Rows, 1)), column));
}

void XlsxWriter::Write(const RowRecord& Row) {
  const lxw_row_t row = ++FRow;
  lxw_col_t column = 0;
  lxw_format* const idFormat = Row.Computed ? FTextFormat : FRefusedFormat;
  for (const std::string& id : Row.Ids) {
    if (id.empty())
      Check(worksheet_write_blank(FSheet, row, column++, idFormat));
    else
      Check(worksheet_write_string(FSheet, row, column++, id.c_str(), idFormat));
  }
  for (const WorkbookColumn& amount : WorkbookAmountColumns()) {
    if (Row.Computed)
      Check(worksheet_write_number(FSheet, row, column++, amount.Value(Row.Result), FAmountFormat));
    else
      Check(worksheet_write_blank(FSheet, row, column++, FRefusedFormat));
  }
  if (Row.Computed) return;
  Check(worksheet_write_string(FSheet, row, column++, Row.Error.Message.c_str(), FRefusedFormat));
  const std::string errorColumn = ErrorColumnHeader(*FLayout, Row.Error);
  if (errorColumn.empty())
    Check(worksheet_write_blank(FSheet, row, column, FRefusedFormat));
  else
    Check(worksheet_write_string(FSheet, row, column, errorColumn.c_str(), FRefusedFormat));
}

void XlsxWriter::Finish() {
  lxw_workbook* book = FBook;
  FBook = nullptr;  // workbook_close frees it, whatever it returns
  Check(workbook_close(book));
}

void XlsxWriter::Commit() { FFile.Commit(); }
