// SPDX-License-Identifier: GPL-3.0-or-later
// The ripple step and draw written the plain way: clamped neighbour indices on
// every cell, C++ division (which truncates toward zero), 64-bit arithmetic,
// no row skipping, no vector code. The engine must match it cell for cell and
// byte for byte. Where the rules' 32-bit arithmetic does not overflow, 64 bits
// give exactly the rules' values; beyond that, a height that leaves 32 bits is
// stored saturated at INT32_MIN / INT32_MAX, the engine's documented answer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

struct TReferenceWater {
  int W = 0;
  int H = 0;
  int Damping = 20;
  std::vector<std::int64_t> Cur;
  std::vector<std::int64_t> Prev;
  // Set once a value that the rules form in 32 bits (a cell plus a drop, the
  // neighbour sum, S div 4 − P times the damping factor, a slope, x + dx,
  // y + dy) has left the 32-bit range: from then on the rules' own arithmetic
  // would have overflowed.
  bool Overflowed = false;

  TReferenceWater(int AWidth, int AHeight)
      : W(AWidth),
        H(AHeight),
        Cur(static_cast<std::size_t>(AWidth) * AHeight),
        Prev(static_cast<std::size_t>(AWidth) * AHeight) {}

  static std::int64_t Stored(std::int64_t V) { return std::clamp<std::int64_t>(V, INT32_MIN, INT32_MAX); }
  void Check(std::int64_t V) {
    if (V < INT32_MIN || V > INT32_MAX) Overflowed = true;
  }
  std::int64_t& C(int x, int y) { return Cur[static_cast<std::size_t>(y) * W + x]; }
  std::int64_t& P(int x, int y) { return Prev[static_cast<std::size_t>(y) * W + x]; }

  // Only for a centre inside the grid. Every cell of the disc's bounding box
  // that lies in the grid is tested.
  void Blob(int x, int y, int ARadius, int AHeight) {
    if (ARadius < 0) return;
    const std::int64_t R = ARadius;
    for (std::int64_t j = std::max<std::int64_t>(y - R, 0); j <= std::min<std::int64_t>(y + R, H - 1); ++j)
      for (std::int64_t i = std::max<std::int64_t>(x - R, 0); i <= std::min<std::int64_t>(x + R, W - 1); ++i)
        if ((i - x) * (i - x) + (j - y) * (j - y) <= R * R) {
          std::int64_t& Cell = C(static_cast<int>(i), static_cast<int>(j));
          Check(Cell + AHeight);
          Cell = Stored(Cell + AHeight);
        }
  }

  void Step() {
    const std::int64_t F = (100 - Damping) * 256 / 100;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const int L = std::max(x - 1, 0), R = std::min(x + 1, W - 1);
        const int U = std::max(y - 1, 0), D = std::min(y + 1, H - 1);
        const std::int64_t S = C(L, U) + C(x, U) + C(R, U) + C(L, y) + C(R, y) + C(L, D) + C(x, D) + C(R, D);
        Check(S);
        Check((S / 4 - P(x, y)) * F);
        P(x, y) = Stored((S / 4 - P(x, y)) * F / 256);
      }
    std::swap(Cur, Prev);
  }

  // Src and Dst: W × H pixels of 3 bytes, rows Stride bytes apart.
  void Draw(const std::uint8_t* Src, std::uint8_t* Dst, std::ptrdiff_t Stride) {
    for (int y = 0; y < H; ++y) std::memcpy(Dst + y * Stride, Src + y * Stride, 3 * static_cast<std::size_t>(W));
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const int L = std::max(x - 1, 0), R = std::min(x + 1, W - 1);
        const int U = std::max(y - 1, 0), D = std::min(y + 1, H - 1);
        const std::int64_t Dx = C(L, y) - C(R, y);
        const std::int64_t Dy = C(x, U) - C(x, D);
        if (Dx == 0 && Dy == 0) continue;
        const std::int64_t Sx = x + Dx, Sy = y + Dy;
        for (std::int64_t V : {Dx, Dy, Sx, Sy}) Check(V);
        if (Sx < 0 || Sx >= W || Sy < 0 || Sy >= H) continue;
        for (int k = 0; k < 3; ++k) {
          const std::int64_t V = Src[Sy * Stride + Sx * 3 + k] - Dx;
          Dst[y * Stride + x * 3 + k] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(V, 0, 255));
        }
      }
  }
};
