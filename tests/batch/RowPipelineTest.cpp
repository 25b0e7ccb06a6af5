// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "batch/BatchTexts.h"
#include "batch/Pipeline.h"
#include "decree/DecreeCatalogue.h"
#include "decree/DecreeReport.h"
#include "decree/DecreeTexts.h"
#include "tests/batch/BatchRows.h"
#include "tests/decree/WorkedInputs.h"

namespace {

using namespace BatchTest;
using C = PanelControl;

const std::vector<std::string> ControlNameHeaders = {
    "Edit1",     "Edit2",     "Edit3",     "Edit4",     "Edit5",     "Edit6",     "Edit7",    "Edit8",  "Edit9",
    "Edit10",    "Edit11",    "Edit12",    "Edit13",    "Edit14",    "Edit15",    "Edit16",   "Edit17", "Edit18",
    "Edit19",    "Edit20",    "Edit21",    "Edit22",    "Edit23",    "Edit24",    "Edit25",   "Edit26", "ComboBox1",
    "CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6", "CheckBox8"};

// The labels' captions without their colons; CheckBox5 has none.
const std::vector<std::string> CaptionHeaders = {
    "ضریب",
    "حداقل حقوق اعلامی",
    "حداقل حقوق موثر",
    "حداقل حقوق و مزایا",
    "حق عائله مندی",
    "حق اولاد",
    "امتیاز فوق العاده خاص جز 3 بند ب",
    "فوق العاده خاص جز 3 بند ب",
    "گروه مستخدم",
    "تعداد گروه های تشویقی",
    "حقوق مبنای سال قبل",
    "افزایش سنواتی سال قبل",
    "درصد افزایش سنواتی",
    "تفاوت تطبیق موضوع جز 1+بند ی تبصره 12",
    "نوع بیمه",
    "تعداد اولاد",
    "وضعیت عائله مندی",
    "فوق العاده ایثارگری",
    "فوق العاده تعدیل (408600 ریال)",
    "ماده 26",
    "محرومیت از تسهیلات زندگی 2 : (مخصوص مناطق مرزی)",
    "درصد فوق العاده شغل",
    "درصد فوق العاده جذب",
    "درصد فوق العاده ویژه",
    "درصد فوق العاده خاص",
    "درصد محرومیت از تسهیلات زتدگی",
    "درصد فوق العاده بدی آب و هوا",
    "درصد فوق العاده نوبت کاری",
    "درصد فوق العاده سختی کار",
    "درصد فوق العاده مناطق عملیاتی",
    "درصد فوق العاده منطقه محروم",
    "درصد فوق العاده كار با اشعه",
    "مبلغ فوق العاده خاص جز 3 بند ب در محاسبه حق مسکن لحاظ شود",
    "CheckBox5",
};

RowRecord RunRow(const Sheet& Sheet, const Cells& Row, const PipelineOptions& Options = {}) {
  RowRecord out;
  ProcessRow(Sheet.Layout, Sheet.Record(Row), Options, out);
  return out;
}

bool SameBits(double A, double B) { return std::memcmp(&A, &B, sizeof A) == 0; }

void ExpectResult(const RowRecord& Row, const DecreeResult& Expected) {
  ASSERT_TRUE(Row.Computed) << Row.Error.Message;
  for (const ValueSpec& field : Values) {
    SCOPED_TRACE(field.FieldName);
    EXPECT_TRUE(SameBits(Row.Result.*field.Member, Expected.*field.Member))
        << Row.Result.*field.Member << " vs " << Expected.*field.Member;
  }
}

TEST(ProcessRow, WorkedDecreesUnderEachKindOfHeader) {
  struct HeaderStyle {
    const char* Name;
    std::vector<std::string> Headers;
  } styles[] = {
      {"field names", FieldNameHeaders()},
      {"control names", ControlNameHeaders},
      {"Persian captions", CaptionHeaders},
  };
  PipelineOptions options;
  options.Report = true;
  const DecreeResult a = ComputeDecree(WorkedA(), GroupPointsTable);
  const DecreeResult b = ComputeDecree(WorkedB(), GroupPointsTable);
  for (const HeaderStyle& style : styles) {
    SCOPED_TRACE(style.Name);
    std::vector<std::string> headers = style.Headers;
    headers.insert(headers.begin(), "شماره پرسنلی");
    const Sheet sheet(headers);
    ASSERT_EQ(sheet.Layout.IdColumns.size(), 1u);
    Cells rowA = WorkedRowA(), rowB = WorkedRowB();
    rowA["شماره پرسنلی"] = "1001";
    rowB["شماره پرسنلی"] = "1002";
    const RowRecord outA = RunRow(sheet, rowA, options), outB = RunRow(sheet, rowB, options);
    ExpectResult(outA, a);
    ExpectResult(outB, b);
    EXPECT_EQ(outA.Report, BuildDecreeReport(a, options.Format));
    EXPECT_EQ(outB.Report, BuildDecreeReport(b, options.Format));
    EXPECT_EQ(outA.Ids, std::vector<std::string>{"1001"});
    // The worked figures by hand.
    EXPECT_EQ(outA.Result.GrandTotal, 11739440);
    EXPECT_EQ(outA.Result.HousingAllowance, 1873240);
    EXPECT_EQ(outB.Result.ItemsTotal, 11814500);
    EXPECT_EQ(outB.Result.SeniorityMinimumDifference, 4185500);
    EXPECT_EQ(outB.Result.GrandTotal, 14914500);
  }
}

TEST(ProcessRow, ReportLinesOnlyWhenAsked) {
  const Sheet sheet(FieldNameHeaders());
  const RowRecord out = RunRow(sheet, WorkedRowA());
  EXPECT_TRUE(out.Computed);
  EXPECT_TRUE(out.Report.empty());
}

TEST(ProcessRow, ARefusedRowGetsTheWindowsMessageAndItsColumn) {
  struct Row {
    const char* Name;
    Cells Changes;
    std::string Message;
    const char* Column;  // header, or null for none
  } rows[] = {
      {"required field missing",
       {{"DeclaredMinimumSalary", " "}},
       "مبلغ کمترین حقوق اعلامی برای سال جدید را به صورت ریال وارد کنید",
       "DeclaredMinimumSalary"},
      {"the first missing entry in check order",
       {{"Coefficient", ""}, {"DeclaredMinimumSalary", ""}},
       "ضریب اعلامی برای سال جدید را وارد کنید",
       "Coefficient"},
      {"no insurance", {{"InsuranceType", ""}}, "نوع بیمه مستخدم را انتخاب کنید", "InsuranceType"},
      {"pasted text", {{"JobPercent", "12a"}}, "'12a' is not a valid floating point value.", "JobPercent"},
      {"Persian digits in refused text are quoted as written",
       {{"PreviousBaseSalary", "۸۰۰a"}},
       "'۸۰۰a' is not a valid floating point value.",
       "PreviousBaseSalary"},
      {"an optional field refused",
       {{"RadiationPercent", "5%"}},
       "'5%' is not a valid floating point value.",
       "RadiationPercent"},
      {"group 25", {{"EmployeeGroup", "25"}}, DecreeTexts::GroupOutOfRange, "EmployeeGroup"},
      {"group 0", {{"EmployeeGroup", "0"}}, DecreeTexts::GroupOutOfRange, "EmployeeGroup"},
      {"as many incentive groups as the group",
       {{"IncentiveGroupCount", "9"}},
       DecreeTexts::IncentiveGroupsTooMany,
       "IncentiveGroupCount"},
      {"overflow in the conversion", {{"ChildCount", "1e400"}}, "Floating point overflow.", "ChildCount"},
      {"overflow in the computation", {{"Coefficient", "1e306"}}, "Floating point overflow.", nullptr},
      {"a flag the window has no state for",
       {{"HeadOfHousehold", "بلی"}},
       BatchTexts::Fill(BatchTexts::FlagInvalid, {"بلی", "HeadOfHousehold"}),
       "HeadOfHousehold"},
      {"an insurance the list does not offer",
       {{"InsuranceType", "2"}},
       BatchTexts::Fill(BatchTexts::InsuranceInvalid, {"2", "InsuranceType", "تامین اجتماعی", "سازمان بازنشستگی"}),
       "InsuranceType"},
      {"the insurance check comes before the job percentage",
       {{"InsuranceType", "x"}, {"JobPercent", ""}},
       BatchTexts::Fill(BatchTexts::InsuranceInvalid, {"x", "InsuranceType", "تامین اجتماعی", "سازمان بازنشستگی"}),
       "InsuranceType"},
      {"flags are read after every conversion",
       {{"HeadOfHousehold", "?"}, {"SpecialPercent", "x"}},
       "'x' is not a valid floating point value.",
       "SpecialPercent"},
  };
  const Sheet sheet(FieldNameHeaders());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    Cells cells = WorkedRowA();
    for (const auto& [field, text] : row.Changes) cells[field] = text;
    const RowRecord out = RunRow(sheet, cells);
    EXPECT_FALSE(out.Computed);
    EXPECT_EQ(out.Error.Message, row.Message);
    if (row.Column)
      EXPECT_EQ(out.Error.Column >= 0 ? sheet.Headers[static_cast<std::size_t>(out.Error.Column)] : "", row.Column);
    else
      EXPECT_EQ(out.Error.Column, -1);
  }
}

