// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "batch/OutputFile.h"
#include "batch/Writers.h"
#include "decree/DecreeReport.h"
#include "tests/batch/BatchRows.h"
#include "tests/decree/WorkedInputs.h"

using namespace std::string_literals;

namespace {

using namespace BatchTest;

// What a writer put into a pipe.
class Captured {
 public:
  Captured() {
    if (::pipe(FPipe) != 0) ADD_FAILURE() << "pipe";
  }
  ~Captured() {
    ::close(FPipe[0]);
    if (FPipe[1] >= 0) ::close(FPipe[1]);
  }
  int Fd() const { return FPipe[1]; }
  std::string Text() {
    ::close(FPipe[1]);
    FPipe[1] = -1;
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(FPipe[0], buffer, sizeof buffer)) > 0;)
      text.append(buffer, static_cast<std::size_t>(n));
    return text;
  }

 private:
  int FPipe[2] = {-1, -1};
};

RowRecord Computed(const std::vector<std::string>& Ids) {
  RowRecord row;
  row.Line = 2;
  row.Ids = Ids;
  row.Computed = true;
  row.Result = ComputeDecree(WorkedA(), GroupPointsTable);
  return row;
}

RowRecord Refused(const std::vector<std::string>& Ids, const std::string& Message, int Column) {
  RowRecord row;
  row.Line = 3;
  row.Ids = Ids;
  row.Error.Message = Message;
  row.Error.Column = Column;
  return row;
}

const std::string ValuesA =
    "880000,136000,176000,984000,3000000,2588000,776400,0,0,0,300000,200000,0,0,1016000,0,140000,0,0,0,0,0,0,"
    "408600,277200,9366200,9866200,0,1873240,11739440";
const std::string ResultNames =
    "BaseSalary,SeniorityIncrease,JobAllowance,MinimumPayDifference,SalaryRepair,AttractionAllowance,"
    "SpecialAllowance,ParticularAllowance,Note12Adjustment,LivingFacilitiesDeprivation,FamilyAllowance,"
    "ChildAllowance,VeteranAllowance,ClauseBItem3Allowance,BasicSalary,BadClimateAllowance,ShiftWorkAllowance,"
    "HardshipAllowance,OperationalZoneAllowance,DeprivedRegionAllowance,RadiationWorkAllowance,Article26Allowance,"
    "BorderDeprivationAllowance,AdjustmentAllowance,IncentiveGroupsDifference,HousingBase,ItemsTotal,"
    "SeniorityMinimumDifference,HousingAllowance,GrandTotal";

TEST(CsvWriter, ExactBytesWithQuotingOnlyWhereNeeded) {
  const Sheet sheet({"نام", "Coefficient", "شماره, پرسنلی", "Edit6"});
  BatchHeader header;
  header.Layout = &sheet.Layout;
  header.ByteOrderMark = true;
  struct Row {
    const char* Name;
    bool File;
    std::string Expected;
  } rows[] = {
      {"a file gets the mark", true, "\xEF\xBB\xBF"},
      {"a pipe does not", false, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    Captured pipe;
    OutputStream out(pipe.Fd(), "pipe");
    CsvWriter writer(out, false, row.File);
    writer.Begin(header);
    writer.Write(Computed({"say \"hi\"", "12,5"}));
    writer.Write(Refused({"two\nlines", ""}, "'12a' is not a valid floating point value.", 3));
    writer.Finish();
    EXPECT_EQ(pipe.Text(), row.Expected + "نام,\"شماره, پرسنلی\"," + ResultNames + ",error,error_column\r\n" +
                               "\"say \"\"hi\"\"\",\"12,5\"," + ValuesA + ",,\r\n" + "\"two\nlines\",," +
                               std::string(30, ',') + "'12a' is not a valid floating point value.,Edit6\r\n");
  }
}

TEST(CsvWriter, ExactValuesAndTheInputsDelimiter) {
  const Sheet sheet({"id"});
  BatchHeader header;
  header.Layout = &sheet.Layout;
  header.Delimiter = ';';
  Captured pipe;
  OutputStream out(pipe.Fd(), "pipe");
  CsvWriter writer(out, true, false);
  writer.Begin(header);
  RowRecord row = Computed({"x;y"});
  row.Result.BaseSalary = 0.1;
  row.Result.JobAllowance = -2.5;
  writer.Write(row);
  writer.Finish();
  const std::string text = pipe.Text();
  const std::string line = text.substr(text.find("\r\n") + 2);
  const std::string start = "\"x;y\";0.1;136000;-2.5;";
  EXPECT_EQ(line.substr(0, start.size()), start);
}

TEST(SafeFileName, MadeSafeForAFileName) {
  struct Row {
    std::string Cell;
    std::string Name;
  } rows[] = {
      {"1001", "1001"},
      {"مریم احمدی", "مریم احمدی"},
      {"../x/y", "_._x_y"},
      {"..", ""},
      {".", ""},
      {"", ""},
      {"   ", ""},
      {".hidden", "_hidden"},
      {"a\tb\x01"
       "c",
       "a_b_c"},
      {"a:b*c?d\"e<f>g|h\\i", "a_b_c_d_e_f_g_h_i"},
      {" padded ", "padded"},
      {std::string(300, 'x'), std::string(200, 'x')},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Cell.substr(0, 20));
    EXPECT_EQ(SafeFileName(row.Cell), row.Name);
  }
}

TEST(SafeFileName, CutBetweenLettersNeverInsideOne) {
  std::string cell = "x", name = "x";
  for (int k = 0; k < 150; ++k) cell += "م";  // 301 bytes of two-byte letters after the x
  for (int k = 0; k < 99; ++k) name += "م";   // 199 bytes: the 200th would split a letter
  EXPECT_EQ(SafeFileName(cell), name);
}

TEST(ReportFilesWriter, NamesFromTheFirstIdentificationCellOrTheLine) {
  ReportFilesWriter writer("/nonexistent");
  struct Row {
    std::size_t Line;
    std::vector<std::string> Ids;
    const char* Name;
  } rows[] = {
      {2, {"1001", "a"}, "1001.txt"},
      {3, {"1002", "b"}, "1002.txt"},
      {4, {"1001", "c"}, "1001-4.txt"},
      {5, {"", "d"}, "5.txt"},
      {6, {"..", "e"}, "6.txt"},
      {7, {"1001-4", "f"}, "1001-4-7.txt"},
      {8, {}, "8.txt"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    RowRecord record;
    record.Line = row.Line;
    record.Ids = row.Ids;
    EXPECT_EQ(writer.NameFor(record), row.Name);
  }
}

TEST(ReportFileText, LinesOrTheErrorAndItsColumn) {
  const Sheet sheet({"id", "EmployeeGroup"});
  RowRecord computed = Computed({"1"});
  computed.Report = {"     a", "     b"};
  EXPECT_EQ(ReportFileText(sheet.Layout, computed), "     a\n     b\n");
  computed.Explain = {"     c"};
  EXPECT_EQ(ReportFileText(sheet.Layout, computed), "     a\n     b\n\n     c\n");
  EXPECT_EQ(ReportFileText(sheet.Layout, Refused({"1"}, "m", 1)), "m\nEmployeeGroup\n");
  EXPECT_EQ(ReportFileText(sheet.Layout, Refused({"1"}, "Floating point overflow.", -1)), "Floating point overflow.\n");
}

}  // namespace
