// SPDX-License-Identifier: GPL-3.0-or-later
// salary-decree-batch: the window's decree for every row of a CSV file.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <string>

#include "batch/BatchRun.h"
#include "batch/BatchTexts.h"
#ifdef SALARY_DECREE_BATCH_PDF
#include "batch/PdfWriter.h"
#endif

namespace {

constexpr int UsageError = 2;

int Usage(const std::string& Message) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", ProgramName, Message.c_str(), ProgramName);
  return UsageError;
}

// One character, and not one that a number is made of.
bool UsableDecimalSeparator(const std::string& Text) {
  const NumberFormat format = NumberFormatFromSettings(Text, std::nullopt);
  if (format.DecimalSeparator != Text) return false;
  const char c = Text[0];
  return !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != 'e' && c != 'E' &&
         static_cast<unsigned char>(c) > 0x20;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Computes the yearly salary decree of every employee in a CSV file, with the window's checks,\n"
      "messages and numbers (محاسبه احکام کارگزینی برای همه ردیف های یک فایل CSV).\n"
      "Exit status: 0 every row computed, 1 some row refused, 2 the run could not start.",
      ProgramName};
  app.set_version_flag("--version", std::string(ProgramName) + " " + SALARY_DECREE_VERSION);
  app.get_formatter()->column_width(24);

  BatchOptions options;
  std::string base, csv, xlsx, pdf, reports;
  std::string decimal = ".", thousands = ",";
  app.add_option("INPUT.csv", options.Input, "the employees, one row each, with a header row")->required();
  app.add_option("--base", base, "base figures from an info.ini (the window's file and loader)")->type_name("FILE");
  app.add_option("--csv", csv, "results as CSV (default: CSV on standard output)")->type_name("FILE");
  app.add_option("--xlsx", xlsx, "results as an Excel workbook")->type_name("FILE");
  app.add_option("--pdf", pdf, "every decree's report, one decree per page, printed as the window prints it")
      ->type_name("FILE");
  app.add_option("--reports", reports, "one UTF-8 text file per decree: its report lines")->type_name("DIR");
  app.add_flag("--json", options.Json, "JSON Lines on standard output instead of CSV (one object per row)");
  app.add_flag("--explain", options.Explain, "add each item's derivation to --reports, --pdf and --json");
  app.add_flag("--exact", options.Exact, "CSV values as round-trip doubles instead of whole rials");
  app.add_option("--decimal", decimal, "decimal separator of the input numbers (default \".\")")->type_name("SEP");
  app.add_option("--thousands", thousands,
                 "thousands separator of the report lines, by the window's rule for the regional setting:\n"
                 "one character used, empty none, anything else a comma (default \",\")")
      ->type_name("SEP");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    return Usage(e.what());
  }

  if (!UsableDecimalSeparator(decimal)) return Usage(BatchTexts::Fill(BatchTexts::BadDecimal, {decimal}));
  options.Format = NumberFormatFromSettings(decimal, thousands);
  if (app.count("--base")) options.Base = base;
  if (app.count("--csv")) options.Csv = csv;
  if (app.count("--pdf")) options.Pdf = pdf;
  if (app.count("--xlsx")) options.Xlsx = xlsx;
  if (app.count("--reports")) options.Reports = reports;
  if (options.Json && options.Csv && *options.Csv == "-")
    return Usage(BatchTexts::Fill(BatchTexts::OutputTwice, {"-"}));

#ifdef SALARY_DECREE_BATCH_PDF
  return RunBatch(options, MakePdfWriter, stderr);
#else
  return RunBatch(options, nullptr, stderr);
#endif
}
