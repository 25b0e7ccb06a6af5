// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "ripple/Random.h"

// Scripts the process-wide generator for one test: records every n asked for
// and answers from a list (0 once the list is used up).
class TScriptedRandom {
 public:
  explicit TScriptedRandom(std::vector<int> Answers) : FAnswers(std::move(Answers)) {
    SetRandomSource([this](int n) {
      Asked.push_back(n);
      return Next < FAnswers.size() ? FAnswers[Next++] : 0;
    });
  }
  ~TScriptedRandom() { SetRandomSource(nullptr); }
  std::vector<int> Asked;

 private:
  std::vector<int> FAnswers;
  std::size_t Next = 0;
};
