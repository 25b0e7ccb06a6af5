// SPDX-License-Identifier: GPL-3.0-or-later
// The batch program's workbook reader (salary-decree-batch) on arbitrary
// archives. Every input ends either in one Persian file error (from the
// known set, on a row the sheet may have) or in rows that: come out the same
// in a second pass; have increasing row numbers within the grid; hold no
// more columns than the grid and no cell over the limit; mark only cells they
// hold; and each go through the window's path to a report or a message
// naming no column or an input column.
//
// Input: an option byte, then the archive's parts. Bit 0: ODS instead of
// XLSX; bit 1: the rest is a whole archive as it is; bit 2: parts stored
// instead of deflated; bit 3: a decimal comma. Parts are separated by
// "\n#--#\n", in the order of XlsxParts or OdsParts; a part missing from the
// end is a small valid one, a part that is just "-" is left out.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>
#include <utility>

#include "batch/BatchTexts.h"
#include "batch/Columns.h"
#include "batch/Pipeline.h"
#include "batch/Workbook.h"
#include "fuzz/FuzzCheck.h"
#include "tests/batch/ZipInMemory.h"

namespace {

struct Part {
  const char* Name;
  const char* Default;
};

#define MAIN_NS "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
#define REL_NS "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
const Part XlsxParts[] = {
    {"xl/worksheets/sheet1.xml",
     "<worksheet xmlns=\"" MAIN_NS "\"><sheetData><row><c t=\"s\"><v>0</v></c></row></sheetData></worksheet>"},
    {"xl/sharedStrings.xml", "<sst xmlns=\"" MAIN_NS "\"><si><t>Edit1</t></si></sst>"},
    {"xl/styles.xml", "<styleSheet xmlns=\"" MAIN_NS "\"><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs>"
                      "</styleSheet>"},
    {"xl/workbook.xml", "<workbook xmlns=\"" MAIN_NS "\" xmlns:r=\"" REL_NS "\"><sheets><sheet name=\"a\" r:id=\"s\"/>"
                        "</sheets></workbook>"},
    {"xl/_rels/workbook.xml.rels",
     "<Relationships><Relationship Id=\"s\" Type=\"" REL_NS "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
     "<Relationship Id=\"t\" Type=\"" REL_NS "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
     "<Relationship Id=\"u\" Type=\"" REL_NS "/styles\" Target=\"/xl/styles.xml\"/></Relationships>"},
    {"_rels/.rels", "<Relationships><Relationship Id=\"w\" Type=\"" REL_NS "/officeDocument\" "
                    "Target=\"xl/workbook.xml\"/></Relationships>"},
    {"[Content_Types].xml", "<Types/>"},
};
#undef MAIN_NS
#undef REL_NS

const Part OdsParts[] = {
    {"content.xml",
     "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
     "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
     "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>"
     "<table:table table:name=\"a\"><table:table-row><table:table-cell office:value-type=\"string\">"
     "<text:p>Edit1</text:p></table:table-cell></table:table-row></table:table></office:spreadsheet></office:body>"
     "</office:document-content>"},
    {"META-INF/manifest.xml",
     "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\"/>"},
    {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
};

const char Separator[] = "\n#--#\n";

std::string Archive(std::uint8_t Options, const std::string& Rest) {
  if (Options & 2) return Rest;
  const bool ods = Options & 1;
  const Part* parts = ods ? OdsParts : XlsxParts;
  const std::size_t count = ods ? std::size(OdsParts) : std::size(XlsxParts);
  std::vector<std::pair<std::string, std::string>> contents;
  std::size_t at = 0;
  for (std::size_t k = 0; k < count; ++k) {
    std::string text = parts[k].Default;
    if (at <= Rest.size()) {
      const std::size_t end = Rest.find(Separator, at);
      text = Rest.substr(at, end == std::string::npos ? std::string::npos : end - at);
      at = end == std::string::npos ? Rest.size() + 1 : end + std::strlen(Separator);
    }
    if (text != "-") contents.emplace_back(parts[k].Name, text);
  }
  return ZipInMemory(contents, !(Options & 4));
}

// Message is Template with each %n replaced by some text.
bool Matches(const std::string& Message, const char* Template) {
  std::vector<std::string> pieces(1);
  for (const char* p = Template; *p; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
      pieces.emplace_back();
      ++p;
    } else {
      pieces.back() += *p;
    }
  }
  if (pieces.size() == 1) return Message == pieces[0];
  const std::string &first = pieces.front(), &last = pieces.back();
  if (Message.size() < first.size() + last.size() || Message.compare(0, first.size(), first) != 0 ||
      Message.compare(Message.size() - last.size(), last.size(), last) != 0)
    return false;
  std::size_t at = first.size();
  const std::size_t end = Message.size() - last.size();
  for (std::size_t k = 1; k + 1 < pieces.size(); ++k) {
    const std::size_t found = Message.find(pieces[k], at);
    if (found == std::string::npos || found + pieces[k].size() > end) return false;
    at = found + pieces[k].size();
  }
  return true;
}

bool KnownError(const std::string& Message) {
  for (const char* text :
       {BatchTexts::NotAWorkbook,          BatchTexts::EncryptedWorkbook,  BatchTexts::DamagedArchive,
        BatchTexts::MissingPart,           BatchTexts::DamagedPart,        BatchTexts::DamagedXml,
        BatchTexts::XmlDeclarations,       BatchTexts::PartTooLarge,       BatchTexts::PartTooCompressed,
        BatchTexts::SharedStringsTooLarge, BatchTexts::SheetExpandsTooFar, BatchTexts::NoSheets,
        BatchTexts::NoSuchSheet,           BatchTexts::NotAWorksheet,      BatchTexts::EmptySheet,
        BatchTexts::TooManyColumns,        BatchTexts::TooManyRows,        BatchTexts::RowTooLong,
        BatchTexts::FieldTooLong,          BatchTexts::OutOfMemory})
    if (Matches(Message, text)) return true;
  return false;
}

// Limits small enough that the fuzzer spends its time on structure, not size.
WorkbookLimits Limits() {
  WorkbookLimits limits;
  limits.Rows = 2000;
  limits.Columns = 300;
  limits.RowBytes = 1 << 20;
  limits.SheetBytes = 8 << 20;
  limits.KeptPartBytes = 1 << 20;
  limits.Zip.PartBytes = 16 << 20;
  limits.Zip.RatioFloorBytes = 1 << 20;
  return limits;
}

struct Outcome {
  std::vector<CsvRecord> Records;
  std::string Error;
  std::size_t Line = 0;
};

void ReadPass(const Workbook& Book, Outcome& Out) {
  try {
    const auto rows = Book.Rows();
    CsvRecord record;
    while (rows->Next(record)) Out.Records.push_back(record);
  } catch (const BatchFileError& error) {
    Out.Error = error.what();
    Out.Line = error.Line();
  }
}

bool Same(const Outcome& A, const Outcome& B) {
  if (A.Error != B.Error || A.Line != B.Line || A.Records.size() != B.Records.size()) return false;
  for (std::size_t k = 0; k < A.Records.size(); ++k) {
    const CsvRecord &a = A.Records[k], &b = B.Records[k];
    if (a.Line != b.Line || a.Cells != b.Cells || a.Kinded.size() != b.Kinded.size()) return false;
    for (std::size_t j = 0; j < a.Kinded.size(); ++j)
      if (a.Kinded[j].Column != b.Kinded[j].Column || a.Kinded[j].Kind != b.Kinded[j].Kind) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) return 0;
  const std::uint8_t options = Data[0];
  const std::string bytes = Archive(options, std::string(reinterpret_cast<const char*>(Data) + 1, Size - 1));
  WorkbookOptions workbook;
  workbook.Limits = Limits();
  workbook.DecimalSeparator = options & 8 ? "," : ".";

  std::unique_ptr<Workbook> book;
  try {
    book = Workbook::Open(ZipArchive::FromMemory(bytes, workbook.Limits.Zip), workbook, "book");
  } catch (const BatchFileError& error) {
    Require(KnownError(error.what()), "unknown error opening the workbook", [&] { return Printable(error.what()); });
    return 0;
  }
  Outcome first, second;
  ReadPass(*book, first);
  ReadPass(*book, second);
  Require(Same(first, second), "the second pass reads differently");
  if (!first.Error.empty()) {
    Require(KnownError(first.Error), "unknown error reading the sheet", [&] { return Printable(first.Error); });
    Require(first.Line <= workbook.Limits.Rows + 1, "an error on a row past the grid");
  }
  std::size_t previous = 0;
  for (const CsvRecord& record : first.Records) {
    Require(record.Line > previous && record.Line <= workbook.Limits.Rows, "row numbers out of order or the grid",
            [&] { return std::to_string(record.Line); });
    previous = record.Line;
    Require(!record.Cells.empty() && record.Cells.size() <= workbook.Limits.Columns, "a row without cells or too wide");
    for (const std::string& cell : record.Cells) Require(cell.size() <= MaxFieldBytes, "a cell over the limit");
    std::size_t next = 0;
    for (const KindedCell& kinded : record.Kinded) {
      Require(kinded.Column < record.Cells.size() && kinded.Column >= next,
              "a marked cell outside the row or out of order");
      next = kinded.Column + 1;
    }
  }
  if (first.Records.empty()) return 0;

  ColumnLayout layout;
  try {
    layout = MapColumns(first.Records[0].Cells, first.Records[0].Line);
  } catch (const BatchFileError&) {
    return 0;
  }
  PipelineOptions pipeline;
  pipeline.Format = NumberFormatFromSettings(workbook.DecimalSeparator, ",");
  pipeline.Report = true;
  RowRecord row;
  for (std::size_t k = 1; k < first.Records.size(); ++k) {
    ProcessRow(layout, first.Records[k], pipeline, row);
    if (row.Computed) continue;
    bool input = row.Error.Column == -1;
    for (int column : layout.InputColumn) input = input || column == row.Error.Column;
    Require(!row.Error.Message.empty() && input, "a refused row without a message or naming no input column");
  }
  return 0;
}
