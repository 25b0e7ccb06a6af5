// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook: one right-to-left sheet, Persian headers (the report's
// captions), amounts as numbers in the "#,##0" format, the header row frozen
// with a filter, refused rows marked with their message. Written by
// libxlsxwriter in constant-memory mode, row after row.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch/Writers.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// The amount columns after the identification columns: the 30 result values
// and the report's two totals, each with its header.
struct WorkbookColumn {
  std::string Header;
  std::function<double(const DecreeResult&)> Value;
};
const std::vector<WorkbookColumn>& WorkbookAmountColumns();

class XlsxWriter : public RowWriter {
 public:
  explicit XlsxWriter(const std::string& Path);
  ~XlsxWriter() override;
  void Begin(const BatchHeader& Header) override;
  void Write(const RowRecord& Row) override;
  void Finish() override;
  void Commit() override;

 private:
  void Check(int Error);
  OutputFile FFile;
  lxw_workbook* FBook = nullptr;
  lxw_worksheet* FSheet = nullptr;
  lxw_format* FHeaderFormat = nullptr;
  lxw_format* FAmountFormat = nullptr;
  lxw_format* FTextFormat = nullptr;
  lxw_format* FRefusedFormat = nullptr;
  const ColumnLayout* FLayout = nullptr;
  unsigned FRow = 0;
};
