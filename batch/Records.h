// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of an input file as the pipeline takes them, whatever the file:
// a CSV's records and a sheet's rows are the same stream of numbered cell
// texts.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

// A problem of the whole input file: the run stops before any output exists.
// what() is the Persian text the user reads.
class BatchFileError : public std::runtime_error {
 public:
  BatchFileError(std::size_t Line, const std::string& Message) : std::runtime_error(Message), FLine(Line) {}
  std::size_t Line() const { return FLine; }  // from 1; 0 when the problem is not on one line

 private:
  std::size_t FLine;
};

// A longer cell is refused: nothing in a decree file comes near it, and the
// readers' buffers stay bounded.
inline constexpr std::size_t MaxFieldBytes = std::size_t{1} << 20;

// A workbook cell whose text is not what its display shows: an input column
// cannot take it, an identification column carries its text.
enum class CellKind {
  Date,        // a date or time; the text is its ISO 8601 form
  Error,       // a formula's error; the text is its code (#DIV/0!)
  Percentage,  // shown with a percent sign; the text is the stored fraction
  NoValue,     // a formula whose number was never computed; the text is empty
};

struct KindedCell {
  std::size_t Column;
  CellKind Kind;
};

struct CsvRecord {
  std::size_t Line = 0;  // the file line (or the sheet row) the record starts on, from 1
  std::vector<std::string> Cells;
  std::vector<KindedCell> Kinded;  // workbooks only, in column order
};

class RecordReader {
 public:
  virtual ~RecordReader() = default;
  // The next record that has a cell; false after the last one. Throws BatchFileError.
  virtual bool Next(CsvRecord& Record) = 0;
};
