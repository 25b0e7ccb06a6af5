// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine tells a caller about a frame so that it repaints only what
// changed: the columns of each row the draw may have touched, and whether the
// water is calm. A claim that is too small leaves stale pixels on screen.
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "ripple/WaterEffect.h"

namespace {

struct TFrame {
  int Width;
  int Height;
  std::vector<std::uint8_t> Src;
  std::vector<std::uint8_t> Dst;
  TFrame(int W, int H) : Width(W), Height(H), Src(3u * W * H), Dst(3u * W * H) {
    std::mt19937 Gen(5);
    for (auto& B : Src) B = static_cast<std::uint8_t>(64 + Gen() % 128);  // room for shading both ways
  }
  void Render(TWaterEffect& Water) {
    Water.Render(TConstBitmap24(Width, Height, Src.data(), 3 * Width), TBitmap24{Width, Height, Dst.data(), 3 * Width});
  }
  bool Changed(int x, int y) const {
    const std::size_t At = 3u * (static_cast<std::size_t>(y) * Width + x);
    return Src[At] != Dst[At] || Src[At + 1] != Dst[At + 1] || Src[At + 2] != Dst[At + 2];
  }
};

}  // namespace

TEST(WaterEffectDrawn, EveryPixelThatDiffersFromTheSourceLiesInTheDrawnColumns) {
  const struct {
    const char* Name;
    int Width, Height;
  } Sizes[] = {{"banner", 375, 237}, {"one column", 1, 9}, {"two rows", 11, 2}, {"small odd", 13, 7}};
  for (const auto& Size : Sizes) {
    SCOPED_TRACE(Size.Name);
    TWaterEffect Water;
    Water.SetSize(Size.Width, Size.Height);
    TFrame Frame(Size.Width, Size.Height);
    std::mt19937 Gen(11);
    int Differing = 0;
    for (int Step = 0; Step < 120; ++Step) {
      if (Step % 5 == 0)
        Water.Blob(static_cast<int>(Gen() % Size.Width), static_cast<int>(Gen() % Size.Height),
                   static_cast<int>(Gen() % 3), 50 + static_cast<int>(Gen() % 600));
      Frame.Render(Water);
      for (int y = 0; y < Size.Height; ++y) {
        const TWaterEffect::TColumns Drawn = Water.DrawnColumns(y);
        for (int x = 0; x < Size.Width; ++x) {
          if (!Frame.Changed(x, y)) continue;
          ++Differing;
          ASSERT_TRUE(x >= Drawn.First && x <= Drawn.Last) << "step " << Step << " pixel " << x << "," << y;
        }
      }
    }
    // The frames did have ripples to account for.
    EXPECT_GT(Differing, 0);
  }
}

TEST(WaterEffectDrawn, CalmWaterClaimsNothingAndSaysSo) {
  TWaterEffect Water;
  Water.SetSize(40, 30);
  EXPECT_TRUE(Water.Calm());
  TFrame Frame(40, 30);
  Frame.Render(Water);
  for (int y = 0; y < 30; ++y) EXPECT_GT(Water.DrawnColumns(y).First, Water.DrawnColumns(y).Last) << y;

  Water.Blob(20, 15, 0, 250);
  EXPECT_FALSE(Water.Calm());
  Frame.Render(Water);
  // The drop's neighbours are raised now: rows 13 to 17 may show it, a few columns wide.
  for (int y = 0; y < 30; ++y) {
    const TWaterEffect::TColumns Drawn = Water.DrawnColumns(y);
    if (y < 13 || y > 17) {
      EXPECT_GT(Drawn.First, Drawn.Last) << y;
    } else {
      EXPECT_LE(Drawn.First, 19) << y;
      EXPECT_GE(Drawn.Last, 21) << y;
      EXPECT_LE(Drawn.Last - Drawn.First, 6) << y;
    }
  }
  // The ripple dies out and the water says it is calm again.
  for (int Step = 0; Step < 500 && !Water.Calm(); ++Step) Frame.Render(Water);
  EXPECT_TRUE(Water.Calm());
  Water.ClearWater();
  EXPECT_TRUE(Water.Calm());
}
