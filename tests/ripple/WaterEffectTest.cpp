// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "ripple/Random.h"
#include "ripple/WaterEffect.h"
#include "tests/ripple/ReferenceWater.h"
#include "tests/ripple/ScriptedRandom.h"

namespace {

// A 24-bit test bitmap with padded rows, like a QImage's.
struct TPicture {
  int Width;
  int Height;
  std::ptrdiff_t Stride;
  std::vector<std::uint8_t> Bytes;

  // Unpadded: rows exactly 3 · AWidth bytes apart and nothing after the last.
  TPicture(int AWidth, int AHeight, std::uint8_t Fill = 0, bool Unpadded = false)
      : Width(AWidth),
        Height(AHeight),
        Stride(Unpadded ? 3 * AWidth : (3 * AWidth + 3) / 4 * 4 + 4),
        Bytes(static_cast<std::size_t>(Stride) * AHeight, Fill) {}
  TBitmap24 View() { return {Width, Height, Bytes.data(), Stride}; }
  std::uint8_t* Pixel(int x, int y) { return Bytes.data() + y * Stride + 3 * x; }
  void Randomise(std::mt19937& Gen) {
    for (auto& B : Bytes) B = static_cast<std::uint8_t>(Gen());
  }
};

// Cells of the current surface that are not 0, as "x,y=h" in row order.
std::vector<std::string> Raised(const TWaterEffect& W) {
  std::vector<std::string> Cells;
  for (int y = 0; y < W.Height(); ++y)
    for (int x = 0; x < W.Width(); ++x)
      if (W.Cell(x, y) != 0)
        Cells.push_back(std::to_string(x) + "," + std::to_string(y) + "=" + std::to_string(W.Cell(x, y)));
  return Cells;
}

bool AllCalm(const TWaterEffect& W) {
  for (int y = 0; y < W.Height(); ++y)
    for (int x = 0; x < W.Width(); ++x)
      if (W.Cell(x, y) != 0 || W.PreviousCell(x, y) != 0) return false;
  return true;
}

TEST(WaterEffectSize, NonPositiveDimensionUnsizesTheEngine) {
  struct TRow {
    const char* Name;
    int Width;
    int Height;
  } Rows[] = {{"zero width", 0, 10}, {"negative height", 10, -1}, {"both negative", -5, -5}, {"zero", 0, 0}};
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TWaterEffect Water;
    Water.SetSize(20, 20);
    Water.SetSize(Row.Width, Row.Height);
    EXPECT_EQ(Water.Width(), 0);
    EXPECT_EQ(Water.Height(), 0);

    Water.Blob(-1, -1, 1, 100);
    Water.Blob(0, 0, 1, 100);
    TPicture Src(20, 20, 0x11), Dst(20, 20, 0x5A);
    Water.Render(Src.View(), Dst.View());
    EXPECT_EQ(Dst.Bytes, std::vector<std::uint8_t>(Dst.Bytes.size(), 0x5A));
  }
}

TEST(WaterEffectSize, SameSizeStillCalmsTheWater) {
  TWaterEffect Water;
  Water.SetSize(20, 12);
  Water.Blob(5, 5, 2, 250);
  TPicture Src(20, 12), Dst(20, 12);
  Water.Render(Src.View(), Dst.View());
  Water.Blob(9, 6, 1, -300);
  ASSERT_FALSE(AllCalm(Water));
  Water.SetSize(20, 12);
  EXPECT_EQ(Water.Width(), 20);
  EXPECT_EQ(Water.Height(), 12);
  EXPECT_TRUE(AllCalm(Water));
}

TEST(WaterEffectBlob, DiscHasTheCellsOfItsRadius) {
  struct TRow {
    int Radius;
    std::vector<std::string> Cells;
  } Rows[] = {
      {0, {"5,5=250"}},
      {1, {"5,4=250", "4,5=250", "5,5=250", "6,5=250", "5,6=250"}},
      {2,
       {"5,3=250", "4,4=250", "5,4=250", "6,4=250", "3,5=250", "4,5=250", "5,5=250", "6,5=250", "7,5=250", "4,6=250",
        "5,6=250", "6,6=250", "5,7=250"}},
  };
  for (const TRow& Row : Rows) {
    SCOPED_TRACE("radius " + std::to_string(Row.Radius));
    TWaterEffect Water;
    Water.SetSize(12, 12);
    Water.Blob(5, 5, Row.Radius, 250);
    EXPECT_EQ(Raised(Water), Row.Cells);
    Water.Blob(5, 5, Row.Radius, 250);
    const std::vector<std::string> Twice = Raised(Water);
    EXPECT_EQ(Twice.size(), Row.Cells.size());
    for (const std::string& Cell : Twice) EXPECT_EQ(Cell.substr(Cell.find('=')), "=500");
  }
}

