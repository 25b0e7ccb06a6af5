#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""salary-decree-batch run as a clerk runs it: files in a fresh folder, the
exit status, standard output, standard error and the files it leaves."""
import json
import os
import re
import select
import signal
import subprocess
import time
import unittest
from fractions import Fraction

from batch_support import (BatchTestCase, CAPTIONS, ID_HEADERS, ID_NOTE, INSURANCE_ITEMS, PROGRAM, REPORT_A,
                           REPORT_B, RESULT_FIELDS, ROW_A, ROW_B, VALUES_A, VALUES_B, csv_text, read_csv, sheet)

MISSING_DECLARED_MINIMUM = "مبلغ کمترین حقوق اعلامی برای سال جدید را به صورت ریال وارد کنید"
NOT_A_NUMBER_12A = "'12a' is not a valid floating point value."
GROUP_OUT_OF_RANGE = "گروه مستخدم باید عددی از 1 تا 20 باشد"
HINT = "Try 'salary-decree-batch --help' for more information."


def person(number, name, row, **changes):
    return dict(row, **{ID_HEADERS[0]: number, ID_HEADERS[1]: name}, **changes)


class WorkedDecrees(BatchTestCase):
    def test_values_and_report_lines_under_each_kind_of_header(self):
        rows = [person("1001", "مریم", ROW_A), person("1002", "رضا", ROW_B)]
        for naming in ("field", "control", "caption"):
            with self.subTest(naming=naming):
                self.write("employees.csv", csv_text(*sheet(rows, naming)))
                status, out, err = self.run_batch("employees.csv")
                self.assertEqual((status, err), (0, ""))
                written = read_csv(out)
                self.assertEqual(len(written), 2)
                for record, values in zip(written, (VALUES_A, VALUES_B)):
                    self.assertEqual({f: int(record[f]) for f in RESULT_FIELDS}, values)
                    self.assertEqual((record["error"], record["error_column"]), ("", ""))
                self.assertEqual([r["نام"] for r in written], ["مریم", "رضا"])

                status, out, err = self.run_batch("--json", "employees.csv")
                self.assertEqual((status, err), (0, ""))
                objects = [json.loads(line) for line in out.splitlines()]
                self.assertEqual([o["line"] for o in objects], [2, 3])
                self.assertEqual(objects[0]["id"], {"شماره پرسنلی": "1001", "نام": "مریم"})
                self.assertEqual(list(objects[0]), ["line", "id", "result", "report", "error"])
                self.assertEqual(list(objects[0]["result"]), RESULT_FIELDS)
                for o, values, report in zip(objects, (VALUES_A, VALUES_B), (REPORT_A, REPORT_B)):
                    self.assertEqual(o["result"], values)
                    self.assertEqual(o["report"], report)
                    self.assertIsNone(o["error"])

    def test_exact_values_read_back_to_the_json_doubles(self):
        # 1000.3 rials a point: every amount has a fraction.
        rows = [person("1", "x", ROW_A, Coefficient="1000.3")]
        self.write("employees.csv", csv_text(*sheet(rows)))
        _, exact, _ = self.run_batch("--exact", "employees.csv")
        _, whole, _ = self.run_batch("employees.csv")
        _, lines, _ = self.run_batch("--json", "employees.csv")
        doubles = json.loads(lines)["result"]
        exact, whole = read_csv(exact)[0], read_csv(whole)[0]
        self.assertEqual(exact["BaseSalary"], "880264")  # 880 x 1000.3, rounded to double
        self.assertNotEqual(exact["SpecialAllowance"], whole["SpecialAllowance"])
        for field in RESULT_FIELDS:
            self.assertEqual(float(exact[field]), doubles[field], field)
            magnitude = int(abs(doubles[field]) + 0.5)  # halves away from zero
            self.assertEqual(int(whole[field]), magnitude if doubles[field] >= 0 else -magnitude, field)


class RefusedRows(BatchTestCase):
    def test_bad_rows_get_the_windows_message_and_the_good_rows_go_on(self):
        rows = [person("1001", "a", ROW_A), person("1002", "b", ROW_A, DeclaredMinimumSalary=""),
                person("1003", "c", ROW_A, JobPercent="12a"), person("1004", "d", ROW_A, EmployeeGroup="25"),
                person("1005", "e", ROW_B)]
        self.write("employees.csv", csv_text(*sheet(rows)))
        status, out, err = self.run_batch("employees.csv")
        self.assertEqual(status, 1)
        self.assertEqual(err.splitlines(), [
            "salary-decree-batch: employees.csv:3: DeclaredMinimumSalary: " + MISSING_DECLARED_MINIMUM,
            "salary-decree-batch: employees.csv:4: JobPercent: " + NOT_A_NUMBER_12A,
            "salary-decree-batch: employees.csv:5: EmployeeGroup: " + GROUP_OUT_OF_RANGE,
        ])
        written = read_csv(out)
        self.assertEqual([r["شماره پرسنلی"] for r in written], ["1001", "1002", "1003", "1004", "1005"])
        self.assertEqual({f: int(written[0][f]) for f in RESULT_FIELDS}, VALUES_A)
        self.assertEqual({f: int(written[4][f]) for f in RESULT_FIELDS}, VALUES_B)
        expected = [(MISSING_DECLARED_MINIMUM, "DeclaredMinimumSalary"), (NOT_A_NUMBER_12A, "JobPercent"),
                    (GROUP_OUT_OF_RANGE, "EmployeeGroup")]
        for record, (message, column) in zip(written[1:4], expected):
            self.assertEqual((record["error"], record["error_column"]), (message, column))
            self.assertEqual({record[f] for f in RESULT_FIELDS}, {""})

        status, out, _ = self.run_batch("--json", "employees.csv")
        self.assertEqual(status, 1)
        objects = [json.loads(line) for line in out.splitlines()]
        self.assertEqual([o["error"] for o in objects[1:4]],
                         [{"message": m, "column": c} for m, c in expected])
        self.assertEqual([(o["result"], o["report"]) for o in objects[1:4]], [(None, None)] * 3)

    def test_an_error_without_a_column(self):
        rows = [person("1", "a", ROW_A, Coefficient="1e306")]  # the base salary overflows
        self.write("employees.csv", csv_text(*sheet(rows)))
        status, out, err = self.run_batch("--json", "employees.csv")
        self.assertEqual(status, 1)
        self.assertEqual(json.loads(out)["error"], {"message": "Floating point overflow.", "column": None})
        self.assertEqual(err, "salary-decree-batch: employees.csv:2: Floating point overflow.\n")


class SpreadsheetSpellings(BatchTestCase):
    def test_persian_digits_separators_item_texts_and_flag_spellings(self):
        spellings = [
            {"Coefficient": "۱٬۰۰۰", "PreviousBaseSalary": "۸۰۰٬۰۰۰", "EmployeeGroup": "۹"},
            {"DeclaredMinimumSalary": "2,000,000", "MinimumSalaryAndBenefits": "٦٬٠٠٠٬٠٠٠"},
            {"JobPercent": "۲۰٫۰"},
            {"InsuranceType": INSURANCE_ITEMS[1]},
            {"HeadOfHousehold": "true", "AdjustmentEligible": "TRUE", "VeteranEligible": "false"},
            {"HeadOfHousehold": "بله", "AdjustmentEligible": "بله", "VeteranEligible": "خیر"},
            {"HeadOfHousehold": "۱", "AdjustmentEligible": "1", "Article26Eligible": "0"},
        ]
        rows = [person(str(k), "x", ROW_A, **s) for k, s in enumerate(spellings)]
        rows.append(person("b", "x", ROW_B, InsuranceType=INSURANCE_ITEMS[0]))
        self.write("employees.csv", csv_text(*sheet(rows, "caption")))
        status, out, err = self.run_batch("employees.csv")
        self.assertEqual((status, err), (0, ""))
        written = read_csv(out)
        for record in written[:-1]:
            self.assertEqual({f: int(record[f]) for f in RESULT_FIELDS}, VALUES_A, record["شماره پرسنلی"])
        self.assertEqual({f: int(written[-1][f]) for f in RESULT_FIELDS}, VALUES_B)

    def test_a_flag_or_insurance_the_window_cannot_hold(self):
        rows = [person("1", "a", ROW_A, HeadOfHousehold="بلی"), person("2", "b", ROW_A, InsuranceType="2")]
        self.write("employees.csv", csv_text(*sheet(rows, "caption")))
        status, out, err = self.run_batch("employees.csv")
        self.assertEqual(status, 1)
        flag = CAPTIONS["HeadOfHousehold"]
        insurance = CAPTIONS["InsuranceType"]
        self.assertEqual(err.splitlines(), [
            f'salary-decree-batch: employees.csv:2: {flag}: مقدار "بلی" در ستون "{flag}" پذیرفته نیست: '
            "خالی، 0، 1، true، false، بله یا خیر وارد کنید",
            f'salary-decree-batch: employees.csv:3: {insurance}: مقدار "2" در ستون "{insurance}" نوع بیمه نیست: '
            f'0، 1، "{INSURANCE_ITEMS[0]}" یا "{INSURANCE_ITEMS[1]}" وارد کنید',
        ])
        self.assertEqual([r["error_column"] for r in read_csv(out)], [flag, insurance])

    def test_semicolons_and_a_decimal_comma(self):
        rows = [person("1", "a", ROW_A, JobPercent="20,0", Coefficient="1.000")]
        self.write("employees.csv", csv_text(*sheet(rows), delimiter=";"))
        status, out, err = self.run_batch("--decimal", ",", "employees.csv")
        # "1.000" is not a number when the comma is the decimal separator.
        self.assertEqual(status, 1)
        self.assertIn("'1.000' is not a valid floating point value.", err)
        rows = [person("1", "a", ROW_A, JobPercent="20,0", DeclaredMinimumSalary="2.000.000")]
        self.write("employees.csv", csv_text(*sheet(rows), delimiter=";"))
        status, out, err = self.run_batch("--decimal", ",", "employees.csv")
        self.assertEqual(status, 1, "a point is no thousands separator")
        rows = [person("1", "a", ROW_A, JobPercent="20,0")]
        self.write("employees.csv", csv_text(*sheet(rows), delimiter=";"))
        status, out, err = self.run_batch("--decimal", ",", "employees.csv")
        self.assertEqual((status, err), (0, ""))
        self.assertTrue(out.startswith("شماره پرسنلی;نام;BaseSalary;"), "the input's delimiter is kept")
        record = out.splitlines()[1].split(";")
        self.assertEqual(record[2:4], ["880000", "136000"])

    def test_utf16_tab_separated_as_a_spreadsheet_saves_unicode_text(self):
        text = csv_text(*sheet([person("1", "مریم", ROW_B)]), delimiter="\t")
        self.write("employees.txt", b"\xff\xfe" + text.encode("utf-16-le"))
        status, out, err = self.run_batch("--csv", "out.csv", "employees.txt")
        self.assertEqual((status, out, err), (0, "", ""))
        data = self.read("out.csv")
        self.assertTrue(data.startswith(b"\xef\xbb\xbf"), "the mark tells a spreadsheet it is UTF-8")
        record = data[3:].decode("utf-8").splitlines()[1].split("\t")
        self.assertEqual(record[:2], ["1", "مریم"])
        self.assertEqual(int(record[2 + RESULT_FIELDS.index("GrandTotal")]), 14914500)
        _, out, _ = self.run_batch("employees.txt")
        self.assertFalse(out.startswith("\ufeff"), "no mark in a pipe")

    def test_blank_lines_and_empty_rows_are_not_employees(self):
        header, cells = sheet([person("1", "a", ROW_A)])
        text = csv_text(header, cells) + "\r\n" + "," * (len(header) - 1) + "\r\n" + csv_text(header, cells).split("\r\n", 1)[1]
        self.write("employees.csv", text)
        status, out, err = self.run_batch("--json", "employees.csv")
        self.assertEqual((status, err), (0, ""))
        self.assertEqual([json.loads(line)["line"] for line in out.splitlines()], [2, 5])


class HeaderSpelling(BatchTestCase):
    def test_a_misspelt_optional_input_stops_the_run_until_ignored(self):
        misspelt = "درصد فوق العاده نوبت کار"
        header, cells = sheet([person("1001", "مریم", ROW_A)], "caption")
        header[header.index(CAPTIONS["ShiftWorkPercent"])] = misspelt
        self.write("employees.csv", csv_text(header, cells))
        status, out, err = self.run_batch("employees.csv")
        self.assertEqual((status, out), (2, ""))
        self.assertEqual(err, f'salary-decree-batch: employees.csv:1: ستون "{misspelt}" نام هیچ ورودی نیست ولی به '
                              f'"{CAPTIONS["ShiftWorkPercent"]}" (ورودی ShiftWorkPercent) نزدیک است: اگر همان ورودی است '
                              f'نامش را درست کنید، وگرنه با --ignore-column "{misspelt}" آن را ستون شناسه بگیرید\n')
        status, out, err = self.run_batch("--ignore-column", misspelt, "employees.csv")
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(self.id_notes, [f"salary-decree-batch: employees.csv: {ID_NOTE}شماره پرسنلی، نام، {misspelt}\n"])
        record = read_csv(out)[0]
        self.assertEqual((record["ShiftWorkAllowance"], record["GrandTotal"], record[misspelt]), ("0", "11571440", "20"))

    def test_which_headers_resemble_an_input(self):
        rows = [
            ("a caption without its last letter", "درصد فوق العاده نوبت کار", "درصد فوق العاده نوبت کاری"),
            ("a caption with a letter changed", "درصد فوق العاده سختی کاز", "درصد فوق العاده سختی کار"),
            ("two letters of a field name swapped", "ShiftWorkPrecent", "ShiftWorkPercent"),
            ("a control name with a space", "CheckBox 5", "CheckBox5"),
            ("a name", "نام", None), ("a personnel number", "شماره پرسنلی", None), ("a row number", "ردیف", None),
            ("a national code", "کد ملی", None), ("a family name", "نام خانوادگی", None), ("Name", "Name", None),
            ("a date of hiring", "تاریخ استخدام", None), ("a caption with more words", "ضریب سال 1403", None),
        ]
        for name, header, resembled in rows:
            with self.subTest(name):
                self.write("employees.csv", csv_text(*sheet([dict(ROW_A, **{header: "x"})], ids=[header])))
                status, _, err = self.run_batch("employees.csv")
                if resembled is None:
                    self.assertEqual((status, err), (0, ""))
                else:
                    self.assertEqual(status, 2)
                    self.assertIn(f'ستون "{header}" نام هیچ ورودی نیست ولی به "{resembled}"', err)

    def test_ignore_column_names_an_identification_header_of_the_file(self):
        self.write("employees.csv", csv_text(*sheet([person("1", "a", ROW_A)])))
        for name, message in (("کد", 'در سطر عنوان ستونی به نام "کد" نیست (--ignore-column)'),
                              ("Coefficient", 'ستون "Coefficient" ورودی Coefficient است و --ignore-column تنها ستونی را '
                                              "می پذیرد که ورودی نیست")):
            with self.subTest(name):
                status, out, err = self.run_batch("--ignore-column", name, "employees.csv")
                self.assertEqual((status, out, err), (2, "", f"salary-decree-batch: employees.csv:1: {message}\n"))


class ReportFiles(BatchTestCase):
    def test_one_file_per_row_named_safely(self):
        rows = [person("1001", "a", ROW_A), person("1002", "b", ROW_B), person("1001", "c", ROW_A),
                person("", "d", ROW_A), person("../x/y", "e", ROW_A), person("..", "f", ROW_A),
                person("1006", "g", ROW_A, JobPercent="12a")]
        self.write("employees.csv", csv_text(*sheet(rows)))
        status, _, _ = self.run_batch("--reports", "decrees", "employees.csv")
        self.assertEqual(status, 1)
        self.assertEqual(sorted(os.listdir(self.path("decrees"))),
                         sorted(["1001.txt", "1002.txt", "1001-4.txt", "5.txt", "_._x_y.txt", "7.txt", "1006.txt"]))
        self.assertEqual(self.read("decrees/1001.txt").decode(), "".join(l + "\n" for l in REPORT_A))
        self.assertEqual(self.read("decrees/1002.txt").decode(), "".join(l + "\n" for l in REPORT_B))
        self.assertEqual(self.read("decrees/1006.txt").decode(), NOT_A_NUMBER_12A + "\nJobPercent\n")

    def test_the_thousands_separator_by_the_windows_rule(self):
        self.write("employees.csv", csv_text(*sheet([person("1", "a", ROW_A)])))
        for separator, grand_total in (("", "11739440"), ("\u066c", "11\u066c739\u066c440"), (".", "11.739.440"),
                                       ("ab", "11,739,440")):
            with self.subTest(separator=separator):
                status, out, _ = self.run_batch("--json", "--thousands", separator, "employees.csv")
                self.assertEqual(status, 0)
                self.assertEqual(json.loads(out)["report"][-1], "     جمع کل حکم (با حق مسکن): " + grand_total)


class HostileInput(BatchTestCase):
    """Each a clear message and exit 2, with nothing created or changed."""

    def check_refused(self, arguments, message, created=()):
        self.write("out.csv", "the old results\r\n")
        before = self.files()
        status, out, err = self.run_batch("--csv", "out.csv", "--xlsx", "out.xlsx", "--reports", "decrees",
                                          *arguments)
        self.assertEqual((status, out), (2, ""))
        self.assertEqual(err, "salary-decree-batch: " + message + "\n")
        self.assertEqual(self.files(), before)
        self.assertEqual(self.read("out.csv"), b"the old results\r\n")

    def test_malformed_files(self):
        header, cells = sheet([person("1", "a", ROW_A)])
        good = csv_text(header, cells)
        rows = [
            ("unbalanced quotes", good + '1002,"x\r\n', "employees.csv:3: " +
             'علامت نقل قول (") که در این سطر باز شده تا پایان فایل بسته نشده است'),
            ("a quote inside a cell", good + '1002,ab"c\r\n', "employees.csv:3: " +
             'علامت نقل قول (") نابجا در این سطر: خانه ای که " دارد باید میان دو " بیاید و هر " درون آن دو بار نوشته شود'),
            ("a NUL byte", good + "1002,a\0b\r\n", "employees.csv:3: این سطر نویسه تهی (NUL) دارد: فایل متنی CSV نیست"),
            ("invalid UTF-8, the encoding given", good.encode() + b"1002,\xe9\r\n", "employees.csv:3: " +
             "متن این سطر UTF-8 معتبر نیست: فایل را با کدگذاری UTF-8 یا UTF-16 ذخیره کنید", "utf-8"),
            ("a UTF-16 mark against the encoding given", b"\xff\xfe" + good.encode("utf-16-le"), "employees.csv:1: "
             "فایل با نشانه ترتیب بایت (BOM) کدگذاری UTF-16 آغاز می شود، اما --encoding utf-8 داده شده است", "utf-8"),
            ("a 10 MB field", good + '1002,"' + "x" * (10 << 20) + '"\r\n',
             "employees.csv:3: خانه ای در این سطر از 1048576 بایت بلندتر است"),
            ("two columns naming one input", "نام,Coefficient,Edit1\r\na,1,1\r\n",
             'employees.csv:1: ستون های "Coefficient" و "Edit1" هر دو یک ورودی را می دهند (Edit1)'),
            ("two identification columns of one name", "نام,نام,Edit1\r\na,b,1\r\n",
             'employees.csv:1: دو ستون به نام "نام" هست'),
            ("an empty file", "", "فایل خالی است: سطر عنوان ستون ها را ندارد"),
        ]
        for name, data, message, *encoding in rows:
            with self.subTest(name):
                self.write("employees.csv", data)
                started = time.monotonic()
                self.check_refused([f"--encoding={e}" for e in encoding] + ["employees.csv"], message)
                self.assertLess(time.monotonic() - started, 10)

    def test_files_that_cannot_be_read(self):
        os.mkdir(self.path("folder.csv"))
        self.check_refused(["folder.csv"], '"folder.csv" پوشه است، نه فایل')
        self.check_refused(["missing.csv"], 'فایل "missing.csv" باز نمی شود: No such file or directory')

    def test_outputs_that_cannot_be_written(self):
        self.write("employees.csv", csv_text(*sheet([person("1", "a", ROW_A)])))
        self.write("plain-file", "x")
        cases = [
            (["--xlsx", "no-folder/out.xlsx"], 'در پوشه "no-folder" نمی توان نوشت: No such file or directory'),
            (["--csv", "plain-file/out.csv"], 'در پوشه "plain-file" نمی توان نوشت: Not a directory'),
            (["--reports", "plain-file"], '"plain-file" پوشه نیست'),
            (["--reports", "plain-file/decrees"], 'در پوشه "plain-file" نمی توان نوشت: Not a directory'),
            (["--csv", "employees.csv"], 'خروجی "employees.csv" همان فایل ورودی است'),
            (["--csv", "same", "--xlsx", "same"], '"same" برای دو خروجی داده شده است'),
        ]
        if os.geteuid() != 0:  # root writes into a read-only folder all the same
            os.mkdir(self.path("locked"), 0o555)
            cases.append((["--csv", "locked/out.csv"], 'در پوشه "locked" نمی توان نوشت: Permission denied'))
        for arguments, message in cases:
            with self.subTest(arguments=arguments):
                before = self.files()
                status, out, err = self.run_batch(*arguments, "employees.csv")
                self.assertEqual((status, out, err), (2, "", "salary-decree-batch: " + message + "\n"))
                self.assertEqual(self.files(), before)

    def test_a_header_only(self):
        self.write("employees.csv", "شماره پرسنلی,Edit1\r\n")
        status, out, err = self.run_batch("--json", "employees.csv")
        self.assertEqual((status, out), (0, ""))
        self.assertEqual(err, "salary-decree-batch: employees.csv: فایل جز سطر عنوان ردیفی ندارد\n")

    def test_thousands_of_columns(self):
        header, cells = sheet([person("1", "a", ROW_A), person("2", "b", ROW_B)])
        extra = [f"ستون {k}" for k in range(5000)]
        self.write("employees.csv", csv_text(header + extra, [c + [str(k) for k in range(5000)] for c in cells]))
        started = time.monotonic()
        status, out, err = self.run_batch("--json", "--xlsx", "out.xlsx", "employees.csv")
        self.assertLess(time.monotonic() - started, 10)
        self.assertEqual((status, err), (0, ""))
        objects = [json.loads(line) for line in out.splitlines()]
        self.assertEqual(len(objects[1]["id"]), 5002)
        self.assertEqual(objects[1]["id"]["ستون 4999"], "4999")
        self.assertEqual(objects[1]["result"]["GrandTotal"], 14914500)


class BaseValues(BatchTestCase):
    BASE_FIELDS = ["Coefficient", "DeclaredMinimumSalary", "EffectiveMinimumSalary", "FamilyAllowanceRate",
                   "ChildAllowanceRate", "ClauseBItem3Amount", "ClauseBItem3Points", "MinimumSalaryAndBenefits"]

    def test_info_ini_fills_the_base_fields_and_a_rows_own_value_wins(self):
        # As the window writes it: eight lines, CR LF, the clause-B lines empty.
        self.write("info.ini", "1000\r\n2000000\r\n1600000\r\n300000\r\n100000\r\n\r\n\r\n6000000\r\n")
        bare = {f: v for f, v in ROW_A.items() if f not in self.BASE_FIELDS}
        rows = [person("1", "a", bare), person("2", "b", bare, Coefficient="1100"),
                person("3", "c", bare, MinimumSalaryAndBenefits="16000000", ClauseBItem3Points="200")]
        self.write("employees.csv", csv_text(*sheet(rows)))
        status, out, err = self.run_batch("--base", "info.ini", "employees.csv")
        self.assertEqual((status, err), (0, ""))
        written = read_csv(out)
        self.assertEqual({f: int(written[0][f]) for f in RESULT_FIELDS}, VALUES_A)
        self.assertEqual((written[1]["BaseSalary"], written[1]["SalaryRepair"]), ("968000", "3300000"))  # 880 x 1100
        self.assertEqual(written[2]["SeniorityMinimumDifference"], str(16000000 - 9866200 - 200000))
        self.assertEqual(written[2]["ClauseBItem3Allowance"], "200000")  # coefficient 1000 x 200 points
        status, _, err = self.run_batch("employees.csv")
        self.assertEqual(status, 1, "without the file the base fields are missing")
        self.assertIn("ضریب اعلامی برای سال جدید را وارد کنید", err)

    def test_a_base_file_that_cannot_be_used(self):
        self.write("employees.csv", csv_text(*sheet([person("1", "a", ROW_A)])))
        self.write("seven.ini", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n")
        os.mkdir(self.path("folder.ini"))
        for name, message in (("missing.ini", 'فایل مقادیر پایه "missing.ini" پیدا نشد'),
                              ("seven.ini", 'فایل مقادیر پایه "seven.ini" هشت سطر ندارد'),
                              ("folder.ini", '"folder.ini" پوشه است، نه فایل')):
            with self.subTest(name):
                before = self.files()
                status, out, err = self.run_batch("--base", name, "--csv", "out.csv", "employees.csv")
                self.assertEqual((status, out, err), (2, "", "salary-decree-batch: " + message + "\n"))
                self.assertEqual(self.files(), before)


def whole_rials(value):
    """The report's rounding: halves away from zero."""
    magnitude = int(abs(value) + Fraction(1, 2))
    return magnitude if value >= 0 else -magnitude


