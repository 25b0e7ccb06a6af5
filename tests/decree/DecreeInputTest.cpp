// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <string>

#include "decree/DecreeCatalogue.h"
#include "decree/DecreeCompute.h"
#include "decree/DecreeInput.h"
#include "tests/decree/FakePanel.h"

namespace {

using C = PanelControl;
const NumberFormat Comma;

TEST(ReadDecreeInput, EachMissingEntryStopsWithItsMessageAndFocus) {
  struct Row {
    const char* Name;
    C Cleared;
    const char* Message;
  } rows[] = {
      {"coefficient", C::Edit1, "ضریب اعلامی برای سال جدید را وارد کنید"},
      {"declared minimum", C::Edit2, "مبلغ کمترین حقوق اعلامی برای سال جدید را به صورت ریال وارد کنید"},
      {"effective minimum", C::Edit3, "مبلغ حداقل حقوق موثر برای سال جدید را به صورت ریال وارد کنید"},
      {"minimum and benefits", C::Edit26, "مبلغ حداقل حقوق و مزایا برای سال جدید را به صورت ریال وارد کنید"},
      {"family", C::Edit4, "مبلغ حق عائله مندی برای سال جدید را به صورت ریال وارد کنید"},
      {"child", C::Edit5, "مبلغ حق اولاد برای سال جدید را به صورت ریال وارد کنید"},
      {"group", C::Edit6,
       "گروه مستخدم شامل کل گروه های دریافتی اعم از استحقاقی، تشویقی و ... برای سال جدید را به صورت عددی وارد کنید"},
      {"previous base", C::Edit8, "مبلغ حقوق پایه سال قبل را به صورت ریال وارد کنید"},
      {"previous seniority", C::Edit9, "مبلغ افزایش سنواتی سال قبل را به صورت ریال وارد کنید"},
      {"seniority percent", C::Edit10, "درصد افزایش سنواتی برای سال جدید را به صورت عددی وارد کنید"},
      {"insurance", C::ComboBox1, "نوع بیمه مستخدم را انتخاب کنید"},
      {"job percent", C::Edit13, "درصد فوق العاده شغل برای سال جدید را به صورت عددی وارد کنید"},
      {"attraction percent", C::Edit14, "درصد فوق العاده جذب برای سال جدید را به صورت عددی وارد کنید"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    FakePanel panel = WorkedPanelA();
    if (row.Cleared == C::ComboBox1)
      panel.Index = -1;
    else
      panel.Texts[row.Cleared] = " \t ";  // blanks only count as empty
    EXPECT_FALSE(ReadDecreeInput(panel, Comma).has_value());
    ASSERT_EQ(panel.Messages.size(), 1u);
    EXPECT_EQ(panel.Messages[0], row.Message);
    EXPECT_EQ(panel.Focus, std::vector<C>{row.Cleared});
    EXPECT_TRUE(panel.Writes.empty());
  }
}

TEST(ReadDecreeInput, TheFirstMissingEntryInCheckOrderWins) {
  struct Row {
    const char* Name;
    std::vector<C> Cleared;
    bool NoInsurance;
    C Focus;
  } rows[] = {
      {"coefficient before declared minimum", {C::Edit1, C::Edit2}, false, C::Edit1},
      {"insurance before job percent", {C::Edit13}, true, C::ComboBox1},
      {"minimum and benefits before family", {C::Edit4, C::Edit26}, false, C::Edit26},
      {"group before previous base, though converted later", {C::Edit8, C::Edit6}, false, C::Edit6},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    FakePanel panel = WorkedPanelA();
    for (C c : row.Cleared) panel.Texts[c] = "";
    if (row.NoInsurance) panel.Index = -1;
    EXPECT_FALSE(ReadDecreeInput(panel, Comma).has_value());
    EXPECT_EQ(panel.Messages.size(), 1u);
    EXPECT_EQ(panel.Focus, std::vector<C>{row.Focus});
  }
}

TEST(ReadDecreeInput, WritesZeroIntoEmptyOptionalFieldsButNotEdit18) {
  FakePanel panel = WorkedPanelA();
  for (C c : {C::Edit7, C::Edit11, C::Edit15, C::Edit20}) panel.Texts.erase(c);
  const auto input = ReadDecreeInput(panel, Comma);
  ASSERT_TRUE(input.has_value());
  const std::vector<C> zeroed = {C::Edit7,  C::Edit11, C::Edit12, C::Edit15, C::Edit16, C::Edit17,
                                 C::Edit19, C::Edit20, C::Edit21, C::Edit22, C::Edit23, C::Edit24};
  EXPECT_EQ(panel.Writes, zeroed);  // in conversion order
  for (C c : zeroed) EXPECT_EQ(panel.Texts[c], "0");
  EXPECT_EQ(panel.Texts.count(C::Edit18), 0u);
  EXPECT_EQ(input->ClauseBItem3Amount, 0);
  EXPECT_EQ(input->IncentiveGroupCount, 0);
  EXPECT_TRUE(panel.Messages.empty());
  EXPECT_TRUE(panel.Focus.empty());
}

TEST(ReadDecreeInput, ConvertsEveryFieldAndFlag) {
  FakePanel panel = WorkedPanelA();
  panel.Texts[C::Edit18] = " 200000 ";
  panel.Texts[C::Edit12] = "50000";
  panel.Texts[C::Edit17] = "10";
  panel.Texts[C::Edit24] = "+7";
  panel.Texts[C::Edit21] = "-5";
  panel.Index = 0;
  panel.CheckedBoxes = {C::CheckBox2, C::CheckBox4, C::CheckBox5, C::CheckBox6, C::CheckBox8};
  const auto in = ReadDecreeInput(panel, Comma);
  ASSERT_TRUE(in.has_value());
  EXPECT_EQ(in->Coefficient, 1000);
  EXPECT_EQ(in->MinimumSalaryAndBenefits, 6000000);
  EXPECT_EQ(in->ClauseBItem3Amount, 200000);
  EXPECT_EQ(in->Note12Difference, 50000);
  EXPECT_EQ(in->DeprivationPercent, 10);
  EXPECT_EQ(in->RadiationPercent, 7);
  EXPECT_EQ(in->HardshipPercent, -5);
  EXPECT_EQ(in->EmployeeGroup, 9);
  EXPECT_EQ(in->InsuranceType, 0);
  EXPECT_FALSE(in->HeadOfHousehold);
  EXPECT_TRUE(in->VeteranEligible);
  EXPECT_FALSE(in->AdjustmentEligible);
  EXPECT_TRUE(in->Article26Eligible);
  EXPECT_TRUE(in->OperationalZoneWideBase);
  EXPECT_TRUE(in->ClauseBItem3InHousing);
  EXPECT_TRUE(in->BorderDeprivationEligible);
}

TEST(ReadDecreeInput, AConversionFailureStopsHalfwayKeepingEarlierZeros) {
  FakePanel panel = WorkedPanelA();
  for (C c : {C::Edit7, C::Edit11, C::Edit12, C::Edit15, C::Edit20}) panel.Texts.erase(c);
  panel.Texts[C::Edit13] = " 12a ";
  try {
    ReadDecreeInput(panel, Comma);
    FAIL() << "accepted 12a";
  } catch (const DecreeError& e) {
    EXPECT_STREQ(e.what(), "'12a' is not a valid floating point value");
  }
  EXPECT_EQ(panel.Writes, (std::vector<C>{C::Edit7, C::Edit11, C::Edit12}));
  EXPECT_EQ(panel.Texts.count(C::Edit15), 0u);
  EXPECT_EQ(panel.Texts.count(C::Edit20), 0u);
  EXPECT_TRUE(panel.Focus.empty());
}

TEST(ReadDecreeInput, PersianDigitsAndOverflowAreConversionErrors) {
  struct Row {
    C Field;
    const char* Text;
    const char* Error;
  } rows[] = {
      {C::Edit8, "\u06F8\u06F0\u06F0", "'\u06F8\u06F0\u06F0' is not a valid floating point value"},
      {C::Edit1, "1e400", "Floating point overflow"},
      {C::Edit18, "1,000", "'1,000' is not a valid floating point value"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Text);
    FakePanel panel = WorkedPanelA();
    panel.Texts[row.Field] = row.Text;
    try {
      ReadDecreeInput(panel, Comma);
      ADD_FAILURE() << "accepted";
    } catch (const DecreeError& e) {
      EXPECT_STREQ(e.what(), row.Error);
    }
  }
}

TEST(CheckGroupRange, RefusesGroupsOutsideTheTable) {
  struct Row {
    const char* Name;
    double Group, Incentive;
    bool Passes;
    const char* Message;
    C Focus;
  } rows[] = {
      {"group 0", 0, 0, false, "گروه مستخدم باید عددی از 1 تا 20 باشد", C::Edit6},
      {"group 21", 21, 0, false, "گروه مستخدم باید عددی از 1 تا 20 باشد", C::Edit6},
      {"group 25 with incentives", 25, 30, false, "گروه مستخدم باید عددی از 1 تا 20 باشد", C::Edit6},
      {"group 1", 1, 0, true, "", C::Edit6},
      {"group 20", 20, 0, true, "", C::Edit6},
      {"group 20.9 truncates to 20", 20.9, 0, true, "", C::Edit6},
      {"group 0.5 truncates to 0", 0.5, 0, false, "گروه مستخدم باید عددی از 1 تا 20 باشد", C::Edit6},
      {"incentives equal to the group", 9, 9, false, "تعداد گروه های تشویقی باید کمتر از گروه مستخدم باشد", C::Edit7},
      {"one group left", 9, 8, true, "", C::Edit6},
      {"negative incentives reach 21", 19, -2, false, "تعداد گروه های تشویقی باید کمتر از گروه مستخدم باشد", C::Edit7},
      {"9 - 7.5 truncates to 1", 9, 7.5, true, "", C::Edit6},
      {"9 - 8.5 truncates to 0", 9, 8.5, false, "تعداد گروه های تشویقی باید کمتر از گروه مستخدم باشد", C::Edit7},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    FakePanel panel;
    DecreeInput input;
    input.EmployeeGroup = row.Group;
    input.IncentiveGroupCount = row.Incentive;
    EXPECT_EQ(CheckGroupRange(input, panel), row.Passes);
    if (row.Passes) {
      EXPECT_TRUE(panel.Messages.empty());
      EXPECT_NO_THROW(ComputeDecree(input, GroupPointsTable));
    } else {
      EXPECT_EQ(panel.Messages, std::vector<std::string>{row.Message});
      EXPECT_EQ(panel.Focus, std::vector<C>{row.Focus});
      EXPECT_THROW(ComputeDecree(input, GroupPointsTable), DecreeError);
    }
  }
}

TEST(ClauseBAmountText, CoefficientTimesPoints) {
  struct Row {
    const char* Coefficient;
    const char* Points;
    const char* Amount;
  } rows[] = {
      {"3216", "1500", "4824000"},
      {"100000000", "10000000", "1E15"},
      {"1500000000000000", "100000", "1.5E20"},
      {"3", "1", "3"},
      {"0", "1500", "0"},
      {"3216", "", ""},
      {"3216", "   ", ""},
      {"", "1500", ""},
      {"abc", "", ""},  // the blank check comes before any conversion
      {" 3216 ", "\t1500", "4824000"},
      {"1234567890123456", "1", "1.23456789012346E15"},
      // Exact products 33038851811930749960 and 57867476489029049956 rounded
      // once to 15 digits (Python's decimal module).
      {"53578", "616649591472820", "3.30388518119307E19"},
      {"96076", "602309385164131", "5.7867476489029E19"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.Coefficient) + " x " + row.Points);
    EXPECT_EQ(ClauseBAmountText(row.Coefficient, row.Points, Comma), row.Amount);
  }
}

TEST(ClauseBAmountText, QuotesTheCoefficientFirstWhenBothAreInvalid) {
  try {
    ClauseBAmountText("abc", "xyz", Comma);
    FAIL();
  } catch (const DecreeError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
  EXPECT_THROW(ClauseBAmountText("3000", "4x", Comma), DecreeError);
}

}  // namespace
