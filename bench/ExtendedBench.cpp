// SPDX-License-Identifier: GPL-3.0-or-later
// Decrees and text conversions per second with the number type this program
// is built with (extended_bench: long double on x86; extended_bench_portable:
// the portable type). bench/extended-bench.sh runs both and prints them side
// by side.
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

#include "decree/DecreeCompute.h"
#include "decree/DecreeReport.h"

namespace {

// Employees of every group with varied figures, some with fractions of a
// percent, so that the amounts have fractions too.
std::vector<DecreeInput> Inputs() {
  std::vector<DecreeInput> inputs;
  for (int k = 0; k < 1000; ++k) {
    DecreeInput in;
    in.Coefficient = 3216;
    in.DeclaredMinimumSalary = 50000000 + 1000 * (k % 97);
    in.EffectiveMinimumSalary = 60000000;
    in.MinimumSalaryAndBenefits = 70000000;
    in.FamilyAllowanceRate = 5000000;
    in.ChildAllowanceRate = 2000000;
    in.EmployeeGroup = 1 + k % 20;
    in.IncentiveGroupCount = in.EmployeeGroup > 3 ? k % 3 : 0;
    in.PreviousBaseSalary = 20000000 + 137 * k;
    in.PreviousSeniorityIncrease = 3000000 + 11 * k;
    in.SeniorityIncreasePercent = k % 4 == 0 ? 2.5 : 5;
    in.Note12Difference = k % 5 * 10000;
    in.InsuranceType = k % 2;
    in.ChildCount = k % 4;
    in.HeadOfHousehold = k % 3 != 0;
    in.VeteranEligible = k % 7 == 0;
    in.AdjustmentEligible = true;
    in.Article26Eligible = k % 11 == 0;
    in.JobPercent = 10 + k % 40 + (k % 3 == 0 ? 0.25 : 0);
    in.AttractionPercent = 20 + k % 50;
    in.SpecialPercent = k % 30;
    in.DeprivationPercent = k % 10;
    in.BadClimatePercent = k % 6 + 0.5;
    in.ShiftWorkPercent = k % 25;
    in.OperationalZonePercent = k % 2 ? 20 : 0;
    in.OperationalZoneWideBase = k % 2 != 0;
    in.ClauseBItem3Amount = k % 4 * 100000;
    in.ClauseBItem3InHousing = k % 5 == 0;
    inputs.push_back(in);
  }
  return inputs;
}

// What the input panel and a spreadsheet hold: whole rials, percentages, a few fractions.
const std::vector<std::string> Texts = {"3216", "50000000", "60000000", "70000000", "5000000",     "2000000",
                                        "9",    "2",        "20000000", "3000000",  "2.5",         "0",
                                        "20",   "4.84",     "12.5",     "0.1",      "20000000.75", "1234567.89",
                                        "1500", "35",       "1e6",      "007",      "400",         "4824000"};

void Decrees(benchmark::State& State) {
  const std::vector<DecreeInput> inputs = Inputs();
  for (auto _ : State)
    for (const DecreeInput& in : inputs) benchmark::DoNotOptimize(ComputeDecree(in, GroupPointsTable));
  State.counters["decrees/s"] =
      benchmark::Counter(static_cast<double>(State.iterations() * inputs.size()), benchmark::Counter::kIsRate);
}

void DecreesWithReport(benchmark::State& State) {
  const std::vector<DecreeInput> inputs = Inputs();
  const NumberFormat format;
  for (auto _ : State)
    for (const DecreeInput& in : inputs)
      benchmark::DoNotOptimize(BuildDecreeReport(ComputeDecree(in, GroupPointsTable), format));
  State.counters["decrees/s"] =
      benchmark::Counter(static_cast<double>(State.iterations() * inputs.size()), benchmark::Counter::kIsRate);
}

void Conversions(benchmark::State& State) {
  const NumberFormat format;
  for (auto _ : State)
    for (const std::string& text : Texts) benchmark::DoNotOptimize(TextToFloat(text, format));
  State.counters["conversions/s"] =
      benchmark::Counter(static_cast<double>(State.iterations() * Texts.size()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(Decrees)->Unit(benchmark::kMillisecond);
BENCHMARK(DecreesWithReport)->Unit(benchmark::kMillisecond);
BENCHMARK(Conversions)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
