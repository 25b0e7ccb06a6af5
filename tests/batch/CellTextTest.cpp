// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <string>

#include "batch/CellText.h"

namespace {

const NumberFormat Point;                  // "." decimal
const NumberFormat Comma{",", "."};        // "," decimal, as a German or Persian locale exports
const NumberFormat Arabic{"\u066B", ","};  // the Arabic decimal separator itself

TEST(NormaliseNumber, SpreadsheetDigitsAndSeparators) {
  struct Row {
    const char* Name;
    std::string Cell;
    const NumberFormat* Format;
    std::string Text;
  } rows[] = {
      {"Persian digits", "۰۱۲۳۴۵۶۷۸۹", &Point, "0123456789"},
      {"Arabic-Indic digits", "٠١٢٣٤٥٦٧٨٩", &Point, "0123456789"},
      {"Arabic decimal separator, point run", "۱۲٫۵", &Point, "12.5"},
      {"Arabic decimal separator, comma run", "۱۲٫۵", &Comma, "12,5"},
      {"Arabic decimal separator as the run's own", "12٫5", &Arabic, "12٫5"},
      {"comma thousands", "1,234,567", &Point, "1234567"},
      {"Arabic thousands with Persian digits", "۱٬۲۳۴٬۵۶۷", &Point, "1234567"},
      {"thousands and a fraction", "-1,234.75", &Point, "-1234.75"},
      {"thousands before an exponent", "+1,000e3", &Point, "+1000e3"},
      {"blanks around stay for the trim", " 1,000 ", &Point, " 1000 "},
      {"a group of two is not grouping", "12,34", &Point, "12,34"},
      {"a group of four is not grouping", "1,2345", &Point, "1,2345"},
      {"four leading digits", "1234,567", &Point, "1234,567"},
      {"one bad group spoils all", "1,234,56", &Point, "1,234,56"},
      {"nothing before the separator", ",123", &Point, ",123"},
      {"grouping after the decimal point", "1.234,567", &Point, "1.234,567"},
      {"the comma is the run's decimal separator", "1,234", &Comma, "1,234"},
      {"Arabic thousands in a comma run", "1٬234,5", &Comma, "1234,5"},
      {"text is left for the conversion", "12a", &Point, "12a"},
      {"Persian digits in text", "۱۲a", &Point, "12a"},
      {"empty", "", &Point, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(NormaliseNumber(row.Cell, *row.Format), row.Text);
  }
}

TEST(ParseFlag, EachAcceptedSpelling) {
  struct Row {
    std::string Cell;
    std::optional<bool> Checked;
  } rows[] = {
      {"", false},          {"  ", false},         {"0", false},         {"1", true},          {" 1 ", true},
      {"true", true},       {"TRUE", true},        {"True", true},       {"false", false},     {"FALSE", false},
      {"بله", true},        {"خیر", false},        {"۱", true},          {"۰", false},         {"٠", false},
      {"2", std::nullopt},  {"yes", std::nullopt}, {"01", std::nullopt}, {"-1", std::nullopt}, {"1.0", std::nullopt},
      {"نه", std::nullopt}, {"x", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Cell);
    EXPECT_EQ(ParseFlag(row.Cell), row.Checked);
  }
}

TEST(ParseInsurance, IndexOrItemText) {
  struct Row {
    std::string Cell;
    std::optional<int> Index;
  } rows[] = {
      {"", -1},
      {" ", -1},
      {"0", 0},
      {"1", 1},
      {"۱", 1},
      {"تامین اجتماعی", 0},
      {" سازمان بازنشستگی ", 1},
      {"2", std::nullopt},
      {"-1", std::nullopt},
      {"بیمه", std::nullopt},
      {"true", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Cell);
    EXPECT_EQ(ParseInsurance(row.Cell), row.Index);
  }
}

}  // namespace