TEST(WaterEffectBlob, RadiusThreeRaisesTwentyNineCells) {
  TWaterEffect Water;
  Water.SetSize(15, 15);
  Water.Blob(7, 7, 3, 10);
  EXPECT_EQ(Raised(Water).size(), 29u);
}

TEST(WaterEffectBlob, DiscAtTheBorderIsClipped) {
  TWaterEffect Water;
  Water.SetSize(30, 30);
  Water.Blob(0, 0, 2, 100);
  EXPECT_EQ(Raised(Water),
            (std::vector<std::string>{"0,0=100", "1,0=100", "2,0=100", "0,1=100", "1,1=100", "0,2=100"}));
  Water.ClearWater();
  Water.Blob(29, 29, 2, 100);
  EXPECT_EQ(Raised(Water),
            (std::vector<std::string>{"29,27=100", "28,28=100", "29,28=100", "27,29=100", "28,29=100", "29,29=100"}));
}

TEST(WaterEffectBlob, NegativeRadiusRaisesNothing) {
  TWaterEffect Water;
  Water.SetSize(10, 10);
  Water.Blob(5, 5, -1, 100);
  Water.Blob(5, 5, INT_MIN, 100);
  EXPECT_TRUE(Raised(Water).empty());
}

TEST(WaterEffectBlob, CoordinateInsideTheGridDrawsNoRandomNumber) {
  TScriptedRandom Script({});
  TWaterEffect Water;
  Water.SetSize(30, 10);
  Water.Blob(0, 0, 1, 100);
  Water.Blob(29, 9, 1, 100);
  EXPECT_TRUE(Script.Asked.empty());
}

TEST(WaterEffectBlob, OutOfGridCoordinateIsPlacedAtRandom) {
  // Grid 30 × 10, radius 1: a random row is 2 + R mod 7, a random column 2 + R mod 27.
  struct TRow {
    const char* Name;
    int x;
    int y;
    std::vector<int> Answers;
    std::vector<int> Asked;
    const char* Centre;
  } Rows[] = {
      {"row from the smallest draw", 10, -1, {0}, {32767}, "10,2=100"},
      {"row from the largest draw", 10, 10, {32766}, {32767}, "10,8=100"},
      {"column", 30, 4, {57}, {32767}, "5,4=100"},
      {"both, column first", -7, 99, {24, 13}, {32767, 32767}, "26,8=100"},
  };
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TScriptedRandom Script(Row.Answers);
    TWaterEffect Water;
    Water.SetSize(30, 10);
    Water.Blob(Row.x, Row.y, 1, 100);
    EXPECT_EQ(Script.Asked, Row.Asked);
    const std::vector<std::string> Cells = Raised(Water);
    ASSERT_EQ(Cells.size(), 5u);
    EXPECT_EQ(Cells[2], Row.Centre);  // the middle of the five, in row order
  }
}

TEST(WaterEffectBlob, RandomCentresKeepTheDiscOffTheEdges) {
  RandomSeed(7);
  TWaterEffect Water;
  Water.SetSize(30, 10);
  int MinX = 99, MaxX = -1, MinY = 99, MaxY = -1;
  for (int i = 0; i < 3000; ++i) {
    Water.ClearWater();
    Water.Blob(-1, -1, 1, 100);
    const std::vector<std::string> Cells = Raised(Water);
    ASSERT_EQ(Cells.size(), 5u);
    const int x = std::stoi(Cells[2]);
    const int y = std::stoi(Cells[2].substr(Cells[2].find(',') + 1));
    MinX = std::min(MinX, x);
    MaxX = std::max(MaxX, x);
    MinY = std::min(MinY, y);
    MaxY = std::max(MaxY, y);
  }
  EXPECT_EQ(MinX, 2);
  EXPECT_EQ(MaxX, 28);
  EXPECT_EQ(MinY, 2);
  EXPECT_EQ(MaxY, 8);
}

TEST(WaterEffectBlob, GridAsWideAsTheDiscSkipsARandomDrop) {
  // 3 columns, radius 1: the random column would divide by 3 − 2 − 1 = 0.
  TScriptedRandom Script({5});
  TWaterEffect Water;
  Water.SetSize(3, 10);
  Water.Blob(-1, 4, 1, 100);
  EXPECT_EQ(Script.Asked, std::vector<int>{32767});
  EXPECT_TRUE(Raised(Water).empty());
}

