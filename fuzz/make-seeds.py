#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Each seed is a small input with a meaning (named after it); the files are
committed, this script only documents how the binary ones were made. Run it
again after changing a seed list: it rewrites the folders of the targets it
knows and leaves the others alone."""
import os
import shutil
import struct
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def write(target, seeds):
    folder = os.path.join(ROOT, target)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name, data in seeds:
        if isinstance(data, str):
            data = data.encode("utf-8")
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


# text_to_float: a selector byte '0'..'5' picks the decimal separator
# (. , U+066B / U+00B7 '), then the text.
def text_seeds():
    point, comma, arabic = "0", "1", "2"
    return [
        ("leading-zeros", point + "007"),
        ("plus-sign", point + "+5"),
        ("minus-sign", point + "-5"),
        ("fraction", point + "12.5"),
        ("no-integer-part", point + ".5"),
        ("no-fraction-digits", point + "5."),
        ("exponent", point + "1e3"),
        ("exponent-signed", point + "1E+3"),
        ("exponent-negative", point + "25e-1"),
        ("point-one", point + "0.1"),
        ("underflow-to-zero", point + "1e-400"),
        ("overflow-309-digits", point + "9" * 309),
        ("overflow-exponent", point + "-1e400"),
        ("largest-double", point + "1.7976931348623157e308"),
        ("double-rounding-at-the-top", point + "1.797693134862315807e308"),
        ("smallest-normal", point + "2.2250738585072014e-308"),
        ("smallest-subnormal", point + "4.9406564584124654e-324"),
        ("half-smallest-subnormal", point + "2.4703282292062327e-324"),
        ("tie-to-even", point + "9007199254740993"),
        ("nearest-above", point + "0.30000000000000004"),
        ("letter-after-digits", point + "12a"),
        ("letters", point + "abc"),
        ("empty", point),
        ("sign-only", point + "+"),
        ("separator-only", point + "."),
        ("two-separators", point + "1.2.3"),
        ("group-separator", point + "1,000"),
        ("exponent-without-digits", point + "1e"),
        ("exponent-without-mantissa", point + "e5"),
        ("two-signs", point + "--5"),
        ("spaces-and-controls", point + " \t12\r\n"),
        ("inner-space", point + "1 2"),
        ("persian-digits", point + "\u06f1\u06f2"),
        ("arabic-indic-digits", point + "\u0661\u0662"),
        ("comma-separator", comma + "12,5"),
        ("arabic-separator", arabic + "12\u066b5"),
        ("arabic-separator-cut", (arabic + "12").encode() + b"\xd9"),
        ("huge-exponent", point + "1e99999999999999999999"),
        ("zero-huge-exponent", point + "0e99999"),
        ("tiny-exponent", point + "1e-99999999999"),
        ("nul-inside", b"0\x00 5"),
        ("many-fraction-digits", point + "0." + "3" * 400 + "e2"),
        ("hex", point + "0x10"),
        ("inf", point + "inf"),
    ]


# format_amount: a selector byte for the thousands separator, one for the
# decimal separator, one for the kind (0 double, 1 long double), then the
# value's bytes (8 or 10, little endian).
def amount_seed(value, kind="double", thousands=0, decimal=0):
    if kind == "double":
        return bytes([thousands, decimal, 0]) + struct.pack("<d", value)
    return bytes([thousands, decimal, 1]) + value


def long_double(significand, exponent, negative=False):
    """significand is the 64-bit integer with its top bit set; value = m × 2^(e-63)."""
    biased = exponent + 16383
    return struct.pack("<QH", significand, biased | (0x8000 if negative else 0))


def amount_seeds():
    return [
        ("zero", amount_seed(0.0)),
        ("minus-zero", amount_seed(-0.0)),
        ("half", amount_seed(0.5)),
        ("minus-four-tenths", amount_seed(-0.4)),
        ("minus-two-and-a-half", amount_seed(-2.5)),
        ("half-up-1233", amount_seed(1233.5)),
        ("half-up-1234", amount_seed(1234.5)),
        ("grouping", amount_seed(1234567.0)),
        ("no-group-999", amount_seed(999.0)),
        ("carry-999-5", amount_seed(999.5)),
        ("just-below-half", amount_seed(0.49999999999999994)),
        ("largest-below-1e18", amount_seed(999999999999999872.0)),
        ("exactly-1e18", amount_seed(1e18)),
        ("minus-1e18", amount_seed(-1e18)),
        ("general-form", amount_seed(1.2345678901234567e20)),
        ("largest-double", amount_seed(1.7976931348623157e308)),
        ("smallest-subnormal", amount_seed(5e-324)),
        ("empty-separator", amount_seed(1234567.0, thousands=1)),
        ("arabic-separator", amount_seed(1234567.0, thousands=2)),
        ("arabic-decimal-general", amount_seed(-3.5e25, decimal=2)),
        # 999999999999999999.75 = 3999999999999999999 / 4 needs the 64-bit significand.
        ("long-double-just-below-1e18",
         amount_seed(long_double(3999999999999999999 << 2, 59), kind="long")),
        # 12345678.5 = 24691357 / 2
        ("long-double-half", amount_seed(long_double(24691357 << 39, 23), kind="long")),
        ("long-double-huge", amount_seed(long_double(0xFFFFFFFFFFFFFFFF, 16383), kind="long")),
        ("long-double-tiny", amount_seed(long_double(0x8000000000000000, -16382), kind="long")),
        # 15 digits of the exact value, rounded once: the 18-digit expansions
        # of these end in ...500 and would round up.
        ("fifteen-digits-once", amount_seed(215242163771643499905024.0)),
        ("fifteen-digits-once-product",  # 53578 x 616649591472820 = 33038851811930749960
         amount_seed(long_double(33038851811930749960 >> 1, 64), kind="long")),
        ("tie-at-the-fifteenth-digit", amount_seed(long_double(12345678901234450000, 63), kind="long")),
    ]


# decree: flags byte (bit k: CheckBox k+1, bit 6: CheckBox8), insurance byte
# (0: none, 1: social security, 2: retirement organisation), decimal and
# thousands separator bytes, then Edit1..Edit26 separated by '|'.
def decree_seed(fields, flags=0, insurance=2, decimal=0, thousands=0):
    texts = [""] * 26
    for number, text in fields.items():
        texts[number - 1] = text
    return bytes([flags, insurance, decimal, thousands]) + "|".join(texts).encode("utf-8")


WORKED_A = {1: "1000", 2: "2000000", 3: "1600000", 4: "300000", 5: "100000", 6: "9", 7: "2",
            8: "800000", 9: "100000", 10: "4", 11: "2", 13: "20", 14: "50", 15: "10", 20: "20",
            26: "6000000"}
WORKED_B = {**WORKED_A, **{26: "16000000", 12: "50000", 17: "10", 19: "5", 22: "20", 18: "200000"}}
FLAGS_A = 0b0000101            # CheckBox1, CheckBox3
FLAGS_B = 0b0111111            # CheckBox1 to CheckBox6


def without(fields, *numbers):
    return {k: v for k, v in fields.items() if k not in numbers}


def decree_seeds():
    return [
        ("worked-a", decree_seed(WORKED_A, FLAGS_A)),
        ("worked-b", decree_seed(WORKED_B, FLAGS_B, insurance=1)),
        ("all-empty", decree_seed({}, insurance=0)),
        ("coefficient-and-minimum-missing", decree_seed(without(WORKED_A, 1, 2), FLAGS_A)),
        ("spaces-only-count-as-empty", decree_seed({**WORKED_A, **{26: "  \t "}}, FLAGS_A)),
        ("no-insurance-and-job-missing", decree_seed(without(WORKED_A, 13), FLAGS_A, insurance=0)),
        ("attraction-missing", decree_seed(without(WORKED_A, 14), FLAGS_A)),
        ("optional-fields-empty", decree_seed(without(WORKED_A, 7, 11, 15, 20), FLAGS_A)),
        ("text-in-job-percent", decree_seed({**without(WORKED_A, 7, 11), **{13: "12a"}}, FLAGS_A)),
        ("persian-digits", decree_seed({**WORKED_A, **{6: "\u06f9"}}, FLAGS_A)),
        ("signs-and-leading-zeros", decree_seed({**WORKED_A, **{6: "+009", 12: "-5"}}, FLAGS_A)),
        ("group-zero", decree_seed({**WORKED_A, **{6: "0"}}, FLAGS_A)),
        ("group-25", decree_seed({**WORKED_A, **{6: "25"}}, FLAGS_A)),
        ("group-fraction", decree_seed({**WORKED_A, **{6: "20.9"}}, FLAGS_A)),
        ("incentive-groups-equal-group", decree_seed({**WORKED_A, **{7: "9"}}, FLAGS_A)),
        ("negative-incentive-groups", decree_seed({**WORKED_A, **{7: "-11"}}, FLAGS_A)),
        ("overflow-in-conversion", decree_seed({**WORKED_A, **{8: "1e400"}}, FLAGS_A)),
        ("overflow-in-computation", decree_seed({**WORKED_A, **{1: "1e306"}}, FLAGS_A)),
        ("negative-items", decree_seed({**WORKED_A, **{13: "-5", 5: "-1e17"}}, FLAGS_A)),
        ("comma-decimal", decree_seed({**WORKED_A, **{10: "4,5"}}, FLAGS_A, decimal=1, thousands=3)),
        ("arabic-separators", decree_seed({**WORKED_A, **{10: "4\u066b5"}}, FLAGS_A, decimal=2,
                                           thousands=2)),
        ("everything-positive", decree_seed({**WORKED_B, **{16: "3", 21: "4", 23: "5", 24: "6"}},
                                             0b1111111, insurance=1)),
        ("huge-totals", decree_seed({**WORKED_A, **{26: "1e300", 1: "1e250"}}, FLAGS_A)),
        # A child allowance of 215242163771643499905024: 2.15242163771643E23.
        ("huge-child-allowance", decree_seed({**WORKED_A, **{5: "3311509", 11: "64998211924425849"}}, FLAGS_A)),
    ]


# base_values: a mode byte (0: as is, 0xFE: padded with the last byte to exactly
# 16 MiB, 0xFF: to one byte more), then the file's bytes; split at LF they are also the texts saved.
EXAMPLE = "3000\r\n25000000\r\n24000000\r\n5000000\r\n2500000\r\n1200000\r\n400\r\n30000000\r\n"


def utf16(text, big):
    return text.encode("utf-16-be" if big else "utf-16-le")


def base_values_seeds():
    plain = lambda data: b"\x00" + (data.encode("utf-8") if isinstance(data, str) else data)
    return [
        ("as-written", plain(EXAMPLE)),
        ("utf8-mark", plain(b"\xef\xbb\xbf" + EXAMPLE.encode())),
        ("utf16le-mark", plain(b"\xff\xfe" + utf16(EXAMPLE, False))),
        ("utf16be-mark", plain(b"\xfe\xff" + utf16(EXAMPLE, True))),
        ("utf16-odd-byte", plain(b"\xff\xfe" + utf16(EXAMPLE[:-2], False) + b"A")),
        ("utf16-lone-surrogate", plain(b"\xfe\xff\xd8\x00" + utf16(EXAMPLE, True))),
        ("lone-lf", plain(EXAMPLE.replace("\r\n", "\n"))),
        ("lone-cr", plain(EXAMPLE.replace("\r\n", "\r"))),
        ("cr-cr-lf", plain("1\r\r\n3\n4\n5\n6\n7\n8")),
        ("last-line-without-break", plain(EXAMPLE[:-2])),
        ("ninth-empty-line", plain(EXAMPLE + "\r\n")),
        ("seven-lines", plain("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n")),
        ("empty-lines", plain("\r\n" * 8)),
        ("empty", plain("")),
        ("nul-after-eight", plain(EXAMPLE.encode() + b"\x009\r\n")),
        ("nul-in-line-four", plain(b"1\r\n2\r\n3\r\n4\x00\r\n5\r\n6\r\n7\r\n8\r\n")),
        ("invalid-utf8", plain(b"\xff3000\xc0\xaf\xed\xa0\x80\xe2\x82\r\n" + EXAMPLE[6:].encode())),
        ("persian-and-spaces", plain(" \u06f3\u06f0 \r\n\t" + EXAMPLE[6:])),
        ("text-starting-with-feff", plain("\ufeff3000\n1\n2\n3\n4\n5\n6\n7")),
        # Seven breaks, then one line of digits to the end of 16 MiB: eight lines.
        ("largest-file-loaded", b"\xfe" + b"\n" * 7 + b"7"),
        ("beyond-the-loader-limit", b"\xff" + b"\n" * 7 + b"7"),
    ]


# water_effect: a seed byte for the random draws, then operations: an opcode
# (0 SetSize, 1 Blob, 3 Render, 4 ClearWater, 5 SetDamping) and its arguments.
def dim(value):
    specials = {0: 0xE1, 375: 0xE8, 237: 0xE0, 2 ** 31 - 1: 0xE7, -(2 ** 31): 0xE6}
    if -4 <= value < 36:
        return bytes([value + 4])
    if value in specials:
        return bytes([specials[value]])
    return b"\xf0" + struct.pack("<i", value)


FAST_PATH_LIMIT = 2 ** 21


def arg(value):
    specials = {-(2 ** 31): 0xD0, 2 ** 31 - 1: 0xD1, 46341: 0xDD, FAST_PATH_LIMIT: 0xD9,
                -FAST_PATH_LIMIT: 0xDA, FAST_PATH_LIMIT + 1: 0xE0}
    if -40 <= value < 168:
        return bytes([value + 40])
    if value in specials:
        return bytes([specials[value]])
    return b"\xf0" + struct.pack("<i", value)


def set_size(w, h):
    return b"\x00" + dim(w) + dim(h)


def blob(x, y, r, h):
    return b"\x01" + arg(x) + arg(y) + arg(r) + arg(h)


def render(shape=0, seed=0):
    return bytes([3, shape, seed])


def damping(value):
    return b"\x05" + arg(value)


CLEAR = b"\x04"


def every_row_busy(width, height, radius, drop):
    """A drop in every row, the columns spread over the grid: the whole grid moves."""
    return b"".join(blob((y * 13) % width, y, radius, drop if y % 2 else -drop) for y in range(height))


def water_seeds():
    seed = b"\x07"
    return [
        ("single-drop-two-steps", seed + set_size(20, 20) + blob(10, 10, 0, 250) + render() + render()),
        ("calm-water", seed + set_size(5, 4) + render(seed=9)),
        ("drop-at-the-corner", seed + set_size(10, 10) + blob(0, 0, 2, 100) + render() * 3),
        ("random-row", seed + set_size(20, 10) + blob(10, -1, 1, 100) + render()),
        ("zero-divisor-skips", seed + set_size(3, 3) + blob(-1, -1, 1, 100) + render()),
        ("unsized", seed + set_size(0, 10) + render() + blob(-1, -1, 1, 100) + set_size(10, -1) + render()),
        ("same-size-clears", seed + set_size(6, 6) + blob(3, 3, 1, 80) + set_size(6, 6) + render()),
        ("damping-extremes", seed + set_size(9, 9) + blob(4, 4, 1, 150) + damping(0) + damping(100) + render()
         + damping(1) + render() + damping(99) + render()),
        ("saturation", seed + set_size(8, 8) + blob(4, 4, 3, 2 ** 31 - 1) * 2 + blob(4, 4, 2, -(2 ** 31))
         + render() * 5),
        ("huge-radii", seed + set_size(30, 30) + blob(-1, -1, 2 ** 31 - 1, 100) + blob(5, 5, -(2 ** 31), 100)
         + blob(5, 5, 46341, 1) + blob(-1, 7, 2 ** 31 - 1, 3) + render()),
        ("banner-size-padded-rows", seed + set_size(375, 237) + blob(-1, -1, 3, 200) * 4 + blob(100, 50, 8, -300)
         + render(shape=0x30) * 3),
        ("one-column", seed + set_size(1, 50) + blob(0, 25, 2, 90) + render() * 2),
        ("one-row", seed + set_size(50, 1) + blob(25, 0, 2, 90) + render() * 2),
        ("long-strip", seed + set_size(1, 65536) + blob(0, 40000, 3, 60) + render()),
        ("largest-grid", seed + set_size(1024, 1024) + blob(-1, -1, 5, 70)),
        ("impossible-size", seed + set_size(6, 6) + blob(3, 3, 1, 9) + set_size(2 ** 31 - 1, 2 ** 31 - 1)
         + render()),
        ("bitmap-too-small", seed + set_size(10, 10) + blob(5, 5, 2, 120) + render(shape=0x40) + render(shape=0x50)),
        ("different-strides", seed + set_size(12, 7) + blob(6, 3, 2, 120) + render(shape=0x80) + render(shape=0xA5)),
        ("larger-bitmaps", seed + set_size(12, 7) + blob(6, 3, 2, -120) + render(shape=0x0F) + CLEAR + render()),
        ("negative-heights", seed + set_size(16, 16) + blob(8, 8, 2, -250) + blob(3, 3, 1, -3) + render() * 4),
        # Heights the rules reach without overflow, far above 2^21: one cell at
        # damping 1 from 1 000 000 (its 12th step's product leaves 32 bits), and
        # drops of 300 000 piled on a corner of a 2 x 2 grid.
        ("single-cell-beyond-2-to-21", seed + set_size(1, 1) + damping(1) + blob(0, 0, 0, 1000000) + render() * 13),
        ("piled-drops-2x2", seed + set_size(2, 2) + damping(1) + (blob(0, 0, 0, 300000) + render()) * 18),
        ("about-the-fast-path-limit", seed + set_size(20, 10) + blob(5, 5, 1, FAST_PATH_LIMIT)
         + blob(12, 5, 0, FAST_PATH_LIMIT + 1) + blob(15, 2, 2, -FAST_PATH_LIMIT) + render() * 3
         + blob(5, 5, 0, -1) + render() * 2),
        # INT_MAX beside INT_MIN after the step: a slope of 2^32 - 1.
        ("slope-beyond-32-bits", seed + set_size(9, 5) + damping(1)
         + b"".join(blob(x, y, 0, 2 ** 31 - 1) for y in range(1, 4) for x in range(2, 5))
         + b"".join(blob(x, y, 0, -(2 ** 31)) for y in range(1, 4) for x in range(4, 7)) + render() * 2),
        ("overflowing-sums", seed + set_size(5, 5) + blob(2, 2, 2, 2 ** 31 - 1) + blob(0, 4, 1, -(2 ** 31))
         + blob(4, 0, 0, 300000000) + render() * 4),
        # Every row busy, on unpadded bitmaps (the source then ends with its
        # last pixel) and padded ones.
        ("whole-grid-busy", seed + set_size(64, 48) + every_row_busy(64, 48, 3, 400) + render() * 2
         + every_row_busy(64, 48, 1, 250) + render(shape=0x10) * 2),
        ("whole-grid-busy-both-signs", seed + set_size(40, 30) + every_row_busy(40, 30, 2, 300) + render() * 3
         + every_row_busy(40, 30, 2, -300) + render(shape=0x30) + render()),
    ]


# batch: an option byte (bits 0-1 decimal separator . , U+066B; bits 2-3
# thousands separator , none U+066C .; bit 4 base values; bit 5 derivation),
# then a CSV file.
BATCH_FIELDS = ["Coefficient", "DeclaredMinimumSalary", "EffectiveMinimumSalary", "FamilyAllowanceRate",
                "ChildAllowanceRate", "EmployeeGroup", "IncentiveGroupCount", "PreviousBaseSalary",
                "PreviousSeniorityIncrease", "SeniorityIncreasePercent", "HeadOfHousehold", "ChildCount",
                "JobPercent", "AttractionPercent", "SpecialPercent", "ShiftWorkPercent", "AdjustmentEligible",
                "MinimumSalaryAndBenefits", "InsuranceType", "Note12Difference", "DeprivationPercent",
                "BadClimatePercent", "OperationalZonePercent", "OperationalZoneWideBase", "VeteranEligible",
                "Article26Eligible", "ClauseBItem3Amount", "ClauseBItem3InHousing", "ClauseBItem3Points"]
BATCH_A = ["1000", "2000000", "1600000", "300000", "100000", "9", "2", "800000", "100000", "4", "1", "2", "20",
           "50", "10", "20", "1", "6000000", "1", "", "", "", "", "", "", "", "", "", ""]
BATCH_B = BATCH_A[:17] + ["16000000", "0", "50000", "10", "5", "20", "1", "1", "1", "200000", "1", ""]


def batch_csv(rows, header=None, delimiter=",", ids=("id",)):
    header = list(ids) + (header or BATCH_FIELDS)
    lines = [delimiter.join(header)]
    for k, row in enumerate(rows):
        lines.append(delimiter.join([str(1000 + k)] * len(ids) + row))
    return "\r\n".join(lines) + "\r\n"


def batch_row(base, **changes):
    row = list(base)
    for name, value in changes.items():
        row[BATCH_FIELDS.index(name)] = value
    return row


def batch_seeds():
    plain = "\x00"
    controls = ["Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Edit10",
                "CheckBox1", "Edit11", "Edit13", "Edit14", "Edit15", "Edit20", "CheckBox3", "Edit26", "ComboBox1",
                "Edit12", "Edit17", "Edit19", "Edit22", "CheckBox5", "CheckBox2", "CheckBox4", "Edit18",
                "CheckBox6", "Edit25"]
    captions = ["ضریب", "حداقل حقوق اعلامی", "حداقل حقوق موثر", "حق عائله مندی", "حق اولاد", "گروه مستخدم",
                "تعداد گروه های تشویقی", "حقوق مبنای سال قبل", "افزایش سنواتی سال قبل", "درصد افزایش سنواتی",
                "وضعیت عائله مندی", "تعداد اولاد", "درصد فوق العاده شغل", "درصد فوق العاده جذب",
                "درصد فوق العاده ویژه", "درصد فوق العاده نوبت کاری", "فوق العاده تعدیل (408600 ریال)",
                "حداقل حقوق و مزایا", "نوع بیمه", "تفاوت تطبیق موضوع جز 1+بند ی تبصره 12",
                "درصد محرومیت از تسهیلات زتدگی", "درصد فوق العاده بدی آب و هوا", "درصد فوق العاده مناطق عملیاتی",
                "CheckBox5", "فوق العاده ایثارگری", "ماده 26", "فوق العاده خاص جز 3 بند ب",
                "مبلغ فوق العاده خاص جز 3 بند ب در محاسبه حق مسکن لحاظ شود", "امتیاز فوق العاده خاص جز 3 بند ب"]
    persian = str.maketrans("0123456789", "۰۱۲۳۴۵۶۷۸۹")
    ab = batch_csv([BATCH_A, BATCH_B])
    base_empty = batch_row(BATCH_A, Coefficient="", DeclaredMinimumSalary="", EffectiveMinimumSalary="",
                           FamilyAllowanceRate="", ChildAllowanceRate="", MinimumSalaryAndBenefits="")
    return [
        ("worked-a-and-b", plain + ab),
        ("worked-a-and-b-explained", "\x20" + ab),
        ("control-names-semicolons", plain + batch_csv([BATCH_A, BATCH_B], controls, ";")),
        ("captions-tabs", plain + batch_csv([BATCH_B], captions, "\t", ("شماره پرسنلی", "نام"))),
        ("utf8-mark", plain + "\ufeff" + ab),
        ("utf16le-mark", plain.encode() + b"\xff\xfe" + utf16(ab, False)),
        ("utf16be-mark", plain.encode() + b"\xfe\xff" + utf16(ab, True)),
        ("persian-digits-and-separators", plain + batch_csv([batch_row(
            BATCH_A, Coefficient="۱٬۰۰۰", DeclaredMinimumSalary='"2,000,000"',
            PreviousBaseSalary="800000".translate(persian), JobPercent="۲۰٫۵")])),
        ("decimal-comma", "\x01" + batch_csv([batch_row(BATCH_A, JobPercent="20,5", SpecialPercent="1٫5")], None, ";")),
        ("flag-and-insurance-spellings", plain + batch_csv([
            batch_row(BATCH_A, HeadOfHousehold="true", AdjustmentEligible="بله", InsuranceType="سازمان بازنشستگی"),
            batch_row(BATCH_B, HeadOfHousehold="FALSE", VeteranEligible="خیر", InsuranceType="تامین اجتماعی")])),
        ("base-values-fill", "\x10" + batch_csv([base_empty, batch_row(base_empty, Coefficient="1100")])),
        ("clause-b-product", plain + batch_csv([batch_row(BATCH_A, ClauseBItem3Points="150"),
                                                batch_row(BATCH_A, ClauseBItem3Points="x")])),
        ("refused-rows", "\x04" + batch_csv([
            batch_row(BATCH_A, DeclaredMinimumSalary=""), batch_row(BATCH_A, JobPercent="12a"),
            batch_row(BATCH_A, EmployeeGroup="25"), batch_row(BATCH_A, IncentiveGroupCount="9"),
            batch_row(BATCH_A, HeadOfHousehold="?"), batch_row(BATCH_A, InsuranceType="2"),
            batch_row(BATCH_A, Coefficient="1e306"), BATCH_A + ["extra"]])),
        ("quoted-cells", plain + 'id,"Coefficient",name\r\n"a ""b""",1000,"two\r\nlines"\r\n"",,"x,y"\r\n'),
        ("lone-cr-and-blank-lines", plain + ab.replace("\r\n", "\r").replace("\r", "\r\r", 1)),
        ("lf-and-no-last-break", plain + ab.replace("\r\n", "\n").rstrip("\n")),
        ("unbalanced-quote", plain + ab + '1002,"open\r\n'),
        ("misplaced-quote", plain + ab + '1002,ab"c\r\n'),
        ("nul-byte", plain + ab + "1002,a\0b\r\n"),
        ("invalid-utf8", plain.encode() + ab.encode() + b"1002,\xe9\r\n"),
        ("utf16-lone-surrogate", plain.encode() + b"\xff\xfe" + utf16(ab, False) + b"\x00\xd8a\x00"),
        ("utf16-odd-byte", plain.encode() + b"\xff\xfe" + utf16(ab, False) + b"x"),
        ("duplicate-inputs", plain + "id,Coefficient,Edit1,ضریب\r\n1,2,3,4\r\n"),
        ("duplicate-identification", plain + "name,name\r\na,b\r\n"),
        ("empty-header-in-the-middle", plain + "a,,Edit1\r\n1,2,3\r\n"),
        ("header-only", plain + "id,Edit1\r\n"),
        ("empty", plain),
    ]


