// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "batch/BatchTexts.h"
#include "batch/Columns.h"
#include "batch/CsvReader.h"
#include "decree/DecreeCatalogue.h"

namespace {

using C = PanelControl;

struct HeaderRow {
  std::string Header;
  C Control;
};

TEST(InputOfHeader, FieldAndControlNamesInAnyCase) {
  const HeaderRow rows[] = {
      {"Coefficient", C::Edit1},
      {"coefficient", C::Edit1},
      {" EmployeeGroup\t", C::Edit6},
      {"EDIT26", C::Edit26},
      {"MinimumSalaryAndBenefits", C::Edit26},
      {"ClauseBItem3Points", C::Edit25},
      {"Edit25", C::Edit25},
      {"ClauseBItem3Amount", C::Edit18},
      {"InsuranceType", C::ComboBox1},
      {"ComboBox1", C::ComboBox1},
      {"HeadOfHousehold", C::CheckBox1},
      {"OperationalZoneWideBase", C::CheckBox5},
      {"CheckBox5", C::CheckBox5},
      {"ClauseBItem3InHousing", C::CheckBox6},
      {"BorderDeprivationEligible", C::CheckBox8},
      {"CheckBox8", C::CheckBox8},
      {"RadiationPercent", C::Edit24},
      {"\xEF\xBB\xBF"
       "Edit1",
       C::Edit1},  // a byte-order mark the reader did not take
  };
  for (const HeaderRow& row : rows) {
    SCOPED_TRACE(row.Header);
    EXPECT_EQ(InputOfHeader(row.Header), row.Control);
  }
}

TEST(InputOfHeader, EachLabelCaptionWithoutItsColon) {
  const HeaderRow rows[] = {
      {"ضریب", C::Edit1},                                                           // Label1
      {"حداقل حقوق اعلامی", C::Edit2},                                              // Label2
      {"حداقل حقوق موثر", C::Edit3},                                                // Label3
      {"حداقل حقوق و مزایا", C::Edit26},                                            // Label26
      {"حق عائله مندی", C::Edit4},                                                  // Label5
      {"حق اولاد", C::Edit5},                                                       // Label4
      {"امتیاز فوق العاده خاص جز 3 بند ب", C::Edit25},                              // Label20
      {"فوق العاده خاص جز 3 بند ب", C::Edit18},                                     // Label25
      {"گروه مستخدم", C::Edit6},                                                    // Label6
      {"تعداد گروه های تشویقی", C::Edit7},                                          // Label7
      {"حقوق مبنای سال قبل", C::Edit8},                                             // Label8
      {"افزایش سنواتی سال قبل", C::Edit9},                                          // Label10
      {"درصد افزایش سنواتی", C::Edit10},                                            // Label9
      {"تفاوت تطبیق موضوع جز 1+بند ی تبصره 12", C::Edit12},                         // Label19
      {"نوع بیمه", C::ComboBox1},                                                   // Label21
      {"تعداد اولاد", C::Edit11},                                                   // Label12
      {"وضعیت عائله مندی", C::CheckBox1},                                           // Label11
      {"فوق العاده ایثارگری", C::CheckBox2},                                        // Label18
      {"فوق العاده تعدیل (408600 ریال)", C::CheckBox3},                             // Label24
      {"ماده 26", C::CheckBox4},                                                    // Label23
      {"محرومیت از تسهیلات زندگی 2 : (مخصوص مناطق مرزی)", C::CheckBox8},            // Label22
      {"درصد فوق العاده شغل", C::Edit13},                                           // Label14
      {"درصد فوق العاده جذب", C::Edit14},                                           // Label13
      {"درصد فوق العاده ویژه", C::Edit15},                                          // Label15
      {"درصد فوق العاده خاص", C::Edit16},                                           // Label16
      {"درصد محرومیت از تسهیلات زتدگی", C::Edit17},                                 // Label17
      {"درصد فوق العاده بدی آب و هوا", C::Edit19},                                  // Label77
      {"درصد فوق العاده نوبت کاری", C::Edit20},                                     // Label78
      {"درصد فوق العاده سختی کار", C::Edit21},                                      // Label79
      {"درصد فوق العاده مناطق عملیاتی", C::Edit22},                                 // Label86
      {"درصد فوق العاده منطقه محروم", C::Edit23},                                   // Label87
      {"درصد فوق العاده كار با اشعه", C::Edit24},                                   // Label88
      {"مبلغ فوق العاده خاص جز 3 بند ب در محاسبه حق مسکن لحاظ شود", C::CheckBox6},  // its own caption
  };
  for (const HeaderRow& row : rows) {
    SCOPED_TRACE(row.Header);
    EXPECT_EQ(InputOfHeader(row.Header), row.Control);
    EXPECT_EQ(InputOfHeader(row.Header + " :"), row.Control) << "with the label's colon";
  }
}

TEST(InputOfHeader, CaptionsAsAClerkMayTypeThem) {
  const HeaderRow rows[] = {
      {"محرومیت از تسهیلات زندگی 2", C::CheckBox8},
      {"محرومیت از تسهیلات زندگی 2 (مخصوص مناطق مرزی)", C::CheckBox8},
      {"درصد فوق العاده \u06A9ار با اشعه", C::Edit24},  // Persian kaf for the label's Arabic one
      {"ضر\u064Aب", C::Edit1},                          // Arabic yeh
      {"درصد محرومیت از تسهیلات زندگی", C::Edit17},     // the label's misspelt word spelt right
      {"تعداد گروه\u200cهای تشویقی", C::Edit7},         // a non-joiner for the space
      {"حداقل  حقوق   اعلامی", C::Edit2},               // several spaces
      {"\u200F"
       "نوع بیمه"
       "\u00A0",
       C::ComboBox1},  // direction mark and no-break space
  };
  for (const HeaderRow& row : rows) {
    SCOPED_TRACE(row.Header);
    EXPECT_EQ(InputOfHeader(row.Header), row.Control);
  }
}

TEST(InputOfHeader, OtherHeadersAreIdentification) {
  for (const char* header : {"شماره پرسنلی", "نام", "Edit0", "Edit27", "CheckBox7", "Coefficients", "مشمول می باشد",
                             "سرپرست خانوار است", "ضریب اعلامی", "Edit 1"}) {
    SCOPED_TRACE(header);
    EXPECT_FALSE(InputOfHeader(header).has_value());
  }
}

TEST(MapColumns, InputsAndIdentificationColumns) {
  const ColumnLayout layout = MapColumns({"شماره پرسنلی", "Coefficient", "نام", "گروه مستخدم", "Edit13", "", ""}, 1);
  EXPECT_EQ(layout.Width(), 5u) << "empty headers at the end are dropped";
  EXPECT_EQ(layout.IdColumns, (std::vector<std::size_t>{0, 2}));
  EXPECT_EQ(layout.ColumnOf(C::Edit1), 1);
  EXPECT_EQ(layout.ColumnOf(C::Edit6), 3);
  EXPECT_EQ(layout.ColumnOf(C::Edit13), 4);
  EXPECT_EQ(layout.ColumnOf(C::Edit2), -1);
}

TEST(MapColumns, RefusesAHeaderThatCannotBeRead) {
  struct Row {
    const char* Name;
    std::vector<std::string> Headers;
    std::string Message;
  } rows[] = {
      {"field and control name",
       {"نام", "Coefficient", "Edit1"},
       BatchTexts::Fill(BatchTexts::DuplicateInput, {"Coefficient", "Edit1", "Edit1"})},
      {"caption and field name",
       {"ضریب", "x", "coefficient"},
       BatchTexts::Fill(BatchTexts::DuplicateInput, {"ضریب", "coefficient", "Edit1"})},
      {"both spellings of Label22",
       {"محرومیت از تسهیلات زندگی 2", "CheckBox8"},
       BatchTexts::Fill(BatchTexts::DuplicateInput, {"محرومیت از تسهیلات زندگی 2", "CheckBox8", "CheckBox8"})},
      {"two identification columns of one name",
       {"نام", "Edit1", " نام "},
       BatchTexts::Fill(BatchTexts::DuplicateColumn, {"نام"})},
      {"an empty header before a named one", {"نام", " ", "Edit1"}, BatchTexts::Fill(BatchTexts::EmptyHeader, {"2"})},
      {"no header at all", {"", " "}, BatchTexts::NoHeader},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    try {
      MapColumns(row.Headers, 3);
      ADD_FAILURE() << "accepted";
    } catch (const BatchFileError& error) {
      EXPECT_EQ(error.what(), row.Message);
      EXPECT_EQ(error.Line(), 3u);
    }
  }
}

}  // namespace
