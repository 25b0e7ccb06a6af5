// SPDX-License-Identifier: GPL-3.0-or-later
// TWaterEffect under arbitrary sequences of SetSize, Blob, Render, ClearWater
// and SetDamping, against plain water written from the rules: clamped
// neighbour indices on every cell, 64-bit arithmetic, C++ division (which
// truncates toward zero), no skipping of calm rows. After every operation
// both surfaces agree cell for cell and, after a Render, the destination byte
// for byte; ASan and UBSan watch the engine's indexing and arithmetic
// meanwhile.
//
// The engine's documented answer where the rules' 32-bit arithmetic would
// overflow: the same formulas exactly, a height that leaves 32 bits stored
// saturated at INT32_MIN / INT32_MAX. A drop whose random placement has a zero
// divisor is skipped, after its first draw.
//
// Input: a byte seeding the random draws, then operations: an opcode byte and
// its arguments (see the Op* functions).
#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "ripple/Random.h"
#include "ripple/WaterEffect.h"

namespace {

constexpr std::int64_t MaxCells = std::int64_t{1} << 20;    // the biggest grid worked here
constexpr std::int64_t WorkBudget = std::int64_t{1} << 20;  // cell visits per input

// ---- The random draws, shared by the engine and the plain water ----

std::uint32_t DrawState = 1;
std::vector<int> Draws;     // what the engine drew, in order
std::size_t DrawsUsed = 0;  // how many of them the plain water has taken

int EngineDraw(int n) {
  DrawState = DrawState * 1103515245u + 12345u;
  const int value = static_cast<int>((DrawState >> 8) % static_cast<std::uint32_t>(n));
  Draws.push_back(value);
  return value;
}

std::int64_t PlainDraw() {
  Require(DrawsUsed < Draws.size(), "the engine drew fewer random numbers than the rules ask for");
  return Draws[DrawsUsed++];
}

// ---- Plain water ----

struct PlainWater {
  std::int64_t W = 0, H = 0;
  int Damping = 20;
  std::vector<std::int64_t> Cur, Prev;

  static std::int64_t Saturate(std::int64_t V) { return std::clamp<std::int64_t>(V, INT32_MIN, INT32_MAX); }
  std::int64_t& C(std::int64_t x, std::int64_t y) { return Cur[static_cast<std::size_t>(y * W + x)]; }
  std::int64_t& P(std::int64_t x, std::int64_t y) { return Prev[static_cast<std::size_t>(y * W + x)]; }

  void SetSize(int AWidth, int AHeight) {
    W = AWidth > 0 && AHeight > 0 ? AWidth : 0;
    H = AWidth > 0 && AHeight > 0 ? AHeight : 0;
    Cur.assign(static_cast<std::size_t>(W * H), 0);
    Prev.assign(static_cast<std::size_t>(W * H), 0);
  }

  void Clear() {
    std::fill(Cur.begin(), Cur.end(), 0);
    std::fill(Prev.begin(), Prev.end(), 0);
  }

  void Blob(std::int64_t x, std::int64_t y, std::int64_t R, std::int64_t Height) {
    if (x < 0 || x > W - 1) {
      const std::int64_t divisor = W - 2 * R - 1;
      const std::int64_t draw = PlainDraw();
      if (divisor == 0) return;
      x = R + 1 + draw % divisor;
    }
    if (y < 0 || y > H - 1) {
      const std::int64_t divisor = H - 2 * R - 1;
      const std::int64_t draw = PlainDraw();
      if (divisor == 0) return;
      y = R + 1 + draw % divisor;
    }
    const std::int64_t left = std::min(R, x), right = std::min(R, W - 1 - x);
    const std::int64_t up = std::min(R, y), down = std::min(R, H - 1 - y);
    for (std::int64_t j = -up; j <= down; ++j)
      for (std::int64_t i = -left; i <= right; ++i)
        if (i * i + j * j <= R * R) C(x + i, y + j) = Saturate(C(x + i, y + j) + Height);
  }

  void Step() {
    const std::int64_t F = (100 - Damping) * 256 / 100;
    for (std::int64_t y = 0; y < H; ++y) {
      const std::int64_t u = std::max<std::int64_t>(y - 1, 0), d = std::min(y + 1, H - 1);
      for (std::int64_t x = 0; x < W; ++x) {
        const std::int64_t l = std::max<std::int64_t>(x - 1, 0), r = std::min(x + 1, W - 1);
        const std::int64_t S = C(l, u) + C(x, u) + C(r, u) + C(l, y) + C(r, y) + C(l, d) + C(x, d) + C(r, d);
        P(x, y) = Saturate((S / 4 - P(x, y)) * F / 256);
      }
    }
    Cur.swap(Prev);
  }