TEST(ProcessRow, ARequiredColumnMissingFromTheFileNamesNoColumn) {
  std::vector<std::string> headers = FieldNameHeaders();
  headers.erase(headers.begin() + 1);  // DeclaredMinimumSalary
  const Sheet sheet(headers);
  const RowRecord out = RunRow(sheet, WorkedRowA());
  EXPECT_EQ(out.Error.Message, "مبلغ کمترین حقوق اعلامی برای سال جدید را به صورت ریال وارد کنید");
  EXPECT_EQ(out.Error.Column, -1);
}

TEST(ProcessRow, CellsBeyondTheHeaderRefuseTheRow) {
  const Sheet sheet(FieldNameHeaders());
  CsvRecord record = sheet.Record(WorkedRowA());
  record.Cells.push_back("");
  RowRecord out;
  ProcessRow(sheet.Layout, record, {}, out);
  EXPECT_TRUE(out.Computed) << "an empty cell after the last column is harmless";
  record.Cells.push_back("Smith");
  ProcessRow(sheet.Layout, record, {}, out);
  EXPECT_FALSE(out.Computed);
  EXPECT_EQ(out.Error.Message, BatchTexts::Fill(BatchTexts::ExtraCells, {"36", "34"}));
}

TEST(ProcessRow, SpreadsheetSpellingsGiveTheSameDecree) {
  struct Row {
    const char* Name;
    Cells Changes;
  } rows[] = {
      {"Persian digits and Arabic thousands", {{"Coefficient", "۱٬۰۰۰"}, {"DeclaredMinimumSalary", "۲۰۰۰۰۰۰"}}},
      {"Arabic-Indic digits", {{"EffectiveMinimumSalary", "١٦٠٠٠٠٠"}, {"EmployeeGroup", "٩"}}},
      {"comma thousands", {{"PreviousBaseSalary", "800,000"}, {"MinimumSalaryAndBenefits", "6,000,000"}}},
      {"Arabic decimal separator", {{"JobPercent", "۲۰٫۰"}, {"ChildCount", "2٫0"}}},
      {"insurance by its item text", {{"InsuranceType", "سازمان بازنشستگی"}}},
      {"flags as true", {{"HeadOfHousehold", "true"}, {"AdjustmentEligible", "TRUE"}}},
      {"flags as بله", {{"HeadOfHousehold", "بله"}, {"AdjustmentEligible", "بله"}}},
      {"cleared flags as false and خیر", {{"VeteranEligible", "false"}, {"Article26Eligible", "خیر"}}},
      {"Persian digit flags", {{"HeadOfHousehold", "۱"}, {"VeteranEligible", "۰"}}},
      {"blanks around numbers", {{"Coefficient", " 1000\t"}}},
  };
  const Sheet sheet(FieldNameHeaders());
  const DecreeResult a = ComputeDecree(WorkedA(), GroupPointsTable);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    Cells cells = WorkedRowA();
    for (const auto& [field, text] : row.Changes) cells[field] = text;
    ExpectResult(RunRow(sheet, cells), a);
  }
}

