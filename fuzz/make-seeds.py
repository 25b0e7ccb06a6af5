#!/usr/bin/env python3
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
    ]


def main():
    write("text_to_float", text_seeds())
    write("format_amount", amount_seeds())


if __name__ == "__main__":
    sys.exit(main())
