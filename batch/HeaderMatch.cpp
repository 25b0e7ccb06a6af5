// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/HeaderMatch.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "batch/BatchTexts.h"
#include "batch/Records.h"

namespace {

// Code points of valid UTF-8; a stray byte counts as one.
std::u32string CodePoints(const std::string& Text) {
  std::u32string out;
  for (std::size_t i = 0; i < Text.size();) {
    const auto lead = static_cast<unsigned char>(Text[i]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    std::size_t k = 1;
    for (; k < length && i + k < Text.size(); ++k) code = code << 6 | (static_cast<unsigned char>(Text[i + k]) & 0x3F);
    out += code;
    i += k;
  }
  return out;
}

std::size_t Allowed(std::size_t Length) { return Length < 4 ? 0 : 1 + Length / 16; }

// The name as the user knows it: ASCII keys are lower case, so the field or
// control name is given in its own spelling.
std::string Displayed(const std::string& Key, PanelControl Control) {
  const InputSpec& field = InputOf(Control);
  if (Key == HeaderKey(field.FieldName)) return field.FieldName;
  if (Key == HeaderKey(field.ControlName)) return field.ControlName;
  return Key;
}

}  // namespace

namespace {

// Optimal string alignment over three rows of the table, given up as soon
// as a whole row exceeds Limit.
std::optional<std::size_t> Distance(const std::u32string& A, const std::u32string& B, std::size_t Limit) {
  if ((A.size() > B.size() ? A.size() - B.size() : B.size() - A.size()) > Limit) return std::nullopt;
  std::vector<std::size_t> before(B.size() + 1), previous(B.size() + 1), current(B.size() + 1);
  for (std::size_t j = 0; j <= B.size(); ++j) previous[j] = j;
  for (std::size_t i = 1; i <= A.size(); ++i) {
    current[0] = i;
    std::size_t best = current[0];
    for (std::size_t j = 1; j <= B.size(); ++j) {
      const std::size_t cost = A[i - 1] == B[j - 1] ? 0 : 1;
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
      if (i > 1 && j > 1 && A[i - 1] == B[j - 2] && A[i - 2] == B[j - 1])
        current[j] = std::min(current[j], before[j - 2] + 1);
      best = std::min(best, current[j]);
    }
    if (best > Limit) return std::nullopt;
    std::swap(before, previous);
    std::swap(previous, current);
  }
  if (previous[B.size()] > Limit) return std::nullopt;
  return previous[B.size()];
}

struct InputName {
  std::string Key;
  std::u32string Points;
  PanelControl Control;
};

const std::vector<InputName>& InputNames() {
  static const std::vector<InputName> Names = [] {
    std::vector<InputName> names;
    for (const auto& [key, control] : InputHeaderNames()) names.push_back({key, CodePoints(key), control});
    return names;
  }();
  return Names;
}

}  // namespace

std::optional<std::size_t> EditDistance(const std::string& A, const std::string& B, std::size_t Limit) {
  return Distance(CodePoints(A), CodePoints(B), Limit);
}

std::optional<NearInput> NearestInput(const std::string& Header) {
  if (InputOfHeader(Header)) return std::nullopt;
  const std::u32string key = CodePoints(HeaderKey(Header));
  std::optional<NearInput> nearest;
  std::size_t nearestDistance = SIZE_MAX;
  for (const InputName& name : InputNames()) {
    const std::optional<std::size_t> distance = Distance(key, name.Points, Allowed(name.Points.size()));
    if (!distance || *distance >= nearestDistance) continue;
    nearestDistance = *distance;
    nearest = NearInput{Displayed(name.Key, name.Control), name.Control};
  }
  return nearest;
}

void CheckIdentificationHeaders(const ColumnLayout& Layout, const std::vector<std::string>& Ignored, std::size_t Line) {
  for (const std::string& name : Ignored) {
    const std::string wanted = TrimHeader(name);
    const auto found = std::find_if(Layout.Headers.begin(), Layout.Headers.end(),
                                    [&](const std::string& Header) { return TrimHeader(Header) == wanted; });
    if (found == Layout.Headers.end())
      throw BatchFileError(Line, BatchTexts::Fill(BatchTexts::IgnoredColumnMissing, {wanted}));
    if (const std::optional<PanelControl> control = InputOfHeader(*found))
      throw BatchFileError(
          Line, BatchTexts::Fill(BatchTexts::IgnoredColumnIsInput, {wanted, InputOf(*control).FieldName}));
  }
  for (const std::size_t column : Layout.IdColumns) {
    const std::string header = TrimHeader(Layout.Headers[column]);
    if (std::find_if(Ignored.begin(), Ignored.end(),
                     [&](const std::string& Name) { return TrimHeader(Name) == header; }) != Ignored.end())
      continue;
    if (const std::optional<NearInput> near = NearestInput(header))
      throw BatchFileError(Line, BatchTexts::Fill(BatchTexts::HeaderResemblesInput,
                                                  {header, near->Name, InputOf(near->Control).FieldName}));
  }
}