TEST(WaterEffectBlob, HeightsSaturateInsteadOfOverflowing) {
  TWaterEffect Water;
  Water.SetSize(8, 8);
  Water.Blob(2, 2, 0, INT_MAX);
  Water.Blob(2, 2, 0, INT_MAX);
  Water.Blob(5, 5, 0, INT_MIN);
  Water.Blob(5, 5, 0, INT_MIN);
  EXPECT_EQ(Water.Cell(2, 2), INT_MAX);
  EXPECT_EQ(Water.Cell(5, 5), INT_MIN);
  Water.Blob(2, 2, 0, -100);
  EXPECT_EQ(Water.Cell(2, 2), INT_MAX - 100);
  // A huge radius covers the whole grid; a huge random one fits nowhere.
  Water.ClearWater();
  Water.Blob(3, 3, INT_MAX, 7);
  EXPECT_EQ(Raised(Water).size(), 64u);
  Water.ClearWater();
  Water.Blob(-1, -1, INT_MAX, 7);
  EXPECT_TRUE(Raised(Water).empty());
}

TEST(WaterEffectDamping, OnlyOneToNinetyNineIsTaken) {
  struct TRow {
    int Value;
    int Expected;
  } Rows[] = {{0, 20}, {100, 20}, {1, 1}, {99, 99}, {-1, 20}, {286, 20} /* 286 mod 256 = 30 */, {55, 55}};
  TWaterEffect Fresh;
  EXPECT_EQ(Fresh.Damping(), 20);
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Value);
    TWaterEffect Water;
    Water.SetDamping(Row.Value);
    EXPECT_EQ(Water.Damping(), Row.Expected);
  }
}

// One cell raised on calm water, two steps, worked by hand. F = 204 for
// damping 20, 253 for 1, 2 for 99. First step, each neighbour: S = h,
// (h div 4) · F div 256. Second step, the cell: (8·n div 4 − h) · F div 256.
TEST(WaterEffectStep, SingleDropSpreadsWithTruncatingDivisions) {
  struct TRow {
    const char* Name;
    int Damping;
    int Drop;
    int Neighbour;   // every one of the eight after the first step
    int CellAfter2;  // the cell after the second step
  } Rows[] = {
      {"damping 20: 250 -> 49 -> -121 (a shift would give -122)", 20, 250, 49, -121},
      {"damping 1: -126.5 truncates to -126", 1, 250, 61, -126},
      {"damping 99", 99, 250, 0, -1},
      {"negative drop: -250 div 4 = -62, not -63", 20, -250, -49, 121},
      {"-3 div 4 = 0, so nothing spreads", 20, -3, 0, 2},
  };
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TWaterEffect Water;
    Water.SetSize(20, 20);
    Water.SetDamping(Row.Damping);
    Water.Blob(10, 10, 0, Row.Drop);
    TPicture Src(20, 20), Dst(20, 20);
    Water.Render(Src.View(), Dst.View());
    EXPECT_EQ(Water.Cell(10, 10), 0);
    for (int y = 9; y <= 11; ++y)
      for (int x = 9; x <= 11; ++x)
        if (x != 10 || y != 10) {
          EXPECT_EQ(Water.Cell(x, y), Row.Neighbour) << x << "," << y;
        }
    EXPECT_EQ(Water.Cell(8, 10), 0);
    EXPECT_EQ(Water.PreviousCell(10, 10), Row.Drop);
    Water.Render(Src.View(), Dst.View());
    EXPECT_EQ(Water.Cell(10, 10), Row.CellAfter2);
  }
}

// At the border the clamped indices count the edge cell for its missing
// neighbours. Worked by hand with damping 20 (F = 204) from one cell of 100:
// S = 100 → 25 · 204 div 256 = 19; S = 200 → 39; S = 300 → 59; S = 500 → 99;
// S = 800 → 159.
TEST(WaterEffectStep, EdgeCellsStandInForMissingNeighbours) {
  struct TRow {
    const char* Name;
    int Width;
    int Height;
    int x;
    int y;
    std::vector<std::string> After;
  } Rows[] = {
      {"left edge", 10, 10, 0, 5, {"0,4=39", "1,4=19", "0,5=19", "1,5=19", "0,6=39", "1,6=19"}},
      {"corner", 10, 10, 0, 0, {"0,0=59", "1,0=39", "0,1=39", "1,1=19"}},
      {"1 x 1 grid: all eight neighbours are the cell", 1, 1, 0, 0, {"0,0=159"}},
      {"2 x 1 grid: S = 300 and 500", 2, 1, 1, 0, {"0,0=59", "1,0=99"}},
  };
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TWaterEffect Water;
    Water.SetSize(Row.Width, Row.Height);
    Water.Blob(Row.x, Row.y, 0, 100);
    TPicture Src(Row.Width, Row.Height), Dst(Row.Width, Row.Height);
    Water.Render(Src.View(), Dst.View());
    EXPECT_EQ(Raised(Water), Row.After);
  }
}

