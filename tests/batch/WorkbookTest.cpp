// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "batch/BatchTexts.h"
#include "batch/Workbook.h"
#include "tests/batch/ZipInMemory.h"

namespace {

using namespace WorkbookDetail;

std::string Zip(const std::map<std::string, std::string>& Parts, bool Deflate = true) {
  return ZipInMemory(Parts, Deflate);
}

const std::string Main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const std::string Relationship = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

std::map<std::string, std::string> Xlsx(const std::string& Rows) {
  return {{"[Content_Types].xml", "<Types/>"},
          {"xl/workbook.xml", "<workbook xmlns=\"" + Main + "\" xmlns:r=\"" + Relationship +
                                  "\"><sheets><sheet name=\"a\" r:id=\"s\"/></sheets></workbook>"},
          {"xl/_rels/workbook.xml.rels", "<Relationships><Relationship Id=\"s\" Type=\"" + Relationship +
                                             "/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
          {"xl/worksheets/sheet1.xml",
           "<worksheet xmlns=\"" + Main + "\"><sheetData>" + Rows + "</sheetData></worksheet>"}};
}

std::map<std::string, std::string> Ods(const std::string& Rows) {
  const std::string ns = "urn:oasis:names:tc:opendocument:xmlns:";
  return {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
          {"content.xml", "<office:document-content xmlns:office=\"" + ns + "office:1.0\" xmlns:table=\"" + ns +
                              "table:1.0\" xmlns:text=\"" + ns +
                              "text:1.0\"><office:body><office:spreadsheet>"
                              "<table:table table:name=\"a\">" +
                              Rows + "</table:table></office:spreadsheet></office:body></office:document-content>"}};
}

std::string OdsCell(const std::string& Text, const std::string& Repeat = "1") {
  return "<table:table-cell table:number-columns-repeated=\"" + Repeat + "\" office:value-type=\"string\"><text:p>" +
         Text + "</text:p></table:table-cell>";
}

struct Outcome {
  std::vector<CsvRecord> Records;
  std::string Error;  // the message of a refusal
  std::size_t Line = 0;
};

Outcome Read(const std::string& Bytes, const WorkbookLimits& Limits = WorkbookLimits()) {
  Outcome outcome;
  try {
    WorkbookOptions options;
    options.Limits = Limits;
    const auto book = Workbook::Open(ZipArchive::FromMemory(Bytes, Limits.Zip), options, "book");
    const auto rows = book->Rows();
    CsvRecord record;
    while (rows->Next(record)) outcome.Records.push_back(record);
  } catch (const BatchFileError& error) {
    outcome.Error = error.what();
    outcome.Line = error.Line();
  }
  return outcome;
}

TEST(Workbook, NumberFormatsThatShowDatesAndPercentages) {
  struct Row {
    const char* Code;
    NumberFormatKind Kind;
  } rows[] = {
      {"General", NumberFormatKind::Plain},      {"#,##0.00", NumberFormatKind::Plain},
      {"0.00E+00", NumberFormatKind::Plain},     {"#,##0 \"days\"", NumberFormatKind::Plain},  // quoted text
      {"0\\d", NumberFormatKind::Plain},                                                       // an escaped letter
      {"[Red][<0]0;0", NumberFormatKind::Plain},                                               // colour and condition
      {"yyyy/mm/dd", NumberFormatKind::Date},    {"[$-fa-IR,16]d mmmm yyyy", NumberFormatKind::Date},
      {"h:mm AM/PM", NumberFormatKind::Date},    {"[h]:mm", NumberFormatKind::Date},  // elapsed time
      {"0.0%", NumberFormatKind::Percentage},    {"0\"%\"", NumberFormatKind::Plain},
  };
  for (const Row& row : rows) EXPECT_EQ(KindOfNumberFormat(row.Code), row.Kind) << row.Code;
  EXPECT_EQ(KindOfBuiltInFormat(14), NumberFormatKind::Date);
  EXPECT_EQ(KindOfBuiltInFormat(10), NumberFormatKind::Percentage);
  EXPECT_EQ(KindOfBuiltInFormat(3), NumberFormatKind::Plain);
}

TEST(Workbook, DateSerialsOfBothSystems) {
  struct Row {
    const char* Serial;
    bool Date1904;
    std::optional<std::string> Text;
  } rows[] = {
      {"1", false, "1900-01-01"},
      {"59", false, "1900-02-28"},
      {"60", false, "1900-02-29"},  // the leap day 1900 never had
      {"61", false, "1900-03-01"},
      {"45371", false, "2024-03-20"},
      {"45371.75", false, "2024-03-20T18:00:00"},
      {"0.99999999", false, "1900-01-01"},  // rounds to midnight of the next day
      {"0", true, "1904-01-01"},
      {"43909", true, "2024-03-20"},
      {"2958465", false, "9999-12-31"},
      {"2958466", false, std::nullopt},
      {"-1", false, std::nullopt},
      {"abc", false, std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(DateOfSerial(row.Serial, row.Date1904), row.Text) << row.Serial;
}

TEST(Workbook, ALongSheetComesRowByRowAndAgainForTheSecondPass) {
  // Well over one 64 KiB block of XML, so the parse is paused and resumed
  // across blocks.
  std::string rows = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>n</t></is></c></row>";
  for (int k = 2; k <= 5000; ++k)
    rows += "<row r=\"" + std::to_string(k) + "\"><c><v>" + std::to_string(k) + "</v></c></row>";
  for (const bool deflate : {true, false}) {
    SCOPED_TRACE(deflate ? "deflated" : "stored");
    const std::string bytes = Zip(Xlsx(rows), deflate);
    const auto book = Workbook::Open(ZipArchive::FromMemory(bytes), WorkbookOptions(), "book");
    for (int pass = 0; pass < 2; ++pass) {
      const auto reader = book->Rows();
      CsvRecord record;
      std::size_t count = 0;
      while (reader->Next(record)) {
        ++count;
        ASSERT_EQ(record.Line, count);
        ASSERT_EQ(record.Cells, std::vector<std::string>{count == 1 ? "n" : std::to_string(count)});
      }
      EXPECT_EQ(count, 5000u);
    }
  }
}

WorkbookLimits Small() {
  WorkbookLimits limits;
  limits.Columns = 4;
  limits.Rows = 10;
  limits.RowBytes = 10;
  limits.SheetBytes = 80;
  limits.CellOverhead = 0;
  limits.KeptPartBytes = 400;
  limits.Zip.PartBytes = 4000;
  return limits;
}

TEST(Workbook, LimitsRefuseWhatWouldExpandWithoutEnd) {
  const std::string cell = "<c t=\"inlineStr\"><is><t>x</t></is></c>";
  auto paddedWorkbook = Xlsx("<row>" + cell + "</row>");
  paddedWorkbook["xl/workbook.xml"] += std::string(500, ' ');
  struct Row {
    const char* Name;
    std::map<std::string, std::string> Parts;
    WorkbookLimits Limits;
    std::string Error;
    std::size_t Line;
  } rows[] = {
      {"a fifth column", Xlsx("<row r=\"2\">" + cell + cell + cell + cell + cell + "</row>"), Small(),
       BatchTexts::Fill(BatchTexts::TooManyColumns, {"4"}), 2},
      {"empty cells past the grid cost nothing", Xlsx("<row>" + cell + "<c r=\"ZZ1\"/></row>"), Small(), "", 0},
      {"a row past the grid", Xlsx("<row r=\"11\">" + cell + "</row>"), Small(),
       BatchTexts::Fill(BatchTexts::TooManyRows, {"10"}), 0},
      {"a row repeated past the grid",
       Ods("<table:table-row table:number-rows-repeated=\"1000000\">" + OdsCell("abc", "3") + "</table:table-row>"),
       Small(), BatchTexts::Fill(BatchTexts::TooManyRows, {"10"}), 0},
      {"a row of eleven bytes", Ods("<table:table-row>" + OdsCell("abcdef") + OdsCell("ghijk") + "</table:table-row>"),
       Small(), BatchTexts::Fill(BatchTexts::RowTooLong, {"10"}), 1},
      {"rows within the grid that expand past the sheet's size",
       Ods("<table:table-row table:number-rows-repeated=\"9\">" + OdsCell("abcdefghij") + "</table:table-row>"),
       Small(), BatchTexts::Fill(BatchTexts::SheetExpandsTooFar, {"80"}), 0},
      {"a part kept in memory over its limit", paddedWorkbook, Small(),
       BatchTexts::Fill(BatchTexts::PartTooLarge, {"xl/workbook.xml", "400"}), 0},
      {"a sheet over the part limit", Xlsx(std::string(5000, ' ')), Small(),
       BatchTexts::Fill(BatchTexts::PartTooLarge, {"xl/worksheets/sheet1.xml", "4000"}), 0},
      {"a tag over 4 MiB", Xlsx("<row spans=\"" + std::string(5 << 20, '1') + "\"/>"), WorkbookLimits(),
       BatchTexts::Fill(BatchTexts::DamagedXml, {"xl/worksheets/sheet1.xml", "a tag of over 4194304 bytes"}), 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    const Outcome outcome = Read(Zip(row.Parts), row.Limits);
    EXPECT_EQ(outcome.Error, row.Error);
    EXPECT_EQ(outcome.Line, row.Line);
  }
}

TEST(Workbook, AZipBombIsRefusedBeforeItIsUnpacked) {
  WorkbookLimits limits;
  limits.Zip.RatioFloorBytes = 1 << 20;
  const Outcome outcome = Read(Zip(Xlsx(std::string(2 << 20, ' '))), limits);
  EXPECT_EQ(outcome.Error, BatchTexts::Fill(BatchTexts::PartTooCompressed, {"xl/worksheets/sheet1.xml", "400"}));
}

}  // namespace