# extended: an even first byte starts a formula-shaped chain (a first double,
# then steps: an operation byte, bits 0-1 + - * /, bit 2 a double operand of 8
# bytes instead of a whole number of one byte, bit 3 stored as a double); an
# odd one a decimal text.
ADD, SUB, MUL, DIV, DOUBLE, STORED = 0, 1, 2, 3, 4, 8


def chain(first, *steps):
    data = bytes([0]) + struct.pack("<d", first)
    for operation, operand in steps:
        data += bytes([operation]) + (struct.pack("<d", operand) if operation & DOUBLE else bytes([operand]))
    return data


def extended_seeds():
    text = lambda t: b"\x01" + t.encode()
    return [
        ("percentage", chain(880017.6, (MUL, 30), (DIV | STORED, 100))),
        ("percentage-beyond-64-bits", chain(8693520.0, (MUL | DOUBLE, 4.84), (DIV | STORED, 100))),
        ("shift-work-cap", chain(1000.02, (MUL | DOUBLE, 400.0), (MUL, 35), (DIV | STORED, 100))),
        ("sum-of-items", chain(880000.0, (ADD | DOUBLE, 136000.0), (ADD | DOUBLE, 0.1), (ADD | DOUBLE, 1e-3),
                               (SUB | DOUBLE, 2e6), (ADD | STORED | DOUBLE, 984000.5))),
        # The product has an odd 64-bit significand, 1.5 x 2^-65 is 65 binary orders below it.
        ("subtrahend-65-orders-below", chain(float.fromhex("0x1.612e7a6cecc1bp+0"),
                                             (MUL | DOUBLE, float.fromhex("0x1.35bf9c9e9c616p+0")),
                                             (SUB | DOUBLE, float.fromhex("0x1.8p-65")))),
        ("beyond-the-double-range", chain(1.7976931348623157e308, (MUL, 100), (DIV | STORED, 100))),
        ("text-double-rounding-down", text("9007199254740993.0001")),
        ("text-double-rounding-up", text("9007199254740994.9999")),
        ("text-overflow-by-double-rounding", text("1.7976931348623158079e308")),
        ("text-point-one", text("0.1")),
        ("text-long-fraction", text("0." + "3" * 60)),
        ("text-largest-extended", text("1.18973149535723176502e4932")),
        ("text-below-the-extended-range", text("1e-4940")),
        ("text-huge-exponent", text("-12.5e-99999999999")),
    ]


