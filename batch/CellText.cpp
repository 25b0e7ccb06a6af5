// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/CellText.h"

#include <vector>

#include "decree/DecreeCatalogue.h"

namespace {

const std::string ArabicThousands = "\u066C";

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// Persian and Arabic-Indic digits to ASCII, U+066B to the decimal separator.
std::string MapDigits(const std::string& Cell, const NumberFormat& Format) {
  std::string out;
  out.reserve(Cell.size());
  for (std::size_t i = 0; i < Cell.size(); ++i) {
    const auto lead = static_cast<unsigned char>(Cell[i]);
    const auto next = i + 1 < Cell.size() ? static_cast<unsigned char>(Cell[i + 1]) : 0;
    if (lead == 0xDB && next >= 0xB0 && next <= 0xB9) {  // U+06F0..U+06F9
      out += static_cast<char>('0' + (next - 0xB0));
      ++i;
    } else if (lead == 0xD9 && next >= 0xA0 && next <= 0xA9) {  // U+0660..U+0669
      out += static_cast<char>('0' + (next - 0xA0));
      ++i;
    } else if (lead == 0xD9 && next == 0xAB) {  // U+066B ARABIC DECIMAL SEPARATOR
      out += Format.DecimalSeparator;
      ++i;
    } else {
      out += Cell[i];
    }
  }
  return out;
}

std::string TrimmedLower(const std::string& Cell) {
  std::string t = TrimControl(Cell);
  for (char& c : t)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return t;
}

}  // namespace

std::string NormaliseNumber(const std::string& Cell, const NumberFormat& Format) {
  // Most cells are plain ASCII numbers: nothing to map, no separator to drop.
  bool plain = true;
  for (char c : Cell) plain = plain && static_cast<unsigned char>(c) < 0x80 && c != ',';
  if (plain) return Cell;
  const std::string text = MapDigits(Cell, Format);
  std::vector<std::string> separators;
  for (const std::string& s : {std::string(","), ArabicThousands})
    if (s != Format.DecimalSeparator) separators.push_back(s);

  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= 0x20) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t firstDigit = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  const std::size_t leading = i - firstDigit;

  // The integer part: 1 to 3 digits, then separator and exactly 3 digits, repeated.
  std::vector<std::pair<std::size_t, std::size_t>> found;  // position, length
  for (;;) {
    std::size_t length = 0;
    for (const std::string& s : separators)
      if (text.compare(i, s.size(), s) == 0) length = s.size();
    if (length == 0) break;
    std::size_t end = i + length;
    while (end < text.size() && IsDigit(text[end])) ++end;
    if (end - (i + length) != 3) return text;
    found.emplace_back(i, length);
    i = end;
  }
  if (found.empty() || leading < 1 || leading > 3) return text;

  std::string out;
  std::size_t from = 0;
  for (const auto& [at, length] : found) {
    out.append(text, from, at - from);
    from = at + length;
  }
  out.append(text, from, std::string::npos);
  return out;
}

std::optional<bool> ParseFlag(const std::string& Cell) {
  const std::string t = TrimmedLower(NormaliseNumber(Cell, NumberFormat{}));
  if (t.empty() || t == "0" || t == "false" || t == "خیر") return false;
  if (t == "1" || t == "true" || t == "بله") return true;
  return std::nullopt;
}

std::optional<int> ParseInsurance(const std::string& Cell) {
  const std::string t = TrimControl(NormaliseNumber(Cell, NumberFormat{}));
  if (t.empty()) return -1;
  if (t == "0" || t == InsuranceItems[0]) return 0;
  if (t == "1" || t == InsuranceItems[1]) return 1;
  return std::nullopt;
}