def amount(text):
    return Fraction(text.replace(",", ""))


class Derivation(BatchTestCase):
    def recompute(self, line):
        """Each step of a derivation line: (its expression's value from the operands shown, the amount shown)."""
        caption, _, steps = line.partition(": ")
        self.assertTrue(caption.startswith("     "), line)
        checked = []
        for step in steps.split("؛ "):
            if " = " not in step:  # a given amount, no formula
                self.assertRegex(step, r"[0-9][0-9,]*$")
                continue
            expression, _, shown = step.rpartition(" = ")
            # "group 9 i.e. 880": the number before "یعنی" names what the next one is.
            expression = re.sub(r"[0-9][0-9,.]*\s+یعنی", "", expression)
            # Parentheses inside a name ("جمع حکم (بدون حق مسکن)") hold no number.
            expression = re.sub(r"\([^()0-9]*\)", "", expression)
            tokens = re.findall(r"[0-9][0-9,]*(?:\.[0-9]+)?|[-+−×÷()]", expression)
            python = " ".join({"×": "*", "÷": "/", "−": "-"}.get(t, f"Fraction('{t.replace(',', '')}')"
                                                                   if t[0].isdigit() else t) for t in tokens)
            checked.append((whole_rials(eval(python, {"Fraction": Fraction})), amount(shown)))
        return checked

    def test_decree_a_every_step_recomputed_gives_the_amount_shown(self):
        self.write("employees.csv", csv_text(*sheet([person("1001", "مریم", ROW_A), person("2", "b", ROW_B)])))
        status, out, err = self.run_batch("--json", "--explain", "employees.csv")
        self.assertEqual((status, err), (0, ""))
        decree = json.loads(out.splitlines()[0])
        self.assertEqual(list(decree), ["line", "id", "result", "report", "explain", "error"])
        lines = decree["explain"]
        self.assertEqual(lines[0], "     حقوق مبنا: امتیاز گروه 9 یعنی 880 × ضریب 1,000 = 880,000")
        self.assertEqual(lines[-1], "     جمع کل حکم (با حق مسکن): جمع حکم (بدون حق مسکن) 9,866,200 + حق مسکن 1,873,240"
                                    " = 11,739,440")
        steps = 0
        for line in lines:
            for recomputed, shown in self.recompute(line):
                self.assertEqual(recomputed, shown, line)
                steps += 1
        self.assertGreaterEqual(steps, 20)
        # Each item of the report ends on the amount the report shows for it.
        report = {l.rpartition(": ")[0]: l.rpartition(": ")[2] for l in decree["report"][3:] if ": " in l}
        for line in lines:
            caption = line.partition(": ")[0]
            if caption in report:
                self.assertTrue(line.endswith(report[caption]), line)
        self.assertEqual(report.keys() - {l.partition(": ")[0] for l in lines}, set(),
                         "every listed item and total has its derivation")

    def test_explain_goes_into_the_report_files_after_a_blank_line(self):
        self.write("employees.csv", csv_text(*sheet([person("1001", "a", ROW_A)])))
        _, out, _ = self.run_batch("--json", "--explain", "employees.csv")
        explain = json.loads(out)["explain"]
        status, _, _ = self.run_batch("--reports", "decrees", "--explain", "employees.csv")
        self.assertEqual(status, 0)
        self.assertEqual(self.read("decrees/1001.txt").decode(),
                         "".join(l + "\n" for l in REPORT_A) + "\n" + "".join(l + "\n" for l in explain))
        _, out, _ = self.run_batch("--json", "employees.csv")
        self.assertNotIn("explain", json.loads(out))


