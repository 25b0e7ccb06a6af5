// SPDX-License-Identifier: GPL-3.0-or-later
// The process's one pseudo-random generator. It is seeded from the clock when
// the program starts, so the drops differ from run to run; only the ripple
// code draws from it, in a fixed order per frame.
#pragma once

#include <cstdint>
#include <functional>

// A uniform integer in 0..n − 1; 0 when n <= 0.
int RandomInt(int n);

// Restarts the generator from a known seed (tests, benchmarks).
void RandomSeed(std::uint32_t Seed);

// Replaces the generator by Source, which gets n and returns the draw; an
// empty function restores the generator. Lets tests script the draws.
void SetRandomSource(std::function<int(int)> Source);
