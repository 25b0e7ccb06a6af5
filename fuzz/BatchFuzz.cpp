// SPDX-License-Identifier: GPL-3.0-or-later
// The batch program's reader and row pipeline on an arbitrary input file.
// Every input ends either in one Persian file error (from the known set, on
// a line the file has) or in records that: come out the same however the
// bytes are split between reads; start on increasing lines; parse back to
// the same cells when written again with full quoting; and each go through
// the window's path to a report of 9 to 32 lines or to a message naming no
// column or an input column.
//
// Input: one byte choosing the decimal separator (bits 0-1), the thousands
// separator (bits 2-3), whether base values fill empty fields (bit 4),
// whether the derivation is made (bit 5) and the encoding asked for (bits
// 6-7: none, UTF-8, UTF-16, Windows-1256), then the file's bytes.
#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "batch/BatchTexts.h"
#include "batch/Columns.h"
#include "batch/CsvReader.h"
#include "batch/Pipeline.h"
#include "fuzz/FuzzCheck.h"

namespace {

const char* const DecimalSeparators[] = {".", ",", "\u066B", "."};
const char* const ThousandSeparators[] = {",", "", "\u066C", "."};
const CsvEncoding Encodings[] = {CsvEncoding::Auto, CsvEncoding::Utf8, CsvEncoding::Utf16, CsvEncoding::Windows1256};
const BaseValues Base = {"3216", "55000000", "60000000", "5000000", "2000000", "", "1500", "70000000"};

// Hands out 1 to 7 bytes per read, in a pattern taken from the data.
class SplitSource : public ByteSource {
 public:
  explicit SplitSource(const std::string& Bytes) : FBytes(Bytes) {}
  std::size_t Read(char* Buffer, std::size_t Size) override {
    const std::size_t want = 1 + (FPos * 7 + FBytes.size()) % 7;
    const std::size_t n = std::min({Size, want, FBytes.size() - FPos});
    std::memcpy(Buffer, FBytes.data() + FPos, n);
    FPos += n;
    return n;
  }

 private:
  const std::string& FBytes;
  std::size_t FPos = 0;
};

struct Outcome {
  std::vector<CsvRecord> Records;
  bool Failed = false;
  std::size_t Line = 0;
  std::string Message;
  char Delimiter = 0;
};

Outcome ReadAll(ByteSource& Source, CsvEncoding Encoding = CsvEncoding::Auto) {
  Outcome outcome;
  try {
    CsvReader reader(Source, Encoding);
    outcome.Delimiter = reader.Delimiter();
    CsvRecord record;
    while (reader.Next(record)) outcome.Records.push_back(record);
  } catch (const BatchFileError& error) {
    outcome.Failed = true;
    outcome.Line = error.Line();
    outcome.Message = error.what();
  }
  return outcome;
}

bool KnownFileError(const std::string& Message) {
  const std::string tooLong = BatchTexts::Fill(BatchTexts::FieldTooLong, {std::to_string(MaxFieldBytes)});
  for (const char* text : {BatchTexts::NulByte, BatchTexts::InvalidUtf8, BatchTexts::InvalidUtf16,
                           BatchTexts::UnclosedQuote, BatchTexts::MisplacedQuote})
    if (Message == text) return true;
  for (const char* mark : {"UTF-8", "UTF-16"})
    for (const char* given : {"utf-8", "utf-16", "windows-1256"})
      if (Message == BatchTexts::Fill(BatchTexts::MarkContradictsEncoding, {mark, given})) return true;
  return Message == tooLong;
}

std::size_t LineCount(const std::string& Bytes) {
  std::size_t lines = 1;
  for (std::size_t i = 0; i < Bytes.size(); ++i)
    if (Bytes[i] == '\n' || (Bytes[i] == '\r' && (i + 1 == Bytes.size() || Bytes[i + 1] != '\n'))) ++lines;
  return lines;
}

// Every cell quoted, quotes doubled: the reader must give the same cells back.
std::string Requoted(const std::vector<CsvRecord>& Records, char Delimiter) {
  std::string text;
  for (const CsvRecord& record : Records) {
    for (std::size_t k = 0; k < record.Cells.size(); ++k) {
      if (k) text += Delimiter;
      text += '"';
      for (char c : record.Cells[k]) text += c == '"' ? std::string("\"\"") : std::string(1, c);
      text += '"';
    }
    text += "\r\n";
  }
  return text;
}

std::vector<std::vector<std::string>> CellsOf(const std::vector<CsvRecord>& Records) {
  std::vector<std::vector<std::string>> cells;
  for (const CsvRecord& record : Records) cells.push_back(record.Cells);
  return cells;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) return 0;
  const std::uint8_t options = Data[0];
  const std::string bytes(reinterpret_cast<const char*>(Data) + 1, Size - 1);