TEST(WaterEffectDraw, CalmWaterCopiesTheSourceExactly) {
  std::mt19937 Gen(3);
  TWaterEffect Water;
  Water.SetSize(37, 21);
  TPicture Src(37, 21), Dst(37, 21, 0xA5);
  Src.Randomise(Gen);
  for (int Frame = 0; Frame < 3; ++Frame) {
    Water.Render(Src.View(), Dst.View());
    for (int y = 0; y < 21; ++y)
      ASSERT_EQ(std::vector<std::uint8_t>(Dst.Pixel(0, y), Dst.Pixel(37, y)),
                std::vector<std::uint8_t>(Src.Pixel(0, y), Src.Pixel(37, y)));
  }
}

// A drop of 16 becomes 3 in its neighbours after one step (16 div 4 = 4,
// 4 · 204 div 256 = 3), one of 28 becomes 5 (7 · 204 div 256). Two columns to
// the right of the drop dx = 3 − 0; two to the left dx = 0 − 5.
TEST(WaterEffectDraw, SlopeShiftsAndShadesThePixel) {
  struct TRow {
    const char* Name;
    int Drop;
    int x, y;    // the pixel looked at (drop at 20, 10)
    int Sx, Sy;  // where its source pixel comes from
    std::uint8_t Source[3];
    std::uint8_t Expected[3];
  } Rows[] = {
      {"dx = 3: three columns right, 3 darker, not below 0", 16, 22, 10, 25, 10, {1, 3, 100}, {0, 0, 97}},
      {"dx = -5: five columns left, 5 brighter, not above 255", 28, 18, 10, 13, 10, {254, 250, 0}, {255, 255, 5}},
      {"dy = 3: three rows down, no shading", 16, 20, 12, 20, 15, {1, 3, 100}, {1, 3, 100}},
  };
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TWaterEffect Water;
    Water.SetSize(40, 30);
    TPicture Src(40, 30, 128), Dst(40, 30);
    std::copy(Row.Source, Row.Source + 3, Src.Pixel(Row.Sx, Row.Sy));
    Water.Blob(20, 10, 0, Row.Drop);
    Water.Render(Src.View(), Dst.View());
    EXPECT_EQ(std::vector<std::uint8_t>(Dst.Pixel(Row.x, Row.y), Dst.Pixel(Row.x, Row.y) + 3),
              std::vector<std::uint8_t>(Row.Expected, Row.Expected + 3));
  }
}

TEST(WaterEffectDraw, SlopeOutOfTheGridKeepsTheOwnPixel) {
  // Drop 28 at (2, 10): cell (1, 10) becomes 5, so pixel (0, 10) has dx = −5
  // and would read column −5.
  TWaterEffect Water;
  Water.SetSize(40, 30);
  TPicture Src(40, 30), Dst(40, 30);
  std::mt19937 Gen(5);
  Src.Randomise(Gen);
  Water.Blob(2, 10, 0, 28);
  Water.Render(Src.View(), Dst.View());
  ASSERT_EQ(Water.Cell(1, 10), 5);
  EXPECT_EQ(std::vector<std::uint8_t>(Dst.Pixel(0, 10), Dst.Pixel(1, 10)),
            std::vector<std::uint8_t>(Src.Pixel(0, 10), Src.Pixel(1, 10)));
}

TEST(WaterEffectDraw, BitmapSmallerThanTheGridIsLeftAlone) {
  struct TRow {
    const char* Name;
    int SrcWidth, SrcHeight, DstWidth, DstHeight;
  } Rows[] = {{"source too narrow", 19, 20, 20, 20},
              {"source too low", 20, 19, 20, 20},
              {"destination too narrow", 20, 20, 19, 20},
              {"destination too low", 20, 20, 20, 1}};
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TWaterEffect Water;
    Water.SetSize(20, 20);
    Water.Blob(10, 10, 0, 300);
    TPicture Src(Row.SrcWidth, Row.SrcHeight, 9), Dst(Row.DstWidth, Row.DstHeight, 0x77);
    Water.Render(Src.View(), Dst.View());
    EXPECT_EQ(Dst.Bytes, std::vector<std::uint8_t>(Dst.Bytes.size(), 0x77));
    EXPECT_EQ(Water.Cell(10, 10), 0);  // the water still moved: 300 div 4 · 204 div 256
    EXPECT_EQ(Water.Cell(10, 9), 59);
  }
}

