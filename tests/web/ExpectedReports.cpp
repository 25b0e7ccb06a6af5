// SPDX-License-Identifier: GPL-3.0-or-later
// The report lines of the worked decrees A and B as the native core makes
// them (the decree tests pin its figures), for the browser tests to compare
// the page's lines with: web_expected_reports [THOUSANDS-SEPARATOR] prints
// {"A": [lines], "B": [lines]} as JSON.
#include <cstdio>
#include <string>
#include <vector>

#include "decree/DecreeReport.h"
#include "tests/decree/WorkedInputs.h"

namespace {

void PrintLines(const std::vector<std::string>& Lines) {
  std::printf("[");
  for (std::size_t I = 0; I < Lines.size(); ++I) {
    std::string Quoted = "\"";
    for (const char C : Lines[I]) {
      if (C == '"' || C == '\\') Quoted += '\\';
      Quoted += C;
    }
    std::printf("%s%s\"", I ? "," : "", Quoted.c_str());
  }
  std::printf("]");
}

}  // namespace

int main(int Argc, char** Argv) {
  NumberFormat Format;
  if (Argc > 1) Format.ThousandSeparator = Argv[1];
  std::printf("{\"A\":");
  PrintLines(BuildDecreeReport(ComputeDecree(WorkedA(), GroupPointsTable), Format));
  std::printf(",\"B\":");
  PrintLines(BuildDecreeReport(ComputeDecree(WorkedB(), GroupPointsTable), Format));
  std::printf("}\n");
  return 0;
}
