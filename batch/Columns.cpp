// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/Columns.h"

#include <map>
#include <set>
#include <utility>

#include "batch/BatchTexts.h"
#include "batch/CsvReader.h"
#include "decree/PanelLayout.h"

namespace {

using C = PanelControl;

// An input named by its caption on the panel: its row's label, or for
// CheckBox6 its own caption; CheckBox5 has none (it is named by its field or
// control only).
struct Caption {
  std::string Text;
  PanelControl Control;
};

// Code points trimmed around a header besides U+0000..U+0020, in UTF-8.
const char* const Invisible[] = {"\u00A0", "\u200B", "\u200E", "\u200F", "\uFEFF"};

// A caption as a clerk may type it: without the colon, the Arabic kaf and
// yeh as the Persian letters, a zero-width non-joiner as a space, one space
// between words.
std::string CaptionKey(const std::string& Text) {
  std::string t = TrimHeader(WithoutColon(TrimHeader(Text)));
  const std::pair<const char*, const char*> letters[] = {
      {"\u0643", "\u06A9"}, {"\u064A", "\u06CC"}, {"\u0649", "\u06CC"}, {"\u200C", " "}};
  for (const auto& [from, to] : letters) {
    const std::string f = from;
    for (std::size_t at; (at = t.find(f)) != std::string::npos;) t.replace(at, f.size(), to);
  }
  std::string key;
  for (char c : t)
    if (c != ' ' || (!key.empty() && key.back() != ' ')) key += c;
  return key;
}

std::string AsciiLower(std::string Text) {
  for (char& c : Text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return Text;
}

// Label22 reads "... 2 : (مخصوص مناطق مرزی)", its colon in the middle: the
// part before the colon and the caption without the colon name it too.
std::map<std::string, PanelControl> BuildHeaderNames() {
  std::map<std::string, PanelControl> names;
  for (const InputSpec& field : Inputs) {
    names.emplace(AsciiLower(field.FieldName), field.Control);
    names.emplace(AsciiLower(field.ControlName), field.Control);
  }
  std::vector<Caption> captions;
  for (const InputSpec& field : Inputs) {
    const std::string text = CaptionOf(field.LabelName ? field.LabelName : field.ControlName);
    if (!text.empty()) captions.push_back({text, field.Control});
  }
  // Label17 is shown misspelt ("زتدگی"); the word spelt right names it too.
  std::string spelt = CaptionOf(InputOf(C::Edit17).LabelName);
  const std::string shown = "زتدگی";
  const std::size_t at = spelt.find(shown);
  if (at != std::string::npos) spelt.replace(at, shown.size(), "زندگی");
  captions.push_back({spelt, C::Edit17});
  for (const Caption& caption : captions) {
    const std::string text = CaptionKey(caption.Text);
    names.emplace(text, caption.Control);
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) continue;
    names.emplace(CaptionKey(text.substr(0, colon)), caption.Control);
    names.emplace(CaptionKey(text.substr(0, colon) + " " + text.substr(colon + 1)), caption.Control);
  }
  return names;
}

const std::map<std::string, PanelControl>& HeaderNames() {
  static const std::map<std::string, PanelControl> Names = BuildHeaderNames();
  return Names;
}

}  // namespace

std::string TrimHeader(const std::string& Header) {
  std::string t = TrimControl(Header);
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    for (const char* mark : Invisible) {
      const std::string m = mark;
      if (t.size() >= m.size() && t.compare(0, m.size(), m) == 0) t = TrimControl(t.substr(m.size())), trimmed = true;
      if (t.size() >= m.size() && t.compare(t.size() - m.size(), m.size(), m) == 0)
        t = TrimControl(t.substr(0, t.size() - m.size())), trimmed = true;
    }
  }
  return t;
}

std::string HeaderKey(const std::string& Header) {
  const std::string trimmed = TrimHeader(Header);
  bool ascii = true;
  for (unsigned char c : trimmed) ascii = ascii && c < 0x80;
  return ascii ? AsciiLower(trimmed) : CaptionKey(trimmed);
}

std::vector<std::pair<std::string, PanelControl>> InputHeaderNames() {
  const auto& names = HeaderNames();
  return {names.begin(), names.end()};
}

std::optional<PanelControl> InputOfHeader(const std::string& Header) {
  const auto& names = HeaderNames();
  const auto found = names.find(HeaderKey(Header));
  if (found == names.end()) return std::nullopt;
  return found->second;
}

ColumnLayout MapColumns(const std::vector<std::string>& Headers, std::size_t Line) {
  std::size_t width = Headers.size();
  while (width > 0 && TrimHeader(Headers[width - 1]).empty()) --width;
  if (width == 0) throw BatchFileError(Line, BatchTexts::NoHeader);

  ColumnLayout layout;
  layout.Headers.assign(Headers.begin(), Headers.begin() + static_cast<std::ptrdiff_t>(width));
  layout.InputColumn.fill(-1);
  std::map<std::string, std::size_t> ids;
  for (std::size_t i = 0; i < width; ++i) {
    const std::string trimmed = TrimHeader(Headers[i]);
    if (trimmed.empty()) throw BatchFileError(Line, BatchTexts::Fill(BatchTexts::EmptyHeader, {std::to_string(i + 1)}));
    if (const std::optional<PanelControl> control = InputOfHeader(trimmed)) {
      int& column = layout.InputColumn[static_cast<std::size_t>(*control)];
      if (column >= 0)
        throw BatchFileError(
            Line, BatchTexts::Fill(BatchTexts::DuplicateInput, {Headers[static_cast<std::size_t>(column)], Headers[i],
                                                                InputOf(*control).ControlName}));
      column = static_cast<int>(i);
      continue;
    }
    if (!ids.emplace(trimmed, i).second)
      throw BatchFileError(Line, BatchTexts::Fill(BatchTexts::DuplicateColumn, {trimmed}));
    layout.IdColumns.push_back(i);
  }
  return layout;
}
