#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The workbook that --xlsx writes, read back with openpyxl."""
import unittest

import openpyxl

from batch_support import BatchTestCase, RESULT_FIELDS, ROW_A, ROW_B, VALUES_A, VALUES_B, csv_text, sheet

# The report's captions without their leading spaces and colon, by value.
REPORT_CAPTIONS = {
    'BaseSalary': 'حقوق مبنا',
    'SeniorityIncrease': 'افزایش سنواتی',
    'JobAllowance': 'فوق العاده شغل',
    'MinimumPayDifference': 'تفاوت حداقل دریافتی',
    'SalaryRepair': 'ترمیم حقوق',
    'AttractionAllowance': 'فوق العاده جذب',
    'SpecialAllowance': 'فوق العاده ویژه',
    'ParticularAllowance': 'فوق العاده خاص',
    'Note12Adjustment': 'تفاوت تطبیق موضوع جز 1+بند ی تبصره 12',
    'LivingFacilitiesDeprivation': 'محرومیت از تسهیلات زندگی',
    'FamilyAllowance': 'حق عائله مندی',
    'ChildAllowance': 'حق اولاد',
    'VeteranAllowance': 'فوق العاده ایثارگری',
    'ClauseBItem3Allowance': 'فوق العاده خاص جز 3 بند ب',
    'BasicSalary': 'حقوق پایه',
    'BadClimateAllowance': 'فوق العاده بدی آب و هوا',
    'ShiftWorkAllowance': 'فوق العاده نوبت کاری',
    'HardshipAllowance': 'فوق العاده سختی کار',
    'OperationalZoneAllowance': 'فوق العاده مناطق عملیاتی',
    'DeprivedRegionAllowance': 'فوق العاده منطقه محروم',
    'RadiationWorkAllowance': 'فوق العاده کار بااشعه',
    'Article26Allowance': 'ماده 26',
    'BorderDeprivationAllowance': 'فوق العاده محرومیت از تسهیلات زندگی2 (مناطق مرزی)',
    'AdjustmentAllowance': 'فوق العاده تعدیل',
    'IncentiveGroupsDifference': 'تفاوت ناشی از گروه های تشویقی',
    # Not reported: headers of the batch's own.
    'HousingBase': 'مبنای حق مسکن',
    'ItemsTotal': 'مجموع آیتم های حکم (بدون حق مسکن)',
    'SeniorityMinimumDifference': 'مابه التفاوت سنواتی حداقل حکم',
    'HousingAllowance': 'حق مسکن',
    # The report's grand total adds the top-up; this value does not.
    'GrandTotal': 'جمع اقلام و حق مسکن (بدون مابه التفاوت سنواتی)',
}
# The two totals as the report prints them, after the 30 values.
REPORT_TOTALS = ['جمع کل حکم (بدون حق مسکن)', 'جمع کل حکم (با حق مسکن)']


class Workbook(BatchTestCase):
    def test_numbers_formats_direction_and_refused_rows(self):
        rows = [dict(ROW_A, **{"شماره پرسنلی": "0012", "نام": "مریم احمدی"}),
                dict(ROW_A, **{"شماره پرسنلی": "0013", "نام": "رضا", "JobPercent": "12a"}),
                dict(ROW_B, **{"شماره پرسنلی": "0014", "نام": "زهرا"})]
        self.write("employees.csv", csv_text(*sheet(rows)))
        status, _, _ = self.run_batch("--xlsx", "decrees.xlsx", "employees.csv")
        self.assertEqual(status, 1)
        book = openpyxl.load_workbook(self.path("decrees.xlsx"))
        self.assertEqual(book.sheetnames, ["احکام"])
        ws = book.active
        self.assertTrue(ws.sheet_view.rightToLeft)
        self.assertEqual(ws.freeze_panes, "A2")
        headers = [c.value for c in ws[1]]
        expected = (["شماره پرسنلی", "نام"] + [REPORT_CAPTIONS[f] for f in RESULT_FIELDS] + REPORT_TOTALS
                    + ["خطا", "ستون خطا"])
        self.assertEqual(headers, expected)
        last = openpyxl.utils.get_column_letter(len(expected))
        self.assertEqual(ws.auto_filter.ref, f"A1:{last}4")
        self.assertTrue(all(c.font.b for c in ws[1]), "bold headers")

        first_amount = 3
        for row, values in ((2, VALUES_A), (4, VALUES_B)):
            cells = ws[row]
            self.assertEqual([c.value for c in cells[:2]], ["0012" if row == 2 else "0014", cells[1].value])
            got = {f: cells[first_amount - 1 + k].value for k, f in enumerate(RESULT_FIELDS)}
            self.assertEqual(got, values)
            self.assertTrue(all(isinstance(v, (int, float)) for v in got.values()), "numbers, not text")
            amount_cells = cells[first_amount - 1:first_amount - 1 + len(RESULT_FIELDS) + 2]
            self.assertEqual({c.number_format for c in amount_cells}, {"#,##0"})
            self.assertIsNone(cells[-2].value)
        top_up = VALUES_B["SeniorityMinimumDifference"]
        self.assertEqual([c.value for c in ws[4][-4:-2]],
                         [VALUES_B["ItemsTotal"] + top_up, VALUES_B["GrandTotal"] + top_up])
        self.assertEqual([c.value for c in ws[2][-4:-2]], [VALUES_A["ItemsTotal"], VALUES_A["GrandTotal"]])

        refused = ws[3]
        self.assertEqual(refused[0].value, "0013")
        self.assertEqual([c.value for c in refused[-2:]], ["'12a' is not a valid floating point value.", "JobPercent"])
        self.assertEqual({c.value for c in refused[first_amount - 1:-2]}, {None})
        self.assertEqual({c.fill.fgColor.rgb for c in refused}, {"FFFFC7CE"}, "refused rows are marked")
        self.assertEqual({c.fill.fill_type for c in ws[2]}, {None}, "computed rows are not")
        self.assertEqual(ws["A2"].number_format, "@", "a personnel number stays text")

        widths = ws.column_dimensions
        self.assertGreaterEqual(widths["B"].width, len("مریم احمدی"))
        self.assertGreaterEqual(widths[openpyxl.utils.get_column_letter(len(expected) - 1)].width, 40)

    def test_a_file_without_rows_is_a_workbook_of_headers(self):
        self.write("employees.csv", "نام,Edit1\r\n")
        status, _, _ = self.run_batch("--xlsx", "decrees.xlsx", "employees.csv")
        self.assertEqual(status, 0)
        ws = openpyxl.load_workbook(self.path("decrees.xlsx")).active
        self.assertEqual(ws.max_row, 1)
        self.assertEqual(ws["A1"].value, "نام")


if __name__ == "__main__":
    unittest.main()