TEST(WaterEffectDraw, LargerSourceIsCopiedWholeIntoTheDestination) {
  TWaterEffect Water;
  Water.SetSize(10, 10);
  TPicture Src(14, 12, 0x33), Dst(16, 13, 0x00);
  Water.Render(Src.View(), Dst.View());
  EXPECT_EQ(Dst.Pixel(13, 11)[2], 0x33);
  EXPECT_EQ(Dst.Pixel(14, 11)[0], 0x00);
  EXPECT_EQ(Dst.Pixel(0, 12)[0], 0x00);
}

// The fast step and draw (row spans, shifts, branch-free passes) against the
// plain reference, over sizes with every edge case and three kinds of water:
// a few random drops a frame (negative and extreme heights included); drops in
// every row, so that every row is busy across the whole grid; and heights
// about the fast path's limit, so that rows change between the 32-bit and the
// 64-bit code.
enum class TWaterKind { RandomDrops, WholeGrid, NearTheLimit };

int DropHeight(TWaterKind Kind, std::mt19937& Gen) {
  constexpr int Limit = TWaterEffect::FastPathLimit;
  if (Kind == TWaterKind::NearTheLimit) {
    const int Near[] = {Limit - 1, Limit, Limit + 1, -Limit, -Limit - 1, Limit / 3, 1 << 28, INT_MAX, INT_MIN};
    return Gen() % 3 == 0 ? Near[Gen() % 9] : static_cast<int>(Gen() % 2001) - 1000;
  }
  switch (Gen() % 6) {
    case 0: return static_cast<int>(Gen() % 600) - 300;
    case 1: return static_cast<int>(Gen() % 7) - 3;
    case 2: return Kind == TWaterKind::RandomDrops ? (Gen() % 2 ? INT_MAX : INT_MIN) : -250;
    default: return static_cast<int>(Gen() % 5000) + 100;
  }
}

// How many interior pixels of the reference's current surface read the
// source pixel (Sx, Sy).
int ReadsOf(TReferenceWater& Reference, int Sx, int Sy) {
  const int W = Reference.W, H = Reference.H;
  int Reads = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 1; x + 1 < W; ++x) {
      const std::int64_t Dx = Reference.C(x - 1, y) - Reference.C(x + 1, y);
      const std::int64_t Dy = Reference.C(x, std::max(y - 1, 0)) - Reference.C(x, std::min(y + 1, H - 1));
      Reads += x + Dx == Sx && y + Dy == Sy;
    }
  return Reads;
}

// One frame of both, then every cell of both surfaces and every byte of the
// destination compared.
::testing::AssertionResult FrameMatchesReference(TWaterEffect& Water, TReferenceWater& Reference, TPicture& Src,
                                                 TPicture& Dst, TPicture& RefDst, int Frame) {
  Water.Render(Src.View(), Dst.View());
  Reference.Step();
  Reference.Draw(Src.Bytes.data(), RefDst.Bytes.data(), Src.Stride);
  const int W = Reference.W, H = Reference.H;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (Water.Cell(x, y) != Reference.C(x, y) || Water.PreviousCell(x, y) != Reference.P(x, y))
        return ::testing::AssertionFailure()
               << "frame " << Frame << " cell " << x << "," << y << ": " << Water.Cell(x, y) << " / "
               << Water.PreviousCell(x, y) << " instead of " << Reference.C(x, y) << " / " << Reference.P(x, y);
  for (int y = 0; y < H; ++y)
    if (!std::equal(Dst.Pixel(0, y), Dst.Pixel(W, y), RefDst.Pixel(0, y)))
      return ::testing::AssertionFailure() << "frame " << Frame << " row " << y << " differs";
  return ::testing::AssertionSuccess();
}