# workbook: an option byte (bit 0 ODS, bit 1 a whole archive as it is, bit 2
# parts stored, bit 3 a decimal comma), then parts separated by "\n#--#\n":
# for XLSX the sheet, shared strings, styles, workbook, its relationships,
# the package relationships, content types; for ODS content.xml, the
# manifest, the mimetype. A part missing from the end is the harness's
# default; "-" leaves it out.
WORKBOOK_SEPARATOR = "\n#--#\n"
XLSX_MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
ODS_CONTENT = ('<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
               'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
               'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
               'xmlns:calcext="urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0">'
               '<office:body><office:spreadsheet>%s</office:spreadsheet></office:body></office:document-content>')


def workbook_seed(options, *parts):
    return options + WORKBOOK_SEPARATOR.join(parts)


def xlsx_sheet(rows):
    return f'<worksheet xmlns="{XLSX_MAIN}"><sheetData>{rows}</sheetData></worksheet>'


def xlsx_row(number, cells):
    out = f'<row r="{number}">'
    for k, cell in enumerate(cells):
        column = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"[k % 26] * (1 + k // 26) if k < 52 else "A"
        if cell == "":
            continue
        try:
            float(cell)
            out += f'<c r="{column}{number}"><v>{cell}</v></c>'
        except ValueError:
            out += f'<c r="{column}{number}" t="inlineStr"><is><t>{cell}</t></is></c>'
    return out + "</row>"


