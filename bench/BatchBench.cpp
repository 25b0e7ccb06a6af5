// SPDX-License-Identifier: GPL-3.0-or-later
// salary-decree-batch on 100 000 employees: the whole run as the program
// makes it (both passes, temporary file, fsync, rename), CSV in to CSV out
// and to JSON Lines, the same employees in an Excel workbook to CSV out, and
// the pipeline alone in memory. Prints rows per second.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>
#include <xlsxwriter.h>

#include "batch/BatchRun.h"
#include "batch/CsvReader.h"
#include "batch/Pipeline.h"
#include "batch/Writers.h"

namespace {

namespace fs = std::filesystem;

constexpr int Rows = 100000;

// Employees of every group with varied figures; one in a hundred refused.
std::string EmployeesCsv() {
  std::string text =
      "شماره پرسنلی,نام,Coefficient,DeclaredMinimumSalary,EffectiveMinimumSalary,MinimumSalaryAndBenefits,"
      "FamilyAllowanceRate,ChildAllowanceRate,EmployeeGroup,IncentiveGroupCount,PreviousBaseSalary,"
      "PreviousSeniorityIncrease,SeniorityIncreasePercent,Note12Difference,InsuranceType,ChildCount,"
      "HeadOfHousehold,VeteranEligible,AdjustmentEligible,Article26Eligible,JobPercent,AttractionPercent,"
      "SpecialPercent,DeprivationPercent,BadClimatePercent,ShiftWorkPercent,OperationalZonePercent,"
      "OperationalZoneWideBase,ClauseBItem3Amount,ClauseBItem3InHousing\r\n";
  for (int k = 0; k < Rows; ++k) {
    const int group = 1 + k % 20;
    const int incentive = group > 3 ? k % 3 : 0;
    text += std::to_string(100000 + k) + ",کارمند " + std::to_string(k) + ",3216,";
    text += std::to_string(50000000 + 1000 * (k % 97)) + ",60000000,70000000,5000000,2000000,";
    text += (k % 100 == 99 ? "25" : std::to_string(group)) + "," + std::to_string(incentive) + ",";
    text += std::to_string(20000000 + 137 * k) + "," + std::to_string(3000000 + 11 * k) + ",5,";
    text += std::to_string(k % 5 * 10000) + "," + std::to_string(k % 2) + "," + std::to_string(k % 4) + ",";
    text += std::string(k % 3 ? "1" : "0") + "," + (k % 7 ? "0" : "1") + ",1," + (k % 11 ? "0" : "1") + ",";
    text += std::to_string(10 + k % 40) + "," + std::to_string(20 + k % 50) + "," + std::to_string(k % 30) + ",";
    text += std::to_string(k % 10) + "," + std::to_string(k % 6) + "," + std::to_string(k % 25) + ",";
    text += std::to_string(k % 2 ? 20 : 0) + "," + (k % 2 ? "1" : "0") + "," + std::to_string(k % 4 * 100000) + ",";
    text += (k % 5 ? "0" : "1");
    text += "\r\n";
  }
  return text;
}

// The same employees as Excel keeps them: numbers as numbers, texts in the
// shared strings table.
void WriteWorkbook(const std::string& Csv, const std::string& Path) {
  lxw_workbook* book = workbook_new(Path.c_str());
  lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
  lxw_row_t row = 0;
  std::size_t start = 0;
  while (start < Csv.size()) {
    const std::size_t end = Csv.find("\r\n", start);
    lxw_col_t column = 0;
    std::size_t cell = start;
    for (;;) {
      const std::size_t comma = std::min(Csv.find(',', cell), end);
      const std::string text = Csv.substr(cell, comma - cell);
      const bool number = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
      if (number && row > 0)
        worksheet_write_number(sheet, row, column, std::stod(text), nullptr);
      else if (!text.empty())
        worksheet_write_string(sheet, row, column, text.c_str(), nullptr);
      ++column;
      if (comma == end) break;
      cell = comma + 1;
    }
    ++row;
    start = end + 2;
  }
  workbook_close(book);
}

class Folder {
 public:
  Folder() {
    char name[] = "/tmp/batch-bench-XXXXXX";
    FPath = ::mkdtemp(name);
    const std::string csv = EmployeesCsv();
    std::ofstream(Input(), std::ios::binary) << csv;
    WriteWorkbook(csv, Workbook());
  }
  ~Folder() { fs::remove_all(FPath); }
  std::string Input() const { return FPath + "/employees.csv"; }
  std::string Workbook() const { return FPath + "/employees.xlsx"; }
  std::string Output(const char* Name) const { return FPath + "/" + Name; }

 private:
  std::string FPath;
};

const Folder& Files() {
  static const Folder Instance;
  return Instance;
}

// Standard output to /dev/null while the run writes JSON Lines there.
class Silenced {
 public:
  Silenced() : FSaved(::dup(STDOUT_FILENO)) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::close(null);
  }
  ~Silenced() {
    ::dup2(FSaved, STDOUT_FILENO);
    ::close(FSaved);
  }

 private:
  int FSaved;
};

void RunWhole(benchmark::State& State, bool Json, bool Workbook = false) {
  BatchOptions options;
  options.Input = Workbook ? Files().Workbook() : Files().Input();
  if (Json)
    options.Json = true;
  else
    options.Csv = Files().Output("results.csv");
  std::FILE* err = std::fopen("/dev/null", "w");
  for (auto _ : State) {
    Silenced quiet;
    const int status = RunBatch(options, nullptr, err);
    if (status != 1) State.SkipWithError("unexpected exit status");
  }
  std::fclose(err);
  State.SetItemsProcessed(State.iterations() * Rows);
}

void CsvToCsv(benchmark::State& State) { RunWhole(State, false); }
void CsvToJson(benchmark::State& State) { RunWhole(State, true); }
void XlsxToCsv(benchmark::State& State) { RunWhole(State, false, true); }

// Parsing, reading, checking and computing, and the CSV writer, in memory.
void PipelineInMemory(benchmark::State& State) {
  const std::string text = EmployeesCsv();
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  for (auto _ : State) {
    MemorySource source(text);
    CsvReader reader(source);
    CsvRecord record;
    reader.Next(record);
    const ColumnLayout layout = MapColumns(record.Cells, record.Line);
    OutputStream out(null, "/dev/null");
    CsvWriter writer(out, false, false);
    BatchHeader header;
    header.Layout = &layout;
    writer.Begin(header);
    PipelineOptions options;
    RowRecord row;
    while (reader.Next(record)) {
      ProcessRow(layout, record, options, row);
      writer.Write(row);
    }
    writer.Finish();
  }
  ::close(null);
  State.SetItemsProcessed(State.iterations() * Rows);
}

}  // namespace

BENCHMARK(CsvToCsv)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(CsvToJson)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(XlsxToCsv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(PipelineInMemory)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
