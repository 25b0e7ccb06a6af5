// SPDX-License-Identifier: GPL-3.0-or-later
// Number text in both directions, under the user's regional number settings.
// Plain C++17, no toolkit: the window passes the settings in as a value.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "decree/Extended.h"
#include "storage/Text.h"  // TrimControl, the trimming of every field

// An error a handler cannot continue past; what() is the exact text the user
// reads (before the full-stop rule of ErrorMessageText).
class DecreeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct NumberFormat {
  std::string DecimalSeparator = ".";   // exactly one character, UTF-8
  std::string ThousandSeparator = ",";  // empty (no grouping) or one character, UTF-8
};

// Builds the settings from the raw regional values (UTF-8; nullopt when they
// could not be read). Thousands: one character is used, empty means none,
// anything longer or unreadable falls back to a comma. Decimal: one character
// is used, anything else falls back to a point.
NumberFormat NumberFormatFromSettings(const std::optional<std::string>& Decimal,
                                      const std::optional<std::string>& Thousand);

// The strict conversion of a trimmed text: optional sign, ASCII digits with at
// most one decimal separator among them, optional exponent (E/e, sign,
// digits). The value is formed at extended precision, then rounded to double.
// Throws DecreeError "'<text>' is not a valid floating point value" or
// "Floating point overflow".
double TextToFloat(const std::string& Trimmed, const NumberFormat& Format);

// Rounds a formula's extended-precision value to the double that is stored;
// throws DecreeError "Floating point overflow" beyond the double range.
double Store(const Extended& Value);

// General number format with Digits significant digits (at least 1): fixed
// notation for 0 and for magnitudes from 0.0001 with at most Digits integer
// digits, otherwise d[.ddd]E[-]x. The value's exact decimal expansion is
// rounded once to Digits digits, halves away from zero, trailing zeros dropped.
std::string FormatGeneral(const Extended& Value, int Digits, const NumberFormat& Format);

// The text of the general error message box: a full stop is appended when the
// last character's code is above that of the full stop (46).
std::string ErrorMessageText(const std::string& Message);