  // Src and Dst cover the grid.
  void Draw(const TConstBitmap24& Src, const TBitmap24& Dst) {
    for (int y = 0; y < std::min(Src.Height, Dst.Height); ++y)
      std::memcpy(Dst.ScanLine(y), Src.ScanLine(y), 3 * static_cast<std::size_t>(std::min(Src.Width, Dst.Width)));
    for (std::int64_t y = 0; y < H; ++y) {
      const std::int64_t u = std::max<std::int64_t>(y - 1, 0), d = std::min(y + 1, H - 1);
      for (std::int64_t x = 0; x < W; ++x) {
        const std::int64_t dx = C(std::max<std::int64_t>(x - 1, 0), y) - C(std::min(x + 1, W - 1), y);
        const std::int64_t dy = C(x, u) - C(x, d);
        if (dx == 0 && dy == 0) continue;
        const std::int64_t sx = x + dx, sy = y + dy;
        if (sx < 0 || sx >= W || sy < 0 || sy >= H) continue;
        for (int k = 0; k < 3; ++k) {
          const std::int64_t v = Src.ScanLine(static_cast<int>(sy))[3 * sx + k] - dx;
          Dst.ScanLine(static_cast<int>(y))[3 * x + k] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255));
        }
      }
    }
  }
};

// ---- Arguments ----

const int SpecialDimensions[] = {0, 1, 2, 3, -1, INT_MIN, INT_MAX, 375, 237};

// Mostly small grids, now and then a special or any 32-bit value.
int Dimension(ByteReader& In) {
  const std::uint8_t b = In.Byte();
  if (b < 0xE0) return b % 40 - 4;
  if (b < 0xF0) return SpecialDimensions[b % (sizeof SpecialDimensions / sizeof *SpecialDimensions)];
  return In.Raw<std::int32_t>();
}

int Argument(ByteReader& In, const PlainWater& Water) {
  const std::uint8_t b = In.Byte();
  if (b < 0xD0) return static_cast<int>(b) - 40;
  const int specials[] = {INT_MIN,
                          INT_MAX,
                          INT_MIN + 1,
                          -1,
                          0,
                          static_cast<int>(Water.W) - 1,
                          static_cast<int>(Water.W),
                          static_cast<int>(Water.H) - 1,
                          static_cast<int>(Water.H),
                          TWaterEffect::FastPathLimit,
                          -TWaterEffect::FastPathLimit,
                          1 << 30,
                          -(1 << 30),
                          46341,  // its square is just above INT_MAX
                          static_cast<int>(Water.W / 2),
                          static_cast<int>(Water.H / 2),
                          TWaterEffect::FastPathLimit + 1};  // the first height of the 64-bit rows
  if (b < 0xF0) return specials[(b - 0xD0) % (sizeof specials / sizeof *specials)];
  return In.Raw<std::int32_t>();
}

// ---- Comparison ----

std::int64_t Work = 0;

void Compare(const TWaterEffect& Engine, const PlainWater& Water) {
  Require(Engine.Width() == Water.W && Engine.Height() == Water.H, "grid size differs");
  Require(Engine.Damping() == Water.Damping, "damping differs");
  for (int y = 0; y < Water.H; ++y)
    for (int x = 0; x < Water.W; ++x) {
      const std::size_t k = static_cast<std::size_t>(y * Water.W + x);
      if (Engine.Cell(x, y) != Water.Cur[k] || Engine.PreviousCell(x, y) != Water.Prev[k])
        Fail("a height differs from the plain water",
             "cell (" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(Engine.Cell(x, y)) +
                 " / " + std::to_string(Water.Cur[k]) + ", previous " + std::to_string(Engine.PreviousCell(x, y)) +
                 " / " + std::to_string(Water.Prev[k]));
    }
  Require(DrawsUsed == Draws.size(), "the engine drew more random numbers than the rules ask for");
  Work += 2 * Water.W * Water.H;
}

// A bitmap in exactly the bytes its rows need (the last row without padding),
// so that ASan sees any access beyond it.
struct Bitmap {
  std::vector<std::uint8_t> Bytes;
  TBitmap24 View;

