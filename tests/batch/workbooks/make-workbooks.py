#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the workbooks the batch tests read, with LibreOffice itself (through
UNO: packages libreoffice-calc-nogui and python3-uno), so that the tests see
the files an office suite really writes without installing it on every
machine. The files are committed; run this again after changing the rows in
batch_support.py, and to remake examples/employees.xlsx.

    tests/batch/workbooks/make-workbooks.py

employees.xlsx / .ods      FORMAT_ROWS under captions, as LibreOffice saves them
cells.xlsx / .ods          formulas, booleans, a date, an error, a percentage, a hidden row,
                           and a second sheet (see workbook_test.py for what each row holds)
encrypted.xls / .ods       FORMAT_ROWS saved with the password "secret"; Excel keeps an encrypted
                           .xlsx in the same compound file as an .xls (LibreOffice 7.4 fails to
                           write an encrypted .xlsx through UNO)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", "..", ".."))
sys.path.insert(0, os.path.dirname(HERE))
from batch_support import CONTROL_NAMES, FORMAT_IDS, FORMAT_ROWS, ROW_A, ROW_B, csv_text, sheet  # noqa: E402

XLSX = "Calc MS Excel 2007 XML"
ODS = "calc8"


def props(**values):
    out = []
    for name, value in values.items():
        p = PropertyValue()
        p.Name, p.Value = name, value
        out.append(p)
    return tuple(out)


class Office:
    """A headless LibreOffice with a profile of its own, driven over a pipe."""

    def __init__(self, folder):
        self.pipe = "make-workbooks-%d" % os.getpid()
        self.process = subprocess.Popen(
            ["soffice", "--headless", "--invisible", "--norestore", "--nologo",
             "-env:UserInstallation=" + uno.systemPathToFileUrl(os.path.join(folder, "profile")),
             "--accept=pipe,name=%s;urp;" % self.pipe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(300):
            try:
                context = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % self.pipe)
                break
            except Exception:
                time.sleep(0.1)
        else:
            raise SystemExit("LibreOffice did not start")
        self.desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)

    def open_csv(self, path):
        # Comma, double quote, UTF-8, from line 1.
        return self.desktop.loadComponentFromURL(uno.systemPathToFileUrl(path), "_blank", 0,
                                                 props(Hidden=True, FilterName="Text - txt - csv (StarCalc)",
                                                       FilterOptions="44,34,76,1"))

    def new_sheet(self):
        return self.desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, props(Hidden=True))

    def close(self):
        try:
            self.desktop.terminate()
        except Exception:
            pass
        self.process.wait(30)


def save(document, name, filter_name, **extra):
    path = os.path.join(HERE, name)
    document.storeToURL(uno.systemPathToFileUrl(path), props(FilterName=filter_name, Overwrite=True, **extra))
    print("wrote", os.path.relpath(path, ROOT))


def column(name, header):
    return header.index(name)


def fill_cells(document):
    """Sheet 1, named "employees" in Persian: field-name headers, then
    row 2  decree A through formulas: a number, a text, booleans TRUE() and FALSE(), an empty text ="";
    row 3  decree A with a date in JobPercent;
    row 4  decree A with #DIV/0! in SpecialPercent;
    row 5  decree B, hidden;
    row 6  decree A with 20% (a percentage) in JobPercent.
    Sheet 2, named "second" in Persian: decree B alone."""
    header = FORMAT_IDS + list(CONTROL_NAMES)
    sheets = document.Sheets
    first = sheets.getByIndex(0)
    first.Name = "کارکنان"
    sheets.insertNewByName("دوم", 1)
    second = sheets.getByName("دوم")
    formats = document.NumberFormats
    locale = uno.createUnoStruct("com.sun.star.lang.Locale")
    date_format = formats.queryKey("YYYY-MM-DD", locale, False)
    if date_format == -1:
        date_format = formats.addNew("YYYY-MM-DD", locale)
    percent_format = formats.queryKey("0%", locale, False)

    def put(target, row, values):
        for k, name in enumerate(header):
            value = values.get(name, "")
            cell = target.getCellByPosition(k, row)
            if isinstance(value, str) and value.startswith("="):
                cell.setFormula(value)
            elif isinstance(value, (int, float)):
                cell.setValue(value)
            elif value != "":
                try:
                    cell.setValue(float(value))
                except ValueError:
                    cell.setString(value)

    for target in (first, second):
        for k, name in enumerate(header):
            target.getCellByPosition(k, 0).setString(name)
    put(first, 1, dict(ROW_A, **{"کد": "1", "نام": '="رضا"', "Coefficient": "=500*2", "HeadOfHousehold": "=TRUE()",
                                  "AdjustmentEligible": "=1=1", "VeteranEligible": "=FALSE()",
                                  "ClauseBItem3Amount": '=""'}))
    put(first, 2, dict(ROW_A, **{"کد": "2", "نام": "زهرا"}))
    job = first.getCellByPosition(column("JobPercent", header), 2)
    job.setFormula("=DATE(2024;3;20)")
    job.NumberFormat = date_format
    put(first, 3, dict(ROW_A, **{"کد": "3", "نام": "مهسا", "SpecialPercent": "=1/0"}))
    put(first, 4, dict(ROW_B, **{"کد": "4", "نام": "آرش"}))
    first.Rows.getByIndex(4).IsVisible = False
    put(first, 5, dict(ROW_A, **{"کد": "5", "نام": "سارا"}))
    job = first.getCellByPosition(column("JobPercent", header), 5)
    job.setValue(0.2)
    job.NumberFormat = percent_format
    put(second, 1, dict(ROW_B, **{"کد": "9", "نام": "دوم"}))
    document.calculateAll()


def main():
    folder = tempfile.mkdtemp(prefix="make-workbooks-")
    office = Office(folder)
    try:
        rows_csv = os.path.join(folder, "employees.csv")
        with open(rows_csv, "w", encoding="utf-8", newline="") as f:
            f.write(csv_text(*sheet(FORMAT_ROWS, "caption", ids=FORMAT_IDS)))
        document = office.open_csv(rows_csv)
        save(document, "employees.xlsx", XLSX)
        save(document, "employees.ods", ODS)
        save(document, "encrypted.xls", "MS Excel 97", Password="secret")
        save(document, "encrypted.ods", ODS, Password="secret")
        document.close(True)

        document = office.new_sheet()
        fill_cells(document)
        save(document, "cells.xlsx", XLSX)
        save(document, "cells.ods", ODS)
        document.close(True)

        document = office.open_csv(os.path.join(ROOT, "examples", "employees.csv"))
        document.storeToURL(uno.systemPathToFileUrl(os.path.join(ROOT, "examples", "employees.xlsx")),
                            props(FilterName=XLSX, Overwrite=True))
        print("wrote examples/employees.xlsx")
        document.close(True)
    finally:
        office.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
