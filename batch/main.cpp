// SPDX-License-Identifier: GPL-3.0-or-later
// salary-decree-batch: the window's decree for every row of a CSV file or a
// workbook's sheet.
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
      "Computes the yearly salary decree of every employee in a CSV file or a workbook (.xlsx, .ods),\n"
      "with the window's checks, messages and numbers (محاسبه احکام کارگزینی برای همه ردیف های یک فایل).\n"
      "INPUT is CSV (UTF-8, UTF-16 with its mark, or Windows-1256 as Excel saves it on a Persian\n"
      "Windows, recognised when the file is not UTF-8), or an Excel or LibreOffice workbook, recognised\n"
      "by its content; its first sheet is read unless --sheet names another.\n"
      "Exit status: 0 every row computed, 1 some row refused, 2 the run could not start.",
      ProgramName};
  app.set_version_flag("--version", std::string(ProgramName) + " " + SALARY_DECREE_VERSION);
  app.get_formatter()->column_width(24);

  BatchOptions options;
  std::string base, csv, xlsx, pdf, reports;
  std::string decimal = ".", thousands = ",", sheet, encoding;
  app.add_option("INPUT", options.Input, "the employees, one row each, under a header row")->required();
  app.add_option("--sheet", sheet, "a workbook's sheet by its exact name (default: the first sheet)")
      ->type_name("NAME");
  app.add_option("--encoding", encoding,
                 "a CSV file's encoding: utf-8, utf-16 or windows-1256 (default: by its\n"
                 "byte-order mark; UTF-8, or Windows-1256 when it is not UTF-8)")
      ->type_name("ENC")
      ->check(CLI::IsMember({"utf-8", "utf-16", "windows-1256"}, CLI::ignore_case));
  app.add_option("--ignore-column", options.IgnoreColumns,
                 "take the column of this header as identification although its name is close\n"
                 "to an input's (may be given again for more columns)")
      ->type_name("NAME")
      ->allow_extra_args(false);
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
  if (app.count("--sheet")) options.Sheet = sheet;
  for (char& c : encoding) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (encoding == "utf-8") options.Encoding = CsvEncoding::Utf8;
  if (encoding == "utf-16") options.Encoding = CsvEncoding::Utf16;
  if (encoding == "windows-1256") options.Encoding = CsvEncoding::Windows1256;
  if (options.Json && options.Csv && *options.Csv == "-")
    return Usage(BatchTexts::Fill(BatchTexts::OutputTwice, {"-"}));

#ifdef SALARY_DECREE_BATCH_PDF
  return RunBatch(options, MakePdfWriter, stderr);
#else
  return RunBatch(options, nullptr, stderr);
#endif
}
