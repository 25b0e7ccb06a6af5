// SPDX-License-Identifier: GPL-3.0-or-later
// The report lines of the worked decrees A and B as the native core makes
// them (the decree tests pin its figures), and the names the desktop window
// gives its inputs for a screen reader, for the browser tests to compare the
// page with: web_expected_reports [THOUSANDS-SEPARATOR] prints
// {"A": [lines], "B": [lines], "names": {control: name}} as JSON.
#include <cstdio>
#include <string>
#include <vector>

#include "decree/DecreeCatalogue.h"
#include "decree/DecreeReport.h"
#include "decree/PanelLayout.h"
#include "tests/decree/WorkedInputs.h"

namespace {

std::string Quoted(const std::string& Text) {
  std::string Out = "\"";
  for (const char C : Text) {
    if (C == '"' || C == '\\') Out += '\\';
    Out += C;
  }
  return Out + '"';
}

void PrintLines(const std::vector<std::string>& Lines) {
  std::printf("[");
  for (std::size_t I = 0; I < Lines.size(); ++I) std::printf("%s%s", I ? "," : "", Quoted(Lines[I]).c_str());
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
  // What the window's SpokenName gives each input and the compute button.
  std::printf(",\"names\":{");
  for (const InputSpec& Input : Inputs)
    std::printf("%s:%s,", Quoted(Input.ControlName).c_str(), Quoted(SpokenName(Input.ControlName)).c_str());
  std::printf("\"Button1\":%s}}\n", Quoted(SpokenName("Button1")).c_str());
  return 0;
}