TEST(WaterEffectFastPath, MatchesThePlainVersionCellByCellAndByteByByte) {
  struct TSize {
    int Width, Height, Frames;
  } Sizes[] = {{1, 1, 30},  {1, 7, 30},   {7, 1, 30},   {2, 2, 30},  {2, 9, 30},    {9, 2, 30},    {3, 3, 30},
               {17, 5, 40}, {31, 16, 60}, {33, 33, 60}, {64, 3, 40}, {101, 47, 40}, {375, 237, 12}};
  const struct {
    TWaterKind Kind;
    const char* Name;
  } Kinds[] = {{TWaterKind::RandomDrops, "random drops"},
               {TWaterKind::WholeGrid, "whole grid busy"},
               {TWaterKind::NearTheLimit, "heights about the fast path's limit"}};
  int LastPixelReads = 0;
  for (const auto& Kind : Kinds) {
    std::mt19937 Gen(20240611);
    for (const TSize& Size : Sizes) {
      SCOPED_TRACE(std::string(Kind.Name) + ", " + std::to_string(Size.Width) + " x " + std::to_string(Size.Height));
      const int W = Size.Width, H = Size.Height;
      TWaterEffect Water;
      Water.SetSize(W, H);
      const int Damping = 1 + static_cast<int>(Gen() % 99);
      Water.SetDamping(Damping);
      TReferenceWater Reference(W, H);
      Reference.Damping = Damping;
      // Every other size without row padding: the source then ends with its
      // last pixel.
      const bool Unpadded = Size.Width % 2 == 1;
      TPicture Src(W, H, 0, Unpadded), Dst(W, H, 0, Unpadded), RefDst(W, H, 0, Unpadded);
      Src.Randomise(Gen);
      int BusyRows = 0;
      for (int Frame = 0; Frame < Size.Frames; ++Frame) {
        const int Drops =
            Kind.Kind == TWaterKind::WholeGrid ? H + static_cast<int>(Gen() % 4) : static_cast<int>(Gen() % 4);
        for (int d = 0; d < Drops; ++d) {
          const int y = Kind.Kind == TWaterKind::WholeGrid && d < H ? d : static_cast<int>(Gen() % H);
          const int x = static_cast<int>(Gen() % W);
          const int Radius = static_cast<int>(Gen() % 6) - 1;
          const int Height = DropHeight(Kind.Kind, Gen);
          Water.Blob(x, y, Radius, Height);
          Reference.Blob(x, y, Radius, Height);
        }
        ASSERT_TRUE(FrameMatchesReference(Water, Reference, Src, Dst, RefDst, Frame));
        if (Unpadded && ReadsOf(Reference, W - 1, H - 1) > 0) ++LastPixelReads;
        if (Frame == Size.Frames - 1)
          for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
              if (Reference.C(x, y) != 0) {
                ++BusyRows;
                break;
              }
      }
      if (Kind.Kind == TWaterKind::WholeGrid) {
        EXPECT_EQ(BusyRows, H);
      }
    }
  }
  // The unpadded pictures did test the read at the very end of the source.
  EXPECT_GT(LastPixelReads, 0);
}

// The compiler's vector loops take a run in blocks of 4 to 16 columns and
// finish its ends with scalar code; the draw copies the row around the run.
// Water over exactly the columns First..Last of every row puts the ends of
// the runs at chosen places: lengths about the block sizes, runs that touch
// the edge columns or not, a single column. One engine takes every size in
// turn, larger and smaller, so that its work space follows the grid.
TEST(WaterEffectFastPath, RunsEndingAboutTheBlockEdgesMatchThePlainVersion) {
  const struct {
    int Width, Height, First, Last;
  } Rows[] = {{20, 6, 1, 18}, {34, 5, 1, 32},  {35, 5, 2, 33},  {36, 4, 1, 34},    {50, 4, 0, 49},
              {66, 5, 3, 50}, {97, 4, 10, 42}, {97, 4, 1, 95},  {130, 4, 60, 129}, {40, 7, 17, 17},
              {8, 3, 0, 7},   {49, 6, 1, 47},  {82, 3, 16, 64}, {3, 9, 0, 2},      {375, 3, 5, 369}};
  TWaterEffect Water;
  std::mt19937 Gen(77);
  for (const auto& Row : Rows) {
    SCOPED_TRACE(std::to_string(Row.Width) + " x " + std::to_string(Row.Height) + ", columns " +
                 std::to_string(Row.First) + ".." + std::to_string(Row.Last));
    const int W = Row.Width, H = Row.Height;
    Water.SetSize(W, H);
    TReferenceWater Reference(W, H);
    TPicture Src(W, H, 0, W % 2 == 1), Dst(W, H, 0, W % 2 == 1), RefDst(W, H, 0, W % 2 == 1);
    Src.Randomise(Gen);
    for (int Frame = 0; Frame < 3; ++Frame) {
      // The first frame raises the band; later ones let it spread.
      if (Frame == 0)
        for (int y = 0; y < H; ++y)
          for (int x = Row.First; x <= Row.Last; ++x) {
            const int Height = static_cast<int>(Gen() % 1200) - 400;
            Water.Blob(x, y, 0, Height);
            Reference.Blob(x, y, 0, Height);
          }
      ASSERT_TRUE(FrameMatchesReference(Water, Reference, Src, Dst, RefDst, Frame));
    }
  }
}

