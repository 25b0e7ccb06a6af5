// SPDX-License-Identifier: GPL-3.0-or-later
// One row of the file through the window's path: ReadDecreeInput over the
// row's panel, the group range check, ComputeDecree and, for the outputs that
// show them, BuildDecreeReport. Every writer is fed the same record.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "batch/Columns.h"
#include "batch/CsvReader.h"
#include "decree/DecreeCompute.h"
#include "decree/NumberFormat.h"
#include "storage/BaseValues.h"

struct RowError {
  std::string Message;  // the window's text: a check's message, or the error box's with its full stop
  int Column = -1;      // the file column it names; -1 for none
};

struct RowRecord {
  std::size_t Line = 0;
  std::vector<std::string> Ids;  // the identification cells, in ColumnLayout::IdColumns order
  bool Computed = false;
  DecreeInput Input;
  DecreeResult Result;
  std::vector<std::string> Report;   // with PipelineOptions::Report
  std::vector<std::string> Explain;  // with PipelineOptions::Explain
  RowError Error;                    // when not Computed
};

struct PipelineOptions {
  NumberFormat Format;
  const BaseValues* Base = nullptr;  // info.ini's eight texts, or none
  bool Report = false;
  bool Explain = false;
};

// A row whose cells are all blank (a spreadsheet's empty line): not an employee.
bool IsBlankRecord(const CsvRecord& Record);

void ProcessRow(const ColumnLayout& Layout, const CsvRecord& Record, const PipelineOptions& Options, RowRecord& Out);
