// SPDX-License-Identifier: GPL-3.0-or-later
#include <cfloat>
#include <gtest/gtest.h>
#include <string>

#include "decree/NumberFormat.h"
#include "tests/decree/ExtendedLiteral.h"

namespace {

const NumberFormat Comma;  // "." and ","
const NumberFormat Persian = NumberFormatFromSettings(std::string("\u066B"), std::string("\u066C"));

std::string ErrorOf(const std::string& Text, const NumberFormat& Format = Comma) {
  try {
    TextToFloat(Text, Format);
  } catch (const DecreeError& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(TextToFloat, AcceptsTheGrammar) {
  struct Row {
    const char* Text;
    double Value;
  } rows[] = {
      {"007", 7},           {"+5", 5},    {"-5", -5},    {"0", 0},       {"12.5", 12.5},
      {".5", 0.5},          {"5.", 5},    {"1e3", 1000}, {"1E+3", 1000}, {"25e-1", 2.5},
      {"4824000", 4824000}, {"0.1", 0.1}, {"1e-400", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Text);
    EXPECT_EQ(TextToFloat(row.Text, Comma), row.Value);
  }
  // 309 digits that still fit: the largest double written out.
  EXPECT_EQ(TextToFloat("17976931348623157" + std::string(292, '0'), Comma), DBL_MAX);
}

TEST(TextToFloat, UsesTheRegionalDecimalSeparator) {
  EXPECT_EQ(TextToFloat("12\u066B5", Persian), 12.5);
  EXPECT_EQ(ErrorOf("12.5", Persian), "'12.5' is not a valid floating point value");
  EXPECT_EQ(ErrorOf("12\u066B5"), "'12\u066B5' is not a valid floating point value");
}

TEST(TextToFloat, RefusesEverythingElse) {
  for (const char* text :
       {"12a", "abc",          "",       "+",    "-",   ".",   "1.2.3", "1,000",  "1e", "1e+", "e5", "--5", "+-5", " 5",
        "5 ",  "\u06F1\u06F2", "\u0661", "0x10", "inf", "nan", "1_000", "\u066B5"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ErrorOf(text), std::string("'") + text + "' is not a valid floating point value");
  }
}

TEST(TextToFloat, OverflowsBeyondTheDoubleRange) {
  for (const std::string& text :
       {std::string(309, '9'), std::string("1e400"), std::string("-1e400"), std::string("1e99999999999")}) {
    SCOPED_TRACE(text.substr(0, 20));
    EXPECT_EQ(ErrorOf(text), "Floating point overflow");
  }
}

TEST(TextToFloat, RoundsToTheNearestDouble) {
  EXPECT_EQ(TextToFloat("0.30000000000000004", Comma), 0.30000000000000004);
  EXPECT_EQ(TextToFloat("9007199254740993", Comma), 9007199254740992.0);  // tie to even
}

TEST(Store, OverflowsJustAboveTheLargestDouble) {
  EXPECT_EQ(Store(Extended(DBL_MAX)), DBL_MAX);
  EXPECT_THROW(Store(Extended(DBL_MAX) * 1.0000001_x), DecreeError);
  EXPECT_THROW(Store(-Extended(DBL_MAX) * 2), DecreeError);
  EXPECT_EQ(Store(1.0_x + Extended(0x1p-60)), 1.0);
}

TEST(TrimControl, RemovesControlsAndSpacesAtBothEnds) {
  EXPECT_EQ(TrimControl("  \t12 3\r\n"), "12 3");
  EXPECT_EQ(TrimControl("   "), "");
  EXPECT_EQ(TrimControl(std::string("\0 5\x1f", 4)), "5");
  EXPECT_EQ(TrimControl("\u00A05"), "\u00A05");  // a no-break space is above U+0020
}

TEST(FormatGeneral, FifteenSignificantDigits) {
  struct Row {
    Extended Value;
    const char* Text;
  } rows[] = {
      {4824000, "4824000"},
      {3, "3"},
      {0, "0"},
      {-0.0_x, "0"},
      {1.5e20_x, "1.5E20"},
      {1e15_x, "1E15"},
      {1234567890123456.0_x, "1.23456789012346E15"},
      {999999999999999.0_x, "999999999999999"},
      {9999999999999999.0_x, "1E16"},
      {0.5_x, "0.5"},
      {0.0001_x, "0.0001"},
      {0.00001_x, "1E-5"},
      {-2.5_x, "-2.5"},
      {-1.5e-7_x, "-1.5E-7"},
      {123.456_x, "123.456"},
      {1.0_x / 3, "0.333333333333333"},
      {2.0_x / 3, "0.666666666666667"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Text);
    EXPECT_EQ(FormatGeneral(row.Value, 15, Comma), row.Text);
  }
  EXPECT_EQ(FormatGeneral(1234567890123456.0_x, 15, Persian), "1\u066B23456789012346E15");
}

// The 15 digits are the exact value rounded once. Rounding the 18-digit
// expansion first turned ...307|49996 into ...307|500 and then up. Expected
// texts from Python's decimal module (Context(prec=15,
// rounding=ROUND_HALF_UP).plus of the exact value); every value here is exact
// in the 64-bit significand.
TEST(FormatGeneral, RoundsTheExactValueOnceHalvesAwayFromZero) {
  struct Row {
    const char* Name;
    Extended Value;
    const char* Text;
  } rows[] = {
    {"53578 x 616649591472820 = 33038851811930749960", 33038851811930749960.0_x, "3.30388518119307E19"},
    {"96076 x 602309385164131 = 57867476489029049956", 57867476489029049956.0_x, "5.7867476489029E19"},
    {"the double 215242163771643499905024", 215242163771643499905024.0_x, "2.15242163771643E23"},
    {"tie in fixed notation", 123456789012344.5_x, "123456789012345"},
    {"negative tie", -123456789012344.5_x, "-123456789012345"},
    {"tie with an even 15th digit (ties to even would keep 4)", 1234567890123445.0_x, "1.23456789012345E15"},
    {"tie at 10^19", 12345678901234450000.0_x, "1.23456789012345E19"},
    {"just below a tie", 1234567890123444.9990234375_x, "1.23456789012344E15"},
    {"the exact expansion of 0.1_x is 0.1000000000000000000013...", 0.1_x, "0.1"},
    {"the smallest normal value, 2^-16382", 3.3621031431120935063e-4932_x, "3.36210314311209E-4932"},
#if DECREE_EXTENDED_IS_LONG_DOUBLE
    // The portable type has no subnormals; no formula comes near them.
    {"the smallest subnormal long double", 0x1p-16445L, "3.64519953188247E-4951"},
#endif
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(FormatGeneral(row.Value, 15, Comma), row.Text);
  }
  EXPECT_EQ(FormatGeneral(0.5_x, 15, Persian), "0\u066B5");
}

TEST(ErrorMessageText, AppendsAFullStopAfterCharactersAbove46) {
  struct Row {
    const char* Message;
    const char* Shown;
  } rows[] = {
      {"Floating point overflow", "Floating point overflow."},
      {"ends with a stop.", "ends with a stop."},
      {"in brackets (x)", "in brackets (x)"},
      {"slash/", "slash/."},
      {"digit 5", "digit 5."},
      {"dash-", "dash-"},
      {"\u067E\u06CC\u0627\u0645", "\u067E\u06CC\u0627\u0645."},
      {"", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Message);
    EXPECT_EQ(ErrorMessageText(row.Message), row.Shown);
  }
}

TEST(NumberFormatFromSettings, ThousandsSeparatorRule) {
  struct Row {
    std::optional<std::string> Setting;
    const char* Used;
  } rows[] = {
      {std::string(","), ","},           {std::string("."), "."},    {std::string("\u066C"), "\u066C"},
      {std::string("\u00A0"), "\u00A0"}, {std::string(""), ""},      {std::string(",,"), ","},
      {std::string("\u066C "), ","},     {std::string("\xff"), ","}, {std::nullopt, ","},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Used);
    EXPECT_EQ(NumberFormatFromSettings(std::string("."), row.Setting).ThousandSeparator, row.Used);
  }
  EXPECT_EQ(NumberFormatFromSettings(std::string("\u066B"), std::nullopt).DecimalSeparator, "\u066B");
  EXPECT_EQ(NumberFormatFromSettings(std::string(""), std::nullopt).DecimalSeparator, ".");
  EXPECT_EQ(NumberFormatFromSettings(std::nullopt, std::nullopt).DecimalSeparator, ".");
}

}  // namespace