// The draw keeps a pixel's shading in 16 bits, so slopes of 2^15 and more
// must still shade fully. One drop of ±200 800 in the middle row of a wide
// grid: after one step (damping 20) the cells beside it hold
// ±(200 800 / 4) · 204 / 256 = ±40 003, so the pixels two columns to its
// right and left have dx = ±40 003, and read from inside the grid. Worked by
// hand: byte − 40 003 is 0, byte + 40 003 is 255.
TEST(WaterEffectFastPath, SlopesBeyondSixteenBitsShadeFully) {
  const struct {
    const char* Name;
    int Drop;
    std::uint8_t Right, Left;  // the pixels two columns right and left of the drop
  } Rows[] = {{"raised: darker to the right, brighter to the left", 200800, 0x00, 0xFF},
              {"lowered: brighter to the right, darker to the left", -200800, 0xFF, 0x00}};
  constexpr int W = 100000, H = 3, Centre = 50000;
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TWaterEffect Water;
    Water.SetSize(W, H);
    TReferenceWater Reference(W, H);
    TPicture Src(W, H, 0x80), Dst(W, H), RefDst(W, H);
    Water.Blob(Centre, 1, 0, Row.Drop);
    Reference.Blob(Centre, 1, 0, Row.Drop);
    ASSERT_TRUE(FrameMatchesReference(Water, Reference, Src, Dst, RefDst, 0));
    ASSERT_EQ(Water.Cell(Centre + 1, 1), Row.Drop > 0 ? 40003 : -40003);
    EXPECT_EQ(std::vector<std::uint8_t>(Dst.Pixel(Centre + 2, 1), Dst.Pixel(Centre + 3, 1)),
              std::vector<std::uint8_t>(3, Row.Right));
    EXPECT_EQ(std::vector<std::uint8_t>(Dst.Pixel(Centre - 2, 1), Dst.Pixel(Centre - 1, 1)),
              std::vector<std::uint8_t>(3, Row.Left));
  }
}

// Heights the rules compute without leaving 32 bits are the rules' values, up
// to 4 times the old saturation at 2^21. On one cell, damping 1 (F = 253),
// each step is ((8·h) div 4 − p) · 253 div 256; worked with Python integers
// from a drop of 1 000 000. In step 12 the product (16 691 682 − 8 095 100) ·
// 253 = 2 174 935 246 no longer fits 32 bits: the engine then takes the exact
// value, which still fits.
TEST(WaterEffectLargeHeights, SingleCellFollowsTheRulesBeyondTwoToThe21) {
  const std::int32_t Expected[] = {1976562, 2918517, 3815232, 4656728, 5433791, 6138070,
                                   6762165, 7299702, 7745396, 8095100, 8345841, 8495840};
  TWaterEffect Water;
  Water.SetSize(1, 1);
  Water.SetDamping(1);
  Water.Blob(0, 0, 0, 1000000);
  TPicture Src(1, 1), Dst(1, 1);
  std::int32_t Previous = 1000000;
  for (std::size_t Step = 0; Step < sizeof Expected / sizeof *Expected; ++Step) {
    SCOPED_TRACE("step " + std::to_string(Step + 1));
    Water.Render(Src.View(), Dst.View());
    EXPECT_EQ(Water.Cell(0, 0), Expected[Step]);
    EXPECT_EQ(Water.PreviousCell(0, 0), Previous);
    Previous = Expected[Step];
  }
}