class CommandLine(BatchTestCase):
    def test_help_and_version_on_standard_output(self):
        for option, start in (("--help", "Computes the yearly salary decree"), ("--version", "salary-decree-batch ")):
            with self.subTest(option):
                status, out, err = self.run_batch(option)
                self.assertEqual((status, err), (0, ""))
                self.assertTrue(out.startswith(start), out)
        _, out, _ = self.run_batch("--help")
        for option in ("--base", "--csv", "--xlsx", "--pdf", "--reports", "--json", "--explain", "--exact",
                       "--decimal", "--thousands", "--sheet", "--encoding", "--ignore-column", "INPUT", ".xlsx",
                       ".ods", "Windows-1256"):
            self.assertIn(option, out)

    def test_usage_errors_print_one_line_and_a_hint(self):
        self.write("employees.csv", csv_text(*sheet([person("1", "a", ROW_A)])))
        for arguments, message in (
                ([], "INPUT is required"),
                (["--bogus", "employees.csv"], "The following argument was not expected: --bogus"),
                (["--decimal", "ab", "employees.csv"], 'جداکننده اعشار باید یک نویسه باشد، نه رقم یا علامت: "ab"'),
                (["--decimal", "5", "employees.csv"], 'جداکننده اعشار باید یک نویسه باشد، نه رقم یا علامت: "5"'),
                (["--json", "--csv", "-", "employees.csv"], '"-" برای دو خروجی داده شده است'),
        ):
            with self.subTest(arguments=arguments):
                status, out, err = self.run_batch(*arguments)
                self.assertEqual((status, out), (2, ""))
                self.assertEqual(err.splitlines(), ["salary-decree-batch: " + message, HINT])


