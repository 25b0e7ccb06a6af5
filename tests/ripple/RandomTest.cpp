// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <set>
#include <vector>

#include "ripple/Random.h"

namespace {

TEST(RandomInt, StaysInRangeAndReachesEveryValue) {
  RandomSeed(11);
  for (int n : {1, 2, 3, 17, 28}) {
    SCOPED_TRACE(n);
    std::set<int> Seen;
    for (int i = 0; i < 2000; ++i) {
      const int Value = RandomInt(n);
      ASSERT_GE(Value, 0);
      ASSERT_LT(Value, n);
      Seen.insert(Value);
    }
    EXPECT_EQ(static_cast<int>(Seen.size()), n);
  }
}

TEST(RandomInt, EmptyRangeGivesZero) {
  for (int n : {0, -1, -32767}) EXPECT_EQ(RandomInt(n), 0) << n;
}

TEST(RandomInt, SameSeedSameSequence) {
  std::vector<int> First, Second;
  RandomSeed(99);
  for (int i = 0; i < 50; ++i) First.push_back(RandomInt(32767));
  RandomSeed(99);
  for (int i = 0; i < 50; ++i) Second.push_back(RandomInt(32767));
  EXPECT_EQ(First, Second);
  EXPECT_NE(std::set<int>(First.begin(), First.end()).size(), 1u);
}

TEST(RandomInt, ScriptedSourceReplacesTheGeneratorUntilRemoved) {
  std::vector<int> Asked;
  SetRandomSource([&Asked](int n) {
    Asked.push_back(n);
    return n - 1;
  });
  EXPECT_EQ(RandomInt(17), 16);
  EXPECT_EQ(RandomInt(2), 1);
  EXPECT_EQ(RandomInt(0), 0);  // an empty range never reaches the source
  SetRandomSource(nullptr);
  EXPECT_EQ(Asked, (std::vector<int>{17, 2}));
  RandomSeed(1);
  std::set<int> Seen;
  for (int i = 0; i < 20; ++i) Seen.insert(RandomInt(1000));
  EXPECT_GT(Seen.size(), 1u);
}

}  // namespace
