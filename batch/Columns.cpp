// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/Columns.h"

#include <iterator>
#include <map>
#include <set>
#include <utility>

#include "batch/BatchTexts.h"
#include "batch/CsvReader.h"
#include "decree/WindowTexts.h"

namespace {

using C = PanelControl;

// Each input's label on the panel; CheckBox6 has its own caption, CheckBox5
// none (it is named by its field or control only).
struct Caption {
  const char* Text;
  PanelControl Control;
};
const Caption Captions[] = {
    {WindowTexts::Label1, C::Edit1},      {WindowTexts::Label2, C::Edit2},      {WindowTexts::Label3, C::Edit3},
    {WindowTexts::Label26, C::Edit26},    {WindowTexts::Label5, C::Edit4},      {WindowTexts::Label4, C::Edit5},
    {WindowTexts::Label20, C::Edit25},    {WindowTexts::Label25, C::Edit18},    {WindowTexts::Label6, C::Edit6},
    {WindowTexts::Label7, C::Edit7},      {WindowTexts::Label8, C::Edit8},      {WindowTexts::Label10, C::Edit9},
    {WindowTexts::Label9, C::Edit10},     {WindowTexts::Label19, C::Edit12},    {WindowTexts::Label21, C::ComboBox1},
    {WindowTexts::Label12, C::Edit11},    {WindowTexts::Label11, C::CheckBox1}, {WindowTexts::Label18, C::CheckBox2},
    {WindowTexts::Label24, C::CheckBox3}, {WindowTexts::Label23, C::CheckBox4}, {WindowTexts::Label22, C::CheckBox8},
    {WindowTexts::Label14, C::Edit13},    {WindowTexts::Label13, C::Edit14},    {WindowTexts::Label15, C::Edit15},
    {WindowTexts::Label16, C::Edit16},    {WindowTexts::Label17, C::Edit17},    {WindowTexts::Label77, C::Edit19},
    {WindowTexts::Label78, C::Edit20},    {WindowTexts::Label79, C::Edit21},    {WindowTexts::Label86, C::Edit22},
    {WindowTexts::Label87, C::Edit23},    {WindowTexts::Label88, C::Edit24},    {WindowTexts::CheckBox6, C::CheckBox6},
};

// Code points trimmed around a header besides U+0000..U+0020, in UTF-8.
const char* const Invisible[] = {"\u00A0", "\u200B", "\u200E", "\u200F", "\uFEFF"};

// A caption as a clerk may type it: without the colon, the Arabic kaf and
// yeh as the Persian letters, a zero-width non-joiner as a space, one space
// between words.
std::string CaptionKey(const std::string& Text) {
  std::string t = TrimHeader(Text);
  if (!t.empty() && t.back() == ':') t = TrimHeader(t.substr(0, t.size() - 1));
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
  std::vector<Caption> captions(std::begin(Captions), std::end(Captions));
  // Label17 is shown misspelt ("زتدگی"); the word spelt right names it too.
  static const std::string Label17Spelt = [] {
    std::string text = WindowTexts::Label17;
    const std::string shown = "زتدگی";
    const std::size_t at = text.find(shown);
    if (at != std::string::npos) text.replace(at, shown.size(), "زندگی");
    return text;
  }();
  captions.push_back({Label17Spelt.c_str(), C::Edit17});
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
  std::size_t first = 0, last = Header.size();
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    while (first < last && static_cast<unsigned char>(Header[first]) <= 0x20) ++first, trimmed = true;
    while (last > first && static_cast<unsigned char>(Header[last - 1]) <= 0x20) --last, trimmed = true;
    for (const char* mark : Invisible) {
      const std::string m = mark;
      if (last - first >= m.size() && Header.compare(first, m.size(), m) == 0) first += m.size(), trimmed = true;
      if (last - first >= m.size() && Header.compare(last - m.size(), m.size(), m) == 0)
        last -= m.size(), trimmed = true;
    }
  }
  return Header.substr(first, last - first);
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