class Progress(BatchTestCase):
    def run_on(self, stderr_is_terminal):
        rows = [person(str(k), "x", ROW_A) for k in range(300)]
        self.write("employees.csv", csv_text(*sheet(rows)))
        env = dict(os.environ, SALARY_DECREE_BATCH_PROGRESS_DELAY_MS="0")
        if not stderr_is_terminal:
            done = subprocess.run([PROGRAM, "--csv", "out.csv", "employees.csv"], cwd=self.folder, env=env,
                                  capture_output=True, timeout=60)
            return done.returncode, "".join(l for l in done.stderr.decode().splitlines(True) if ID_NOTE not in l)
        master, slave = os.openpty()
        process = subprocess.Popen([PROGRAM, "--csv", "out.csv", "employees.csv"], cwd=self.folder, env=env,
                                   stdout=subprocess.DEVNULL, stderr=slave)
        os.close(slave)
        seen = b""
        while True:
            ready, _, _ = select.select([master], [], [], 30)
            if not ready:
                break
            try:
                chunk = os.read(master, 4096)
            except OSError:  # the terminal closed with the program
                break
            if not chunk:
                break
            seen += chunk
        os.close(master)
        return process.wait(30), "".join(l for l in seen.decode().splitlines(True) if ID_NOTE not in l)

    def test_rows_done_of_rows_on_a_terminal_only(self):
        status, seen = self.run_on(True)
        self.assertEqual(status, 0)
        self.assertIn("salary-decree-batch: 300 از 300 ردیف", seen)
        self.assertTrue(seen.endswith("\r\x1b[K"), repr(seen[-40:]))
        status, seen = self.run_on(False)
        self.assertEqual((status, seen), (0, ""))


class Interrupted(BatchTestCase):
    def test_a_stopped_run_leaves_no_file_behind(self):
        header, cells = sheet([person("1", "a", ROW_B)])
        self.write("employees.csv", csv_text(header, cells * 150000))
        before = self.files()
        process = subprocess.Popen([PROGRAM, "--csv", "out.csv", "--xlsx", "out.xlsx", "--json", "employees.csv"],
                                   cwd=self.folder, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        time.sleep(0.5)
        process.send_signal(signal.SIGTERM)
        _, err = process.communicate(timeout=60)
        if process.returncode == 0:
            self.skipTest("the run ended before the signal")
        self.assertEqual(process.returncode, 128 + signal.SIGTERM)
        err = "".join(line for line in err.decode().splitlines(True) if ID_NOTE not in line)
        self.assertEqual(err, "salary-decree-batch: کار نیمه تمام ماند و هیچ فایل خروجی نوشته نشد\n")
        self.assertEqual(self.files(), before)


if __name__ == "__main__":
    unittest.main()
