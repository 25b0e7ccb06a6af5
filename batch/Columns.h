// SPDX-License-Identifier: GPL-3.0-or-later
// What each column of the input holds: one of the window's inputs, named by
// its DecreeInput field, its control or its label's caption, or else an
// identification column carried through to every output.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "decree/DecreeCatalogue.h"

struct ColumnLayout {
  std::vector<std::string> Headers;              // as in the file, up to the last named column
  std::vector<std::size_t> IdColumns;            // in file order
  std::array<int, InputCount> InputColumn;  // by PanelControl; -1 when the file has none

  int ColumnOf(PanelControl Control) const { return InputColumn[static_cast<std::size_t>(Control)]; }
  std::size_t Width() const { return Headers.size(); }
};

// The input a header names, once trimmed: the field or control name (ASCII
// letters in any case), or the Persian caption without its colon (the Arabic
// kaf and yeh read as the Persian letters, a non-joiner as a space).
std::optional<PanelControl> InputOfHeader(const std::string& Header);

// A header in the form it is looked up in (trimmed, then ASCII letters in
// lower case, or a caption as a clerk may type it), and every name each
// input answers to in that form.
std::string HeaderKey(const std::string& Header);
std::vector<std::pair<std::string, PanelControl>> InputHeaderNames();

// Maps the header row. Empty headers after the last named column are
// dropped; throws BatchFileError (line 1) for an empty header before it, two
// columns naming one input, or two identification columns of one name.
ColumnLayout MapColumns(const std::vector<std::string>& Headers, std::size_t Line);

// Trims the characters U+0000..U+0020, no-break spaces, direction marks and
// byte-order marks that spreadsheets leave around a header.
std::string TrimHeader(const std::string& Header);
