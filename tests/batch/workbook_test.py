#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Workbooks (.xlsx, .ods) and Excel's Windows-1256 CSV as input: the same decrees as from a UTF-8
CSV, each kind of cell an office suite stores, and hostile archives refused."""
import json
import os
import subprocess
import time
import unittest
import zipfile

import openpyxl

from batch_support import (BatchTestCase, CONTROL_NAMES, FORMAT_IDS, FORMAT_ROWS, ROW_A, ROW_B, VALUES_A, VALUES_B,
                           csv_text, sheet)

WORKBOOKS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "workbooks")
GROUP_25 = "گروه مستخدم: گروه مستخدم باید عددی از 1 تا 20 باشد"
READ_AS_1256 = ("متن فایل UTF-8 معتبر نیست و با کدگذاری Windows-1256 (CSV اکسل در ویندوز فارسی) خوانده شد؛ "
                "اگر درست نیست، کدگذاری را با --encoding بدهید")
SHEET = "xl/worksheets/sheet1.xml"


def committed(name):
    """A workbook LibreOffice saved (see workbooks/make-workbooks.py)."""
    with open(os.path.join(WORKBOOKS, name), "rb") as f:
        return f.read()


def number_or_text(text):
    """A cell as a spreadsheet keeps what was typed: a number when it reads as one."""
    try:
        return int(text)
    except ValueError:
        try:
            return float(text)
        except ValueError:
            return text


def windows_1256(text):
    """As Excel saves CSV on a Persian Windows: the Persian yeh becomes the Arabic one."""
    return subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP1256"], input=text.replace("ی", "ي").encode(),
                          capture_output=True, check=True).stdout


def xlsx(rows_xml, shared=None, styles=None, parts=None, drop=()):
    """A minimal package: rows_xml goes into <sheetData>; shared is the <sst> content."""
    main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
    relationship = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    package = {
        "[Content_Types].xml": '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>',
        "_rels/.rels": '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                       f'<Relationship Id="rId1" Type="{relationship}/officeDocument" Target="xl/workbook.xml"/>'
                       '</Relationships>',
        "xl/workbook.xml": f'<workbook xmlns="{main}" xmlns:r="{relationship}"><sheets>'
                           '<sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>',
        "xl/_rels/workbook.xml.rels":
            '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
            f'<Relationship Id="rId1" Type="{relationship}/worksheet" Target="worksheets/sheet1.xml"/>' +
            (f'<Relationship Id="rId2" Type="{relationship}/sharedStrings" Target="sharedStrings.xml"/>'
             if shared is not None else "") +
            (f'<Relationship Id="rId3" Type="{relationship}/styles" Target="styles.xml"/>'
             if styles is not None else "") + "</Relationships>",
        SHEET: f'<worksheet xmlns="{main}"><sheetData>{rows_xml}</sheetData></worksheet>',
    }
    if shared is not None:
        package["xl/sharedStrings.xml"] = f'<sst xmlns="{main}">{shared}</sst>'
    if styles is not None:
        package["xl/styles.xml"] = f'<styleSheet xmlns="{main}">{styles}</styleSheet>'
    package.update(parts or {})
    return zip_bytes({name: data for name, data in package.items() if name not in drop})


def ods(tables_xml):
    ns = "urn:oasis:names:tc:opendocument:xmlns"
    return zip_bytes({
        "mimetype": "application/vnd.oasis.opendocument.spreadsheet",
        "content.xml": f'<office:document-content xmlns:office="{ns}:office:1.0" xmlns:table="{ns}:table:1.0" '
                       f'xmlns:text="{ns}:text:1.0"><office:body><office:spreadsheet>{tables_xml}'
                       '</office:spreadsheet></office:body></office:document-content>',
    })


def zip_bytes(parts):
    path = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"workbook-test-{os.getpid()}.zip")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in parts.items():
            archive.writestr(name, data)
    with open(path, "rb") as f:
        data = f.read()
    os.unlink(path)
    return data


def inline(text):
    return f'<c t="inlineStr"><is><t>{text}</t></is></c>'


def xlsx_rows(row, change=None, ids=("1", "x"), header=True):
    """Decree row (a dict by field name) under field-name headers, as <row> elements of inline
    strings and numbers, without cell references; change maps a field, and ids may hold, the
    raw <c> element of a cell."""
    fields = list(CONTROL_NAMES)
    cells = "".join(v if v.startswith("<") else inline(v) for v in ids)
    for field in fields:
        if change and field in change:
            cells += change[field]
        elif row.get(field, "") == "":
            cells += "<c/>"
        else:
            cells += f"<c><v>{row[field]}</v></c>"
    titles = "<row>" + "".join(inline(h) for h in ["کد", "نام"] + fields) + "</row>" if header else ""
    return f"{titles}<row>{cells}</row>"


def ods_cell(value, repeat=1, inside=""):
    repeated = f' table:number-columns-repeated="{repeat}"' if repeat > 1 else ""
    if value == "":
        return f"<table:table-cell{repeated}/>"
    return (f'<table:table-cell{repeated} office:value-type="string"><text:p>{value}</text:p>{inside}'
            "</table:table-cell>")


class SameDecrees(BatchTestCase):
    def run_json(self, name):
        status, out, err = self.run_batch("--json", name)
        return status, [json.loads(line) for line in out.splitlines()], err

    def test_every_format_gives_the_decrees_of_the_utf8_csv(self):
        header, cells = sheet(FORMAT_ROWS, "caption", ids=FORMAT_IDS)
        text = csv_text(header, cells)
        self.write("employees.csv", text)
        book = openpyxl.Workbook()
        for row in [header] + cells:
            book.active.append([number_or_text(c) if c else None for c in row])
        book.save(self.path("openpyxl.xlsx"))
        self.write("windows-1256.csv", windows_1256(text))
        for name in ("employees.xlsx", "employees.ods"):
            self.write("libreoffice-" + name, committed(name))

        status, expected, err = self.run_json("employees.csv")
        self.assertEqual((status, err), (1, f"salary-decree-batch: employees.csv:4: {GROUP_25}\n"))
        self.assertEqual([o["line"] for o in expected if o["result"]], [2, 3, 5])
        _, expected_csv, _ = self.run_batch("employees.csv")
        for name, note in (("openpyxl.xlsx", ""), ("libreoffice-employees.xlsx", ""),
                           ("libreoffice-employees.ods", ""),
                           ("windows-1256.csv", f"salary-decree-batch: windows-1256.csv: {READ_AS_1256}\n")):
            with self.subTest(name):
                status, objects, err = self.run_json(name)
                self.assertEqual((status, err), (1, note + f"salary-decree-batch: {name}:4: {GROUP_25}\n"))
                self.assertEqual(objects, expected)
                _, out, _ = self.run_batch(name)
                self.assertEqual(out, expected_csv)
                self.run_batch("--csv", "out.csv", name)
                self.assertEqual(self.read("out.csv"), b"\xef\xbb\xbf" + expected_csv.encode(),
                                 "a spreadsheet user's file gets the UTF-8 mark")

    def test_windows_1256_is_recognised_below_an_ascii_header(self):
        rows = [dict(ROW_A, **{"code": str(k), "name": "رضا"}) for k in range(2000)]
        header, cells = sheet(rows, "field", ids=["code", "name"])
        self.write("employees.csv", windows_1256(csv_text(header, cells)))
        status, out, err = self.run_batch("--json", "employees.csv")
        self.assertEqual((status, err), (0, f"salary-decree-batch: employees.csv: {READ_AS_1256}\n"))
        objects = [json.loads(line) for line in out.splitlines()]
        self.assertEqual(len(objects), 2000)
        self.assertEqual(objects[-1]["id"], {"code": "1999", "name": "رضا"})
        self.assertEqual(objects[-1]["result"], VALUES_A)
        status, _, err = self.run_batch("--encoding", "utf-8", "employees.csv")
        self.assertEqual((status, err), (2, "salary-decree-batch: employees.csv:2: "
                                            "متن این سطر UTF-8 معتبر نیست: فایل را با کدگذاری UTF-8 یا UTF-16 ذخیره کنید\n"))


    def test_a_sheet_of_only_a_header_is_told_as_a_csv_file_of_only_a_header(self):
        self.write("employees.csv", "Edit1\r\n")
        self.write("employees.xlsx", xlsx(xlsx_rows({}, header=True).split("</row>")[0] + "</row>"))
        for name in ("employees.csv", "employees.xlsx"):
            with self.subTest(name):
                status, out, err = self.run_batch("--json", name)
                self.assertEqual((status, out, err), (0, "", f"salary-decree-batch: {name}: فایل جز سطر عنوان ردیفی ندارد\n"))


class Cells(BatchTestCase):
    def decrees(self, name, data, *arguments):
        """(line, identification cells, values, message) of every row."""
        self.write(name, data)
        status, out, err = self.run_batch("--json", *arguments, name)
        self.assertIn(status, (0, 1), err)
        return [(o["line"], tuple(o["id"].values()), o["result"], o["error"] and o["error"]["message"])
                for o in map(json.loads, out.splitlines())]

    def test_libreoffices_formulas_booleans_dates_errors_percentages_and_sheets(self):
        date = 'خانه ستون "JobPercent" تاریخ یا زمان است (2024-03-20): این ستون عدد یا متن می خواهد، نه تاریخ'
        error = 'خانه ستون "SpecialPercent" به جای مقدار خطای فرمول #DIV/0! دارد'
        percentage = ('خانه ستون "JobPercent" قالب درصد دارد و مقدار ذخیره شده آن 0.2 است: '
                      "درصد را بی قالب درصد، به صورت عدد وارد کنید")
        for name in ("cells.xlsx", "cells.ods"):
            data = committed(name)
            with self.subTest(name):
                self.assertEqual(self.decrees(name, data), [
                    (2, ("1", "رضا"), VALUES_A, None),  # formulas: a number, a text, TRUE(), 1=1, FALSE(), =""
                    (3, ("2", "زهرا"), None, date), (4, ("3", "مهسا"), None, error),
                    (5, ("4", "آرش"), VALUES_B, None),  # a hidden row
                    (6, ("5", "سارا"), None, percentage)])
                self.assertEqual(self.decrees(name, data, "--sheet", "دوم"), [(2, ("9", "دوم"), VALUES_B, None)])

    def test_cells_as_office_suites_and_libraries_store_them(self):
        a = dict(ROW_A)
        missing_declared_minimum = "مبلغ کمترین حقوق اعلامی برای سال جدید را به صورت ریال وارد کنید"
        no_value = ('خانه ستون "SpecialPercent" فرمولی است که مقدارش در فایل ذخیره نشده است: '
                    "فایل را در اکسل یا LibreOffice باز و دوباره ذخیره کنید")
        header = ["کد", "نام"] + list(CONTROL_NAMES)
        # Decree A, its insurance type and head-of-household flag (adjacent columns) one repeated cell.
        repeated_row = "".join(
            [ods_cell("1"), ods_cell("x", inside="<office:annotation><text:p>a comment</text:p></office:annotation>")] +
            [ods_cell("1", 2) if f == "InsuranceType" else "" if f == "HeadOfHousehold" else ods_cell(a.get(f, ""))
             for f in CONTROL_NAMES])
        cases = [
            ("shared strings with runs and phonetic hints", "xlsx", xlsx(
                '<row><c t="s"><v>0</v></c><c t="s"><v>1</v></c></row><row><c><v>1000</v></c><c><v>9</v></c></row>',
                shared='<si><r><t>Coeff</t></r><r><t>icient</t></r><rPh><t>x</t></rPh></si><si><t>Edit6</t></si>'),
             [(2, (), None, missing_declared_minimum)]),
            ("numbers as written, an exponent as LibreOffice writes it", "xlsx",
             xlsx(xlsx_rows(a, {"Coefficient": "<c><v>1E+003</v></c>"})), [(2, ("1", "x"), VALUES_A, None)]),
            ("a cell without a value, a formula's empty text, a boolean", "xlsx", xlsx(xlsx_rows(a, {
                "Note12Difference": '<c s="0"/>', "ClauseBItem3Amount": '<c t="str"><f>""</f><v></v></c>',
                "HeadOfHousehold": '<c t="b"><v>1</v></c>'})), [(2, ("1", "x"), VALUES_A, None)]),
            ("a number formula saved without its value", "xlsx",
             xlsx(xlsx_rows(a, {"SpecialPercent": "<c><f>5*2</f><v></v></c>"})), [(2, ("1", "x"), None, no_value)]),
            ("a date in an input column, a date in an identification column", "xlsx",
             xlsx(xlsx_rows(a, {"JobPercent": '<c s="1"><v>45371</v></c>'}) +
                  xlsx_rows(a, ids=("3", '<c s="1"><v>45371.5</v></c>'), header=False),
                  styles='<cellXfs count="2"><xf numFmtId="0"/><xf numFmtId="14"/></cellXfs>'),
             [(2, ("1", "x"), None,
               'خانه ستون "JobPercent" تاریخ یا زمان است (2024-03-20): این ستون عدد یا متن می خواهد، نه تاریخ'),
              (3, ("3", "2024-03-20T12:00:00"), VALUES_A, None)]),
            ("an error cell", "xlsx", xlsx(xlsx_rows(a, {"JobPercent": '<c t="e"><v>#N/A</v></c>'})),
             [(2, ("1", "x"), None, 'خانه ستون "JobPercent" به جای مقدار خطای فرمول #N/A دارد')]),
            ("rows that skip rows and columns", "xlsx", xlsx(
                '<row r="2"/><row r="3"><c r="A3" t="inlineStr"><is><t>Edit1</t></is></c><c r="B3" t="inlineStr">'
                '<is><t>Edit2</t></is></c></row><row r="7"><c r="B7"><v>2000000</v></c></row>'),
             [(7, (), None, "ضریب اعلامی برای سال جدید را وارد کنید")]),
            ("repeated cells and rows, padding to the grid, a comment", "ods", ods(
                '<table:table table:name="s"><table:table-row>' + "".join(ods_cell(h) for h in header) +
                ods_cell("", 16384 - len(header)) + '</table:table-row>'
                '<table:table-row table:number-rows-repeated="3">' + repeated_row + ods_cell("", 16000) +
                '</table:table-row><table:table-row table:number-rows-repeated="1048570"><table:table-cell '
                'table:number-columns-repeated="16384"/></table:table-row></table:table>'),
             [(2, ("1", "x"), VALUES_A, None), (3, ("1", "x"), VALUES_A, None), (4, ("1", "x"), VALUES_A, None)]),
        ]
        for name, kind, data, expected in cases:
            with self.subTest(name):
                started = time.monotonic()
                self.assertEqual(self.decrees("employees." + kind, data), expected)
                self.assertLess(time.monotonic() - started, 10)


class HostileWorkbooks(BatchTestCase):
    """Each a clear message and exit 2, with nothing created or changed."""

    def test_refused_whole(self):
        good = committed("employees.xlsx")
        laughs = ('<?xml version="1.0"?><!DOCTYPE lolz [<!ENTITY lol "lol">'
                  '<!ENTITY lol2 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">]><worksheet>&lol2;</worksheet>')
        huge = "<row><c t=\"inlineStr\"><is><t>" + "x" * ((1 << 20) + 1) + "</t></is></c></row>"
        cases = [
            ("a zip bomb", "employees.xlsx", xlsx("", parts={SHEET: "<worksheet>" + " " * (64 << 20) + "</worksheet>"}),
             'بخش "xl/worksheets/sheet1.xml" کارپوشه بیش از 400 برابر فشرده شده است (بمب zip)؛ چنین فایلی خوانده نمی شود'),
            ("entity expansion", "employees.xlsx", xlsx("", parts={SHEET: laughs}),
             'بخش "xl/worksheets/sheet1.xml" کارپوشه تعریف DOCTYPE یا موجودیت XML دارد که هیچ کارپوشه ای ندارد؛ '
             "چنین فایلی خوانده نمی شود"),
            ("a password on LibreOffice's ODS", "employees.ods", committed("encrypted.ods"),
             "کارپوشه رمزدار است: آن را بی گذرواژه ذخیره کنید"),
            ("a password on an Excel workbook", "employees.xlsx", committed("encrypted.xls"),
             '"employees.xlsx" کارپوشه رمزدار یا کارپوشه قدیمی اکسل (xls) است: آن را بی گذرواژه و با قالب xlsx یا ods '
             "ذخیره کنید"),
            ("a truncated archive", "employees.xlsx", good[:len(good) // 2],
             "بایگانی zip کارپوشه آسیب دیده یا ناقص است (Not a zip archive)"),
            ("a part missing", "employees.xlsx", xlsx("", drop=(SHEET,)),
             'بخش "xl/worksheets/sheet1.xml" کارپوشه در بایگانی نیست'),
            ("a million non-empty columns", "employees.ods", ods(
                '<table:table table:name="s"><table:table-row><table:table-cell table:number-columns-repeated="1000000" '
                'office:value-type="string"><text:p>x</text:p></table:table-cell></table:table-row></table:table>'),
             "employees.ods:1: این ردیف بیش از 16384 ستون دارد"),
            ("shared strings over the limit", "employees.xlsx", xlsx("", shared="<si><t>x</t></si>" * (4 << 20)),
             'جدول متن های مشترک کارپوشه ("xl/sharedStrings.xml") از 67108864 بایت بزرگتر است؛ چنین فایلی خوانده نمی شود'),
            ("a cell over 1 MiB", "employees.xlsx", xlsx(huge), "employees.xlsx:1: خانه ای در این سطر از 1048576 بایت بلندتر است"),
            ("an archive that is no workbook", "employees.xlsx", zip_bytes({"word/document.xml": "<document/>"}),
             '"employees.xlsx" بایگانی zip است ولی کارپوشه xlsx یا ods نیست'),
            ("a sheet the workbook does not have", "employees.xlsx", good,
             'کاربرگی به نام "Sheet9" در کارپوشه نیست؛ کاربرگ های آن: "employees"', "--sheet", "Sheet9"),
            ("a sheet of a CSV file", "employees.csv", "Edit1\r\n1\r\n",
             '"employees.csv" فایل CSV است و کاربرگی ندارد که --sheet آن را برگزیند', "--sheet", "Sheet1"),
            ("an empty sheet", "employees.xlsx", xlsx('<row r="1"><c r="A1" s="1"/></row>'),
             'کاربرگ "Sheet1" خالی است: سطر عنوان ستون ها را ندارد'),
        ]
        for name, file, data, message, *arguments in cases:
            with self.subTest(name):
                self.write(file, data)
                self.write("out.csv", "the old results\r\n")
                before = self.files()
                started = time.monotonic()
                status, out, err = self.run_batch("--csv", "out.csv", "--xlsx", "out.xlsx", "--reports", "decrees",
                                                  *arguments, file)
                self.assertLess(time.monotonic() - started, 10)
                self.assertEqual((status, out, err), (2, "", "salary-decree-batch: " + message + "\n"))
                self.assertEqual(self.files(), before)
                self.assertEqual(self.read("out.csv"), b"the old results\r\n")
                os.unlink(self.path(file))


if __name__ == "__main__":
    unittest.main()
