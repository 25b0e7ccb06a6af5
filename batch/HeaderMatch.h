// SPDX-License-Identifier: GPL-3.0-or-later
// A header that names no input becomes an identification column, so a
// misspelt optional input would silently compute as 0. Headers close to an
// input's name stop the run instead, unless the user says they identify.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "batch/Columns.h"

struct NearInput {
  std::string Name;  // the input's name as written: its caption, field or control name
  PanelControl Control;
};

// Edits (a character inserted, dropped, replaced, or two swapped) between
// the code points of two UTF-8 texts, when at most Limit; nullopt otherwise.
std::optional<std::size_t> EditDistance(const std::string& A, const std::string& B, std::size_t Limit);

// The input whose name Header comes closest to, compared after the
// normalisation headers get: one edit for a name of 4 to 15 characters, one
// more for each further 16. Nothing for a header that names an input.
std::optional<NearInput> NearestInput(const std::string& Header);

// Throws BatchFileError on Line for an identification header close to an
// input, unless Ignored lists it, and for an Ignored name that is not an
// identification header of the file.
void CheckIdentificationHeaders(const ColumnLayout& Layout, const std::vector<std::string>& Ignored, std::size_t Line);
