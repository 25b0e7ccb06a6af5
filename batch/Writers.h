// SPDX-License-Identifier: GPL-3.0-or-later
// One writer per output format, each fed the same row records in input order.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "batch/Columns.h"
#include "batch/OutputFile.h"
#include "batch/Pipeline.h"

// What every writer knows of the run before the first row.
struct BatchHeader {
  const ColumnLayout* Layout = nullptr;
  std::size_t Rows = 0;        // non-blank records after the header
  char Delimiter = ',';        // the input's, used again for the CSV written
  bool ByteOrderMark = false;  // the input had one, was UTF-16 or Windows-1256, or was a workbook
  bool Explain = false;
  std::vector<std::size_t> IdWidths;  // longest cell of each identification column, in characters
};

class RowWriter {
 public:
  virtual ~RowWriter() = default;
  virtual void Begin(const BatchHeader& Header) = 0;
  virtual void Write(const RowRecord& Row) = 0;
  // Completes the output; a file output is renamed into place by Commit().
  virtual void Finish() = 0;
  virtual void Commit() {}
  virtual bool NeedsReport() const { return false; }
};

// The header cell naming a row error's column, or "" for none.
std::string ErrorColumnHeader(const ColumnLayout& Layout, const RowError& Error);

// CSV: the identification columns, the 30 result values under their field
// names (whole rials, or round-trip doubles with Exact), error, error_column.
class CsvWriter : public RowWriter {
 public:
  CsvWriter(OutputStream& Out, bool Exact, bool FileOutput) : FOut(Out), FExact(Exact), FFile(FileOutput) {}
  void Begin(const BatchHeader& Header) override;
  void Write(const RowRecord& Row) override;
  void Finish() override;

 private:
  void Cell(const std::string& Text);
  OutputStream& FOut;
  bool FExact;
  bool FFile;  // a byte-order mark only in a file, never in a pipe
  const ColumnLayout* FLayout = nullptr;
  char FDelimiter = ',';
  std::string FLine;
};

// JSON Lines: one object per row, numbers as exact doubles.
class JsonWriter : public RowWriter {
 public:
  explicit JsonWriter(OutputStream& Out) : FOut(Out) {}
  void Begin(const BatchHeader& Header) override;
  void Write(const RowRecord& Row) override;
  void Finish() override;
  bool NeedsReport() const override { return true; }

 private:
  OutputStream& FOut;
  const ColumnLayout* FLayout = nullptr;
  bool FExplain = false;
};

// A file name made of an identification cell: no '/', NUL or control
// characters, none of the characters other systems refuse, not hidden, not
// "." or "..", at most MaxBytes bytes (whole characters); empty when nothing
// usable is left.
std::string SafeFileName(const std::string& Text, std::size_t MaxBytes = 200);

// --reports: one UTF-8 text file per row, named from the first
// identification column (or the line number), its report lines (and the
// derivation) or its error. Each is written hidden and renamed at the end.
class ReportFilesWriter : public RowWriter {
 public:
  explicit ReportFilesWriter(std::string Folder) : FFolder(std::move(Folder)) {}
  void Begin(const BatchHeader& Header) override;
  void Write(const RowRecord& Row) override;
  void Finish() override;
  void Commit() override;
  bool NeedsReport() const override { return true; }

  // The name given to a row, "<line>.txt" when its first identification cell
  // gives none; a name already given gets "-<line>" added.
  std::string NameFor(const RowRecord& Row);

 private:
  std::string FFolder;
  const ColumnLayout* FLayout = nullptr;
  std::set<std::string> FNames;
  std::vector<std::unique_ptr<OutputFile>> FFiles;
};

// The text of one row's report file: its lines, a blank line and the
// derivation lines when there are any; or the error and its column.
std::string ReportFileText(const ColumnLayout& Layout, const RowRecord& Row);
