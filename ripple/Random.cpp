// SPDX-License-Identifier: GPL-3.0-or-later
#include "ripple/Random.h"

#include <cstdint>
#include <ctime>
#include <random>
#include <utility>

namespace {

// clock_gettime rather than std::chrono: libc++'s clocks throw system_error,
// whose messages bring printf into the WebAssembly build.
std::uint32_t ClockSeed() {
  timespec Now{};
  ::clock_gettime(CLOCK_MONOTONIC, &Now);
  const auto Ticks = static_cast<std::uint64_t>(Now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(Now.tv_nsec);
  return static_cast<std::uint32_t>(Ticks ^ (Ticks >> 32));
}

// Seeded during static initialisation, that is once at program start.
std::mt19937 Generator(ClockSeed());
std::function<int(int)> Override;

}  // namespace

int RandomInt(int n) {
  if (n <= 0) return 0;
  if (Override) return Override(n);
  return std::uniform_int_distribution<int>(0, n - 1)(Generator);
}

void RandomSeed(std::uint32_t Seed) { Generator.seed(Seed); }

void SetRandomSource(std::function<int(int)> Source) { Override = std::move(Source); }