TEST(ProcessRow, TheInsuranceItemTextsChooseTheHousingBase) {
  const Sheet sheet(FieldNameHeaders());
  Cells cells = WorkedRowB();
  cells["InsuranceType"] = "تامین اجتماعی";
  ExpectResult(RunRow(sheet, cells), ComputeDecree(WorkedB(), GroupPointsTable));
  cells["InsuranceType"] = "سازمان بازنشستگی";
  const RowRecord retirement = RunRow(sheet, cells);
  // Without the deprivation (88000) and bad climate (44000) items.
  EXPECT_EQ(retirement.Result.HousingBase, 15500000 - 88000 - 44000);
}

TEST(ProcessRow, BaseValuesFillTheEmptyBaseFields) {
  const BaseValues base = {"1000", "2000000", "1600000", "300000", "100000", "", "", "6000000"};
  PipelineOptions options;
  options.Base = &base;
  const Sheet sheet(FieldNameHeaders());
  Cells cells = WorkedRowA();
  for (const char* field : {"Coefficient", "DeclaredMinimumSalary", "EffectiveMinimumSalary", "FamilyAllowanceRate",
                            "ChildAllowanceRate", "MinimumSalaryAndBenefits"})
    cells.erase(field);
  ExpectResult(RunRow(sheet, cells, options), ComputeDecree(WorkedA(), GroupPointsTable));

  cells["Coefficient"] = "1100";  // the row's own value wins
  const RowRecord own = RunRow(sheet, cells, options);
  ASSERT_TRUE(own.Computed);
  EXPECT_EQ(own.Result.BaseSalary, 968000);  // 880 points x 1100
  EXPECT_EQ(own.Result.SalaryRepair, 3300000);

  // Without the base values the same row stops at the first missing figure.
  const RowRecord none = RunRow(sheet, cells);
  EXPECT_EQ(none.Error.Message, "مبلغ کمترین حقوق اعلامی برای سال جدید را به صورت ریال وارد کنید");
}