def ods_table(name, rows):
    return f'<table:table table:name="{name}">{rows}</table:table>'


def ods_row(cells, repeat=1):
    out = f'<table:table-row table:number-rows-repeated="{repeat}">'
    for cell in cells:
        if cell == "":
            out += "<table:table-cell/>"
        else:
            out += f'<table:table-cell office:value-type="string"><text:p>{cell}</text:p></table:table-cell>'
    return out + "</table:table-row>"


def workbook_seeds():
    xlsx, ods, raw = "\x00", "\x01", "\x02"
    worked = xlsx_sheet(xlsx_row(1, ["id"] + BATCH_FIELDS) + xlsx_row(2, ["1001"] + BATCH_A) +
                        xlsx_row(3, ["1002"] + BATCH_B))
    header = xlsx_row(1, ["id", "Coefficient", "JobPercent", "SpecialPercent", "HeadOfHousehold", "Edit12"])
    cells = xlsx_sheet(header + '<row r="2"><c r="A2" t="s"><v>1</v></c><c r="B2" s="1"><v>45371.5</v></c>'
                       '<c r="C2" s="2"><v>0.2</v></c><c r="D2" t="e"><v>#DIV/0!</v></c><c r="E2" t="b"><v>1</v></c>'
                       '<c r="F2" t="str"><f>""</f><v></v></c></row><row r="4"><c r="B4"><f>1+1</f><v></v></c>'
                       '<c r="C4" s="3"><v>1.5</v></c><c r="D4" t="d"><v>2024-03-20</v></c><c r="G4"><v>1E+019</v></c>'
                       "</row>")
    styles = (f'<styleSheet xmlns="{XLSX_MAIN}"><numFmts><numFmt numFmtId="164" formatCode="[h]:mm"/></numFmts>'
              '<cellXfs><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="9"/><xf numFmtId="164"/></cellXfs>'
              "</styleSheet>")
    shared = (f'<sst xmlns="{XLSX_MAIN}"><si><t>Edit1</t></si><si><r><t>x</t></r><r><t>y</t></r>'
              "<rPh><t>z</t></rPh></si></sst>")
    laughs = ('<?xml version="1.0"?><!DOCTYPE l [<!ENTITY a "aaaa"><!ENTITY b "&a;&a;&a;&a;">]>'
              f'<worksheet xmlns="{XLSX_MAIN}"><sheetData><row><c t="inlineStr"><is><t>&b;</t></is></c></row>'
              "</sheetData></worksheet>")
    repeats = ods_table("a", ods_row(["id", "Edit1", "CheckBox1", "CheckBox2"]) + ods_row(["", "", "", ""], 3) +
                        '<table:table-row table:number-rows-repeated="2"><table:table-cell office:value-type="float" '
                        'office:value="1000.5"><text:p>1,000.5</text:p><office:annotation><text:p>note</text:p>'
                        '</office:annotation></table:table-cell><table:table-cell table:number-columns-repeated="2" '
                        'office:value-type="boolean" office:boolean-value="true"/><table:covered-table-cell/>'
                        '<table:table-cell office:value-type="string"><text:p>a<text:s text:c="3"/>b<text:tab/>'
                        '<text:line-break/></text:p><text:p>c</text:p></table:table-cell></table:table-row>'
                        '<table:table-row><table:table-cell office:value-type="date" office:date-value="2024-03-20"/>'
                        '<table:table-cell office:value-type="percentage" office:value="0.2"/>'
                        '<table:table-cell office:value-type="float" office:value="0" calcext:value-type="error">'
                        '<text:p>#DIV/0!</text:p></table:table-cell><table:table-cell office:value-type="time" '
                        'office:time-value="PT12H"/></table:table-row>'
                        '<table:table-row table:number-rows-repeated="1048000"><table:table-cell '
                        'table:number-columns-repeated="16384"/></table:table-row>')
    manifest = ('<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0">'
                '<manifest:file-entry manifest:full-path="content.xml"><manifest:encryption-data/>'
                "</manifest:file-entry></manifest:manifest>")
    workbooks = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "batch", "workbooks")
    with open(os.path.join(workbooks, "employees.xlsx"), "rb") as f:
        libreoffice = f.read()
    return [
        ("xlsx-defaults", xlsx),
        ("xlsx-worked-a-and-b", workbook_seed(xlsx, worked)),
        ("xlsx-worked-stored-decimal-comma", workbook_seed("\x0c", worked.replace("1000.5", "1000,5"))),
        ("xlsx-cells-of-every-kind", workbook_seed(xlsx, cells, shared, styles)),
        ("xlsx-1904-dates", workbook_seed(xlsx, cells, shared, styles,
                                          f'<workbook xmlns="{XLSX_MAIN}" xmlns:r="http://schemas.openxmlformats.org/'
                                          'officeDocument/2006/relationships"><workbookPr date1904="1"/><sheets>'
                                          '<sheet name="a" r:id="s"/></sheets></workbook>')),
        ("xlsx-entity-expansion", workbook_seed(xlsx, laughs)),
        ("xlsx-missing-sheet", workbook_seed(xlsx, "-")),
        ("xlsx-no-package-relationships", workbook_seed(xlsx, worked, shared, styles,
                                                        f'<workbook xmlns="{XLSX_MAIN}"/>', "-", "-")),
        ("ods-defaults", ods),
        ("ods-repeats-comments-and-kinds", workbook_seed(ods, ODS_CONTENT % repeats)),
        ("ods-second-table", workbook_seed(ods, ODS_CONTENT % (ods_table("a", "") + repeats.replace('"a"', '"b"')))),
        ("ods-encrypted", workbook_seed(ods, ODS_CONTENT % repeats, manifest)),
        ("ods-text-document", workbook_seed(ods, ODS_CONTENT % "", "-", "application/vnd.oasis.opendocument.text")),
        ("raw-libreoffice-xlsx", raw.encode() + libreoffice),
        ("raw-truncated", raw.encode() + libreoffice[:len(libreoffice) // 2]),
        ("raw-not-an-archive", raw + "id,Edit1\r\n1,2\r\n"),
    ]


def main():
    write("text_to_float", text_seeds())
    write("extended", extended_seeds())
    write("format_amount", amount_seeds())
    write("decree", decree_seeds())
    write("base_values", base_values_seeds())
    write("water_effect", water_seeds())
    write("batch", batch_seeds())
    write("workbook", workbook_seeds())


if __name__ == "__main__":
    sys.exit(main())