  const CsvEncoding encoding = Encodings[options >> 6];
  MemorySource whole(bytes);
  const Outcome read = ReadAll(whole, encoding);
  SplitSource split(bytes);
  const Outcome dripped = ReadAll(split, encoding);
  Require(read.Failed == dripped.Failed && read.Line == dripped.Line && read.Message == dripped.Message,
          "the outcome depends on how the bytes were read", [&] { return read.Message + " / " + dripped.Message; });
  Require(CellsOf(read.Records) == CellsOf(dripped.Records), "the records depend on how the bytes were read");
  if (read.Failed) {
    Require(KnownFileError(read.Message), "unknown file error", [&] { return Printable(read.Message); });
    Require(read.Line >= 1 && read.Line <= LineCount(bytes), "file error on a line the file does not have",
            [&] { return std::to_string(read.Line); });
    return 0;
  }

  std::size_t previous = 0;
  for (const CsvRecord& record : read.Records) {
    Require(record.Line > previous && record.Line <= LineCount(bytes), "record lines out of order",
            [&] { return std::to_string(record.Line); });
    Require(!record.Cells.empty(), "a record without cells");
    previous = record.Line;
  }
  if (read.Records.empty()) return 0;
  {
    // Blank lines vanish and cells keep their text: what remains must survive.
    const std::string again = Requoted(read.Records, read.Delimiter);
    MemorySource source(again);
    const Outcome reread = ReadAll(source);
    Require(!reread.Failed && CellsOf(reread.Records) == CellsOf(read.Records),
            "the cells written again with full quoting read back differently");
  }

  ColumnLayout layout;
  try {
    layout = MapColumns(read.Records[0].Cells, read.Records[0].Line);
  } catch (const BatchFileError& error) {
    Require(error.Line() == read.Records[0].Line, "header error off the header's line");
    return 0;
  }
  std::set<int> inputColumns;
  for (int column : layout.InputColumn)
    if (column >= 0) Require(inputColumns.insert(column).second, "two inputs from one column");
  Require(inputColumns.size() + layout.IdColumns.size() == layout.Width(), "a column neither input nor identification");

  PipelineOptions pipeline;
  pipeline.Format = NumberFormatFromSettings(DecimalSeparators[options & 3], ThousandSeparators[options >> 2 & 3]);
  pipeline.Base = options & 16 ? &Base : nullptr;
  pipeline.Report = true;
  pipeline.Explain = (options & 32) != 0;
  RowRecord row;
  for (std::size_t k = 1; k < read.Records.size(); ++k) {
    ProcessRow(layout, read.Records[k], pipeline, row);
    Require(row.Ids.size() == layout.IdColumns.size(), "identification cells missing");
    if (row.Computed) {
      Require(row.Report.size() >= 9 && row.Report.size() <= 32, "report of fewer than 9 or more than 32 lines");
      Require(row.Explain.empty() != pipeline.Explain, "a derivation made or missing against the option");
      continue;
    }
    Require(!row.Error.Message.empty(), "a refused row without a message");
    Require(row.Error.Column == -1 || inputColumns.count(row.Error.Column) == 1,
            "a refused row names a column that is no input", [&] { return std::to_string(row.Error.Column); });
  }
  return 0;
}