TEST(ProcessRow, ClauseBAmountIsTheWindowsProductWhenLeftEmpty) {
  struct Row {
    const char* Name;
    Cells Changes;
    BaseValues Base;  // all empty: no base file
    double Amount;    // ClauseBItem3Amount read, or -1 for a refused row
    const char* Message;
    const char* Column;
  } rows[] = {
      {"coefficient times points", {{"ClauseBItem3Points", "150"}}, {}, 150000, nullptr, nullptr},
      {"the row's own amount wins",
       {{"ClauseBItem3Points", "150"}, {"ClauseBItem3Amount", "5"}},
       {},
       5,
       nullptr,
       nullptr},
      {"no points, no amount", {}, {}, 0, nullptr, nullptr},
      {"Persian points", {{"ClauseBItem3Points", "۱۵۰"}}, {}, 150000, nullptr, nullptr},
      {"refused points",
       {{"ClauseBItem3Points", "x"}},
       {},
       -1,
       "'x' is not a valid floating point value.",
       "ClauseBItem3Points"},
      {"refused points do not matter beside an amount",
       {{"ClauseBItem3Points", "x"}, {"ClauseBItem3Amount", "7"}},
       {},
       7,
       nullptr,
       nullptr},
      {"a row that types its coefficient gets the product",
       {},
       {"", "", "", "", "", "123", "150", ""},
       150000,
       nullptr,
       nullptr},
      {"a row that takes both from info.ini gets info.ini's amount",
       {{"Coefficient", ""}},
       {"1000", "", "", "", "", "123", "150", ""},
       123,
       nullptr,
       nullptr},
      {"info.ini without an amount gives the product",
       {{"Coefficient", ""}},
       {"1000", "", "", "", "", "", "150", ""},
       150000,
       nullptr,
       nullptr},
      {"a product in general form converts back",
       {{"Coefficient", "100000000"}, {"ClauseBItem3Points", "10000000"}},
       {},
       1e15,
       nullptr,
       nullptr},
  };
  const Sheet sheet(FieldNameHeaders());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    Cells cells = WorkedRowA();
    for (const auto& [field, text] : row.Changes) cells[field] = text;
    PipelineOptions options;
    bool anyBase = false;
    for (const std::string& text : row.Base) anyBase = anyBase || !text.empty();
    if (anyBase) options.Base = &row.Base;
    const RowRecord out = RunRow(sheet, cells, options);
    if (row.Amount < 0) {
      EXPECT_FALSE(out.Computed);
      EXPECT_EQ(out.Error.Message, row.Message);
      EXPECT_EQ(sheet.Headers[static_cast<std::size_t>(out.Error.Column)], row.Column);
    } else {
      ASSERT_TRUE(out.Computed) << out.Error.Message;
      EXPECT_EQ(out.Input.ClauseBItem3Amount, row.Amount);
    }
  }
}

TEST(IsBlankRecord, OnlyBlankCells) {
  CsvRecord record;
  record.Cells = {"", " ", "\t"};
  EXPECT_TRUE(IsBlankRecord(record));
  record.Cells.push_back("x");
  EXPECT_FALSE(IsBlankRecord(record));
}

}  // namespace