// Drops of hundreds of thousands piled on one cell of small grids at damping
// 1, a drop every frame: the plain reference in 64 bits is the rules' value
// as long as no 32-bit operation of the rules overflows, which it watches.
TEST(WaterEffectLargeHeights, PiledDropsGiveTheRulesExactValues) {
  struct TRow {
    int Width, Height, x, y, Drop, Frames;
  } Rows[] = {{2, 2, 0, 0, 300000, 16},
              {2, 2, 1, 0, 200000, 30},
              {3, 2, 1, 1, 250000, 30},
              {4, 4, 1, 2, 500000, 30},
              {5, 3, 2, 1, 400000, 30}};
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(std::to_string(Row.Width) + " x " + std::to_string(Row.Height) + ", drop " + std::to_string(Row.Drop));
    TWaterEffect Water;
    Water.SetSize(Row.Width, Row.Height);
    Water.SetDamping(1);
    TReferenceWater Reference(Row.Width, Row.Height);
    Reference.Damping = 1;
    TPicture Src(Row.Width, Row.Height), Dst(Row.Width, Row.Height);
    std::int64_t Highest = 0;
    for (int Frame = 0; Frame < Row.Frames; ++Frame) {
      Water.Blob(Row.x, Row.y, 0, Row.Drop);
      Reference.Blob(Row.x, Row.y, 0, Row.Drop);
      Water.Render(Src.View(), Dst.View());
      Reference.Step();
      ASSERT_FALSE(Reference.Overflowed) << "frame " << Frame << ": the rules overflow here, pick a smaller row";
      for (int y = 0; y < Row.Height; ++y)
        for (int x = 0; x < Row.Width; ++x) {
          ASSERT_EQ(Water.Cell(x, y), Reference.C(x, y)) << "frame " << Frame << " cell " << x << "," << y;
          ASSERT_EQ(Water.PreviousCell(x, y), Reference.P(x, y)) << "frame " << Frame;
          Highest = std::max(Highest, std::abs(Reference.C(x, y)));
        }
    }
    // Far enough above the old saturation that it would have shown.
    EXPECT_GT(Highest, TWaterEffect::FastPathLimit + 50000);
  }
}

// Where the rules' 32-bit arithmetic overflows, the engine takes the exact
// value and stores it saturated. One cell at damping 20 (F = 204):
// (8·h div 4) · 204 div 256, with Python integers.
TEST(WaterEffectLargeHeights, OverflowingStepIsExactThenSaturated) {
  struct TRow {
    const char* Name;
    int Drop;
    std::int32_t After;
  } Rows[] = {
      {"exact 3 422 552 062 is stored as INT_MAX", INT_MAX, INT_MAX},
      {"exact -3 422 552 064 is stored as INT_MIN", INT_MIN, INT_MIN},
      {"the sum 2.4e9 leaves 32 bits, the result 478 125 000 does not", 300000000, 478125000},
  };
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TWaterEffect Water;
    Water.SetSize(1, 1);
    Water.Blob(0, 0, 0, Row.Drop);
    TPicture Src(1, 1), Dst(1, 1);
    Water.Render(Src.View(), Dst.View());
    EXPECT_EQ(Water.Cell(0, 0), Row.After);
  }
}

// A slope of INT_MAX − INT_MIN = 2^32 − 1 wraps to −1 in 32-bit arithmetic,
// which would shift the pixel by one column and brighten it by 1. Exactly it
// points far outside the grid, so the pixel keeps its own source pixel.
// 9 × 5 grid, damping 1: INT_MAX on columns 2..4 and INT_MIN on columns 4..6
// of rows 1..3 (column 4 holds −1). After the step, worked with Python
// integers, cell (3, 2) is INT_MAX and (5, 2) is INT_MIN (saturated), and
// (4, 1) and (4, 3) are 0.
TEST(WaterEffectLargeHeights, HugeSlopeKeepsThePixelInsteadOfWrapping) {
  TWaterEffect Water;
  Water.SetSize(9, 5);
  Water.SetDamping(1);
  for (int y = 1; y <= 3; ++y) {
    for (int x = 2; x <= 4; ++x) Water.Blob(x, y, 0, INT_MAX);
    for (int x = 4; x <= 6; ++x) Water.Blob(x, y, 0, INT_MIN);
  }
  std::mt19937 Gen(11);
  TPicture Src(9, 5), Dst(9, 5);
  Src.Randomise(Gen);
  Water.Render(Src.View(), Dst.View());
  ASSERT_EQ(Water.Cell(3, 2), INT_MAX);
  ASSERT_EQ(Water.Cell(5, 2), INT_MIN);
  ASSERT_EQ(Water.Cell(4, 1), 0);
  ASSERT_EQ(Water.Cell(4, 3), 0);
  EXPECT_EQ(std::vector<std::uint8_t>(Dst.Pixel(4, 2), Dst.Pixel(5, 2)),
            std::vector<std::uint8_t>(Src.Pixel(4, 2), Src.Pixel(5, 2)));
}

}  // namespace
