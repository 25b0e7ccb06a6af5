// SPDX-License-Identifier: GPL-3.0-or-later
// The whole run: the checks of everything that could stop it, a first pass
// over the input (its structure, its rows), then one pass that reads, checks
// and computes each row once and feeds every writer. Outputs are renamed into
// place only when all of them are complete.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "batch/CsvReader.h"
#include "batch/Writers.h"
#include "decree/NumberFormat.h"

inline constexpr const char* ProgramName = "salary-decree-batch";

struct BatchOptions {
  std::string Input;                 // CSV, or a workbook (.xlsx, .ods) recognised by its content
  std::optional<std::string> Sheet;  // a workbook's sheet by name; the first one otherwise
  CsvEncoding Encoding = CsvEncoding::Auto;
  std::vector<std::string> IgnoreColumns;  // identification columns however close to an input's name
  std::optional<std::string> Base;         // an info.ini
  std::optional<std::string> Csv;          // "-" for standard output
  std::optional<std::string> Xlsx;
  std::optional<std::string> Pdf;
  std::optional<std::string> Reports;  // a folder
  bool Json = false;
  bool Explain = false;
  bool Exact = false;
  NumberFormat Format;
};

// Makes the PDF writer (the only part that needs Qt) for the output Path; it
// writes a temporary file and renames it in Commit().
using PdfWriterFactory = std::function<std::unique_ptr<RowWriter>(const std::string& Path, const NumberFormat& Format)>;

// Exit status: 0 every row computed, 1 some row refused, 2 the run could not
// start or its outputs could not be written (then no output file is created
// or changed), 128 + n when stopped by signal n. Diagnostics go to Err.
int RunBatch(const BatchOptions& Options, const PdfWriterFactory& MakePdfWriter, std::FILE* Err);
