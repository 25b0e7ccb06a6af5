// SPDX-License-Identifier: GPL-3.0-or-later
// The text-to-number conversion against the slow exact reference: the same
// verdict (value, refusal or overflow) for every text, the same double to the
// last bit, the exact message, and the same trimming.
//
// Input: one byte choosing the decimal separator, then the text.
#include <cstring>

#include "decree/NumberFormat.h"
#include "fuzz/ExactNumber.h"
#include "fuzz/FuzzCheck.h"

namespace {

// Point and comma, the Arabic decimal separator, and separators some locales
// or hand-made settings use; the multi-byte ones exercise partial matches.
const char* const DecimalSeparators[] = {".", ",", "\u066B", "/", "\u00B7", "'"};

void CheckConversion(const std::string& Text, const NumberFormat& Format) {
  const ReferenceConversion expected = ReferenceTextToDouble(Text, Format.DecimalSeparator);
  try {
    const double value = TextToFloat(Text, Format);
    Require(expected.Outcome == ReferenceConversion::Value, "a text outside the grammar or range was accepted",
            [&] { return Printable(Text); });
    Require(std::memcmp(&value, &expected.Number, sizeof value) == 0, "the value differs from the reference",
            [&] { return Printable(Text); });
  } catch (const DecreeError& e) {
    const std::string message = e.what();
    if (expected.Outcome == ReferenceConversion::Overflow) {
      Require(message == "Floating point overflow", "overflow expected",
              [&] { return Printable(Text) + " -> " + message; });
    } else {
      Require(expected.Outcome == ReferenceConversion::NotANumber, "a number was refused",
              [&] { return Printable(Text) + " -> " + message; });
      // what() is a C string: a NUL inside the text ends the message there.
      const std::string full = "'" + Text + "' is not a valid floating point value";
      Require(message == full.substr(0, full.find('\0')), "wrong refusal message", [&] { return Printable(message); });
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  ByteReader in(Data, Size);
  const char* separator = DecimalSeparators[in.Byte() % (sizeof DecimalSeparators / sizeof *DecimalSeparators)];
  const NumberFormat format = NumberFormatFromSettings(std::string(separator), std::string(","));
  Require(format.DecimalSeparator == separator, "a one-character separator was not taken");
  const std::string raw = in.Rest();

  const std::string trimmed = TrimControl(raw);
  Require(trimmed == ReferenceTrim(raw), "trimming differs", [&] { return Printable(raw); });
  CheckConversion(trimmed, format);
  if (raw != trimmed) CheckConversion(raw, format);
  return 0;
}
