// SPDX-License-Identifier: GPL-3.0-or-later
// Text helpers shared by every layer: the window's fields, info.ini and the
// batch program's cells and headers are trimmed by the same rule.
#pragma once

#include <string>
#include <string_view>

// Removes the characters U+0000..U+0020 (space and the control characters)
// from both ends. They are single bytes in UTF-8 and never occur inside a
// longer sequence, so trimming bytes trims characters.
std::string TrimControl(std::string_view Text);
