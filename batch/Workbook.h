// SPDX-License-Identifier: GPL-3.0-or-later
// A workbook as input: Office Open XML (.xlsx) or OpenDocument (.ods),
// recognised by what its archive holds. One sheet is read, row by row, as
// the same records a CSV gives: the sheet's row number as the line, each
// cell as the text the pipeline converts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "batch/Records.h"
#include "batch/ZipArchive.h"

struct WorkbookLimits {
  ZipLimits Zip;
  // Parts kept in memory whole (shared strings, styles, the workbook and its
  // relationships): a million employees with a distinct name and code each
  // come to some 40 MB of shared strings.
  std::uint64_t KeptPartBytes = std::uint64_t{64} << 20;
  // The most a spreadsheet holds: Excel's and LibreOffice's grid.
  std::size_t Columns = 16384;
  std::size_t Rows = 1048576;
  // One row's cells together; a real row is a few kilobytes.
  std::size_t RowBytes = std::size_t{64} << 20;
  // What the rows of a sheet expand to, each cell counted as its text and
  // CellOverhead: repeated ODS cells and rows, and shared strings used again,
  // can make a small part expand without end. A million rows of 50 cells
  // stay well below it.
  std::uint64_t SheetBytes = std::uint64_t{8} << 30;
  std::size_t CellOverhead = 32;
};

struct WorkbookOptions {
  std::optional<std::string> Sheet;    // by its exact name; the first sheet otherwise
  std::string DecimalSeparator = ".";  // number cells are written with it, for the run's conversion
  WorkbookLimits Limits;
};

// The first bytes of a zip archive, or of a compound file (an encrypted
// Office document or an old .xls).
bool StartsLikeZip(const unsigned char* Data, std::size_t Size);
bool StartsLikeCompoundFile(const unsigned char* Data, std::size_t Size);

class Workbook {
 public:
  // Finds the kind of workbook, the sheet's part and what every pass needs
  // (shared strings, styles). FileName names the file in messages. Throws
  // BatchFileError for an archive that is no workbook, an encrypted one or a
  // damaged one.
  static std::unique_ptr<Workbook> Open(std::unique_ptr<ZipArchive> Archive, const WorkbookOptions& Options,
                                        const std::string& FileName);
  virtual ~Workbook() = default;

  // A reader over the sheet from its first row: one per pass. Rows without
  // a cell are passed over; a sheet without any row throws EmptySheet.
  virtual std::unique_ptr<RecordReader> Rows() const = 0;
  virtual const char* Kind() const = 0;  // "xlsx" or "ods"
};

// Used by the XLSX and ODS readers.
namespace WorkbookDetail {

std::unique_ptr<Workbook> OpenXlsx(std::unique_ptr<ZipArchive> Archive, const WorkbookOptions& Options,
                                   const std::string& FileName);
std::unique_ptr<Workbook> OpenOds(std::unique_ptr<ZipArchive> Archive, const WorkbookOptions& Options);

// Collects the cells of one row at their columns, within the limits.
class RowBuilder {
 public:
  explicit RowBuilder(const WorkbookLimits& Limits) : FLimits(Limits) {}
  void Start(std::size_t Row);
  // Repeat copies of a cell from Column (from 0); an empty text without a
  // kind only moves on, so padding costs nothing.
  void Place(std::size_t Column, std::string Text, std::optional<CellKind> Kind, std::uint64_t Repeat = 1);
  bool HasCells() const { return !FRecord.Cells.empty(); }
  const CsvRecord& Record() const { return FRecord; }
  // Hands the row over; the builder is left with the cells Out had.
  void Take(CsvRecord& Out);
  // The row again, Repeat times in all (ODS rows repeat); counts the sheet's size.
  void Count(std::uint64_t Repeat = 1);

 private:
  const WorkbookLimits& FLimits;
  CsvRecord FRecord;
  std::size_t FRowBytes = 0;
  std::uint64_t FSheetBytes = 0;
};

// Appends Size bytes to Text unless it has passed MaxFieldBytes; true while
// it has not.
bool AppendCellText(std::string& Text, const char* Data, std::size_t Size);

// "2024-03-01" or "2024-03-01T08:30:00" for a spreadsheet date serial, in the
// 1900 system (with its 29 February 1900) or the 1904 one; nullopt outside
// the years 1 to 9999.
std::optional<std::string> DateOfSerial(const std::string& Serial, bool Date1904);

// What a number format shows a number as. Codes are Excel's: a date has a
// d, m, y, h or s outside quotes and brackets ([h] is elapsed time), a
// percentage a % sign.
enum class NumberFormatKind { Plain, Date, Percentage };
NumberFormatKind KindOfNumberFormat(const std::string& Code);
// Excel's built-in formats (ids below 164) have no code in the file.
NumberFormatKind KindOfBuiltInFormat(unsigned long Id);

// Numbers are written with a full stop; the run may read another separator.
std::string WithDecimalSeparator(std::string Number, const std::string& Separator);

}  // namespace WorkbookDetail