  Bitmap(int Width, int Height, int Padding, std::uint8_t Seed) {
    const std::ptrdiff_t bytesPerLine = 3 * static_cast<std::ptrdiff_t>(Width) + Padding;
    Bytes.resize(Height == 0 ? 0 : static_cast<std::size_t>((Height - 1) * bytesPerLine + 3 * Width));
    for (std::size_t k = 0; k < Bytes.size(); ++k) Bytes[k] = static_cast<std::uint8_t>(k * 37 + Seed * 101 + (k >> 7));
    View = TBitmap24{Width, Height, Bytes.empty() ? nullptr : Bytes.data(), bytesPerLine};
  }
};

// The pixel bytes (not the padding) of two bitmaps of one size.
bool SamePixels(const TBitmap24& A, const TBitmap24& B) {
  if (A.Width == 0) return true;
  for (int y = 0; y < A.Height; ++y)
    if (std::memcmp(A.ScanLine(y), B.ScanLine(y), 3 * static_cast<std::size_t>(A.Width)) != 0) return false;
  return true;
}

// ---- Operations ----

void OpSetSize(ByteReader& In, TWaterEffect& Engine, PlainWater& Water) {
  const int width = Dimension(In), height = Dimension(In);
  const std::int64_t cells = width > 0 && height > 0 ? std::int64_t{width} * height : 0;
  if (cells > MaxCells) {
    // Too big to be worked here; only sizes no vector can hold are tried: they
    // must throw and leave the grid as it was.
    if (static_cast<std::uint64_t>(cells) <= PTRDIFF_MAX / sizeof(std::int32_t)) return;
    bool threw = false;
    try {
      Engine.SetSize(width, height);
    } catch (const std::exception&) {
      threw = true;
    }
    Require(threw, "an impossible size did not throw");
    return;
  }
  Engine.SetSize(width, height);
  Water.SetSize(width, height);
  Work += 4 * cells;  // the blocks are allocated and cleared
}

void OpBlob(ByteReader& In, TWaterEffect& Engine, PlainWater& Water) {
  const int x = Argument(In, Water), y = Argument(In, Water);
  const int radius = Argument(In, Water), height = Argument(In, Water);
  Engine.Blob(x, y, radius, height);
  Water.Blob(x, y, radius, height);
  // The disc is clipped to the grid, so the work is bounded by it.
  Work += Water.W * Water.H;
}

void OpRender(ByteReader& In, TWaterEffect& Engine, PlainWater& Water) {
  const std::uint8_t shape = In.Byte();
  const std::uint8_t seed = In.Byte();
  // Bitmaps as big as the grid or a little bigger, with padded rows, the two
  // with different row lengths now and then; or one a column or row short.
  int width = static_cast<int>(Water.W) + (shape & 3);
  int height = static_cast<int>(Water.H) + (shape >> 2 & 3);
  const bool tooSmall = (shape & 0x40) != 0 && Water.W > 0;
  if (tooSmall) ((shape & 0x10) != 0 ? width : height) = static_cast<int>((shape & 0x10) != 0 ? Water.W : Water.H) - 1;
  const int srcPadding = shape >> 4 & 3;
  const int dstPadding = (shape & 0x80) != 0 ? (srcPadding + 1) % 4 : srcPadding;

  Bitmap src(width, height, srcPadding, seed);
  Bitmap dst(width, height, dstPadding, static_cast<std::uint8_t>(seed ^ 0x5A));
  Bitmap expected(width, height, dstPadding, static_cast<std::uint8_t>(seed ^ 0x5A));
  Engine.Render(src.View, dst.View);
  if (Water.W > 0) {
    Water.Step();
    // The engine leaves a bitmap that does not cover the grid alone.
    if (!tooSmall) Water.Draw(src.View, expected.View);
  }
  Require(SamePixels(dst.View, expected.View), "the destination differs from the plain drawing");
  Work += 4 * std::int64_t{width} * height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  ByteReader in(Data, Size);
  DrawState = in.Byte() + 1u;
  Draws.clear();
  DrawsUsed = 0;
  Work = 0;
  SetRandomSource(EngineDraw);

  TWaterEffect engine;
  PlainWater water;
  Compare(engine, water);
  while (!in.Empty() && Work < WorkBudget) {
    switch (in.Byte() % 6) {
      case 0: OpSetSize(in, engine, water); break;
      case 1:
      case 2: OpBlob(in, engine, water); break;
      case 3: OpRender(in, engine, water); break;
      case 4:
        engine.ClearWater();
        water.Clear();
        break;
      case 5: {
        const int value = Argument(in, water);
        engine.SetDamping(value);
        if (value >= 1 && value <= 99) water.Damping = value;
        break;
      }
    }
    Compare(engine, water);
  }
  SetRandomSource({});
  return 0;
}
