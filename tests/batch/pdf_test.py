#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The PDF that --pdf writes, read back with poppler's pdfinfo and pdftotext."""
import json
import re
import subprocess
import unicodedata
import unittest

from batch_support import BatchTestCase, REPORT_A, REPORT_B, ROW_A, ROW_B, csv_text, sheet


def pdfinfo(path):
    out = subprocess.run(["pdfinfo", "-enc", "UTF-8", path], capture_output=True, check=True).stdout.decode()
    return dict(line.split(":", 1) for line in out.splitlines() if ":" in line)


def fold(text):
    """Persian folded to plain letters, without direction marks or brackets (which the reader may mirror)."""
    return re.sub("[\u200e\u200f\u202a-\u202e()]", "", unicodedata.normalize("NFKC", text))


def page_text(path, page):
    out = subprocess.run(["pdftotext", "-layout", "-enc", "UTF-8", "-f", str(page), "-l", str(page), path, "-"],
                         capture_output=True, check=True).stdout.decode()
    return fold(out)


def words_and_numbers(text):
    """A line as a reader sees it whatever order bidi gave its pieces: its Persian words and its numbers."""
    text = fold(text)
    return sorted(re.findall("[\u0600-\u06ff]+", text)), sorted(re.findall("[0-9][0-9,]*", text))


def contains_line(text, line):
    """A report line printed as one line of the page: the same words and the same numbers."""
    wanted = words_and_numbers(line)
    return any(words_and_numbers(printed) == wanted for printed in text.splitlines())


class Pdf(BatchTestCase):
    def rows(self):
        return [dict(ROW_A, **{"شماره پرسنلی": "1001", "نام": "مریم احمدی"}),
                dict(ROW_A, **{"شماره پرسنلی": "1002", "نام": "رضا", "EmployeeGroup": "25"}),
                dict(ROW_B, **{"شماره پرسنلی": "1003", "نام": "زهرا"})]

    def test_one_decree_per_page_with_the_report_lines(self):
        self.write("employees.csv", csv_text(*sheet(self.rows())))
        status, _, err = self.run_batch("--pdf", "decrees.pdf", "employees.csv")
        self.assertEqual(status, 1)
        self.assertEqual(err.count("\n"), 1, "only the refused row is reported: " + err)
        info = pdfinfo(self.path("decrees.pdf"))
        self.assertEqual(int(info["Pages"]), 3)
        self.assertEqual(info["Title"].strip(), "چاپ نتیجه محاسبات")
        self.assertIn("(A4)", info["Page size"])
        for page, number, name, report in ((1, "1001", "مریم احمدی", REPORT_A), (3, "1003", "زهرا", REPORT_B)):
            text = page_text(self.path("decrees.pdf"), page)
            first = [l for l in text.splitlines() if l.strip()][:2]
            self.assertTrue("شماره پرسنلی" in first[0] and number in first[0], first)
            self.assertTrue("نام" in first[1] and name in first[1], first)
            for line in report:
                if line.strip():
                    self.assertTrue(contains_line(text, line), f"page {page} lacks {line!r}")
        refused = page_text(self.path("decrees.pdf"), 2)
        self.assertTrue(contains_line(refused, "خطا: گروه مستخدم باید عددی از 1 تا 20 باشد"), refused)
        self.assertTrue(contains_line(refused, "ستون خطا: EmployeeGroup"), refused)
        self.assertIn("EmployeeGroup", refused)
        self.assertTrue(contains_line(refused, "شماره پرسنلی: 1002"), refused)

    def test_each_decree_starts_a_page_when_its_derivation_runs_over(self):
        self.write("employees.csv", csv_text(*sheet(self.rows())))
        _, out, _ = self.run_batch("--json", "--explain", "employees.csv")
        explained = [json.loads(line) for line in out.splitlines()]
        status, _, _ = self.run_batch("--pdf", "decrees.pdf", "--explain", "employees.csv")
        self.assertEqual(status, 1)
        pages = int(pdfinfo(self.path("decrees.pdf"))["Pages"])
        self.assertGreater(pages, 3)
        starts = [page for page in range(1, pages + 1)
                  if "شماره پرسنلی" in page_text(self.path("decrees.pdf"), page)]
        self.assertEqual(len(starts), 3)
        self.assertEqual(starts[0], 1)
        first = "".join(page_text(self.path("decrees.pdf"), page) for page in range(starts[0], starts[1]))
        # The first decree's derivation, every amount of it (its lines wrap), before the second decree's page.
        _, printed = words_and_numbers(first)
        for line in explained[0]["explain"]:
            for number in words_and_numbers(line)[1]:
                self.assertIn(number, printed, line)
        self.assertIn(fold("بسته گروه"), first)
        self.assertNotIn("1002", first)
        self.assertIn("1002", page_text(self.path("decrees.pdf"), starts[1]))


if __name__ == "__main__":
    unittest.main()
