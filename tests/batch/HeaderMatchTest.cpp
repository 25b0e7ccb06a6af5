// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "batch/HeaderMatch.h"

namespace {

TEST(HeaderMatch, EditsCountCharactersAndASwapIsOne) {
  struct Row {
    const char* Name;
    const char* A;
    const char* B;
    std::size_t Limit;
    std::optional<std::size_t> Distance;
  } rows[] = {
      {"the same", "Edit1", "Edit1", 0, 0},
      {"one letter dropped", "ShiftWorkPercent", "ShiftWorkPercen", 1, 1},
      {"two letters swapped", "ShiftWorkPrecent", "ShiftWorkPercent", 1, 1},
      {"a Persian letter is one character, not two bytes", "\u06A9\u0627\u0631", "\u06A9\u0627\u0631\u06CC", 1, 1},
      {"a Persian letter replaced", "\u06A9\u0627\u0632", "\u06A9\u0627\u0631", 1, 1},
      {"over the limit", "abcd", "wxyz", 3, std::nullopt},
      {"lengths too far apart", "a", "abcdef", 4, std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(EditDistance(row.A, row.B, row.Limit), row.Distance) << row.Name;
}

}  // namespace
