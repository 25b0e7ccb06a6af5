#include "WaterEffect.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "Random.h"

// The two inner loops are built once per vector width and the widest one the
// processor has is picked when the program loads (an ifunc).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(RIPPLE_NO_CLONES)
#define RIPPLE_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define RIPPLE_CLONES
#endif

namespace {

constexpr std::int32_t Max = TWaterEffect::MaxHeight;

// Truncating divisions by 4 and 256: an arithmetic shift rounds toward minus
// infinity, so negative values get 3 (or 255) added first (−3 / 4 = 0, while
// −3 >> 2 = −1).
inline std::int32_t Div4(std::int32_t S) { return (S + ((S >> 31) & 3)) >> 2; }
inline std::int32_t Div256(std::int32_t V) { return (V + ((V >> 31) & 255)) >> 8; }
inline std::int32_t Saturate(std::int32_t V) { return std::min(std::max(V, -Max), Max); }

// S is the sum of the eight neighbours, P the same cell one step back, F the
// damping factor with 8 fractional bits.
inline std::int32_t NewHeight(std::int32_t S, std::int32_t P, std::int32_t F)
{
  return Saturate(Div256((Div4(S) - P) * F));
}

// Columns 1 .. W − 2 of one row; those need no clamped indices. U, C and D are
// the rows above, at and below (the same row at the top and bottom edges).
// Returns 0 only if every new height is 0.
RIPPLE_CLONES
std::int32_t StepInterior(const std::int32_t* __restrict U, const std::int32_t* __restrict C,
                          const std::int32_t* __restrict D, std::int32_t* __restrict P, int W,
                          std::int32_t F)
{
  std::int32_t Any = 0;
  for (int x = 1; x < W - 1; ++x) {
    const std::int32_t S =
        U[x - 1] + U[x] + U[x + 1] + C[x - 1] + C[x + 1] + D[x - 1] + D[x] + D[x + 1];
    const std::int32_t N = NewHeight(S, P[x], F);
    P[x] = N;
    Any |= N;
  }
  return Any;
}

inline std::uint8_t Shade(int Byte, int Dx)
{
  const int V = Byte - Dx;
  return static_cast<std::uint8_t>(V < 0 ? 0 : (V > 255 ? 255 : V));
}

// Pixel x of row y, the slopes given. Over flat water, and where the slope
// points outside the grid, the block copy already holds the right pixel.
inline void DrawPixel(int x, int y, int Dx, int Dy, int W, int H,
                      const std::uint8_t* const* SrcRows, std::uint8_t* DstRow)
{
  if ((Dx | Dy) == 0) return;
  const int Sx = x + Dx;
  const int Sy = y + Dy;
  if (static_cast<unsigned>(Sx) >= static_cast<unsigned>(W) ||
      static_cast<unsigned>(Sy) >= static_cast<unsigned>(H))
    return;
  const std::uint8_t* S = SrcRows[Sy] + 3 * static_cast<std::ptrdiff_t>(Sx);
  std::uint8_t* D = DstRow + 3 * static_cast<std::ptrdiff_t>(x);
  D[0] = Shade(S[0], Dx);
  D[1] = Shade(S[1], Dx);
  D[2] = Shade(S[2], Dx);
}

// Columns 1 .. W − 2 of row y. Eight columns at a time are first tested for
// flat water, which is most of a frame even on busy water.
RIPPLE_CLONES
void DrawInterior(const std::int32_t* __restrict U, const std::int32_t* __restrict C,
                  const std::int32_t* __restrict D, int y, int W, int H,
                  const std::uint8_t* const* SrcRows, std::uint8_t* DstRow)
{
  int x = 1;
  for (; x + 8 <= W - 1; x += 8) {
    std::int32_t Slope = 0;
    for (int k = 0; k < 8; ++k)
      Slope |= (C[x + k - 1] - C[x + k + 1]) | (U[x + k] - D[x + k]);
    if (Slope == 0) continue;
    for (int k = 0; k < 8; ++k)
      DrawPixel(x + k, y, C[x + k - 1] - C[x + k + 1], U[x + k] - D[x + k], W, H, SrcRows, DstRow);
  }
  for (; x < W - 1; ++x)
    DrawPixel(x, y, C[x - 1] - C[x + 1], U[x] - D[x], W, H, SrcRows, DstRow);
}

}  // namespace

TWaterEffect::TWaterEffect() = default;

void TWaterEffect::SetSize(int AWidth, int AHeight)
{
  if (AWidth <= 0 || AHeight <= 0) {
    AWidth = 0;
    AHeight = 0;
  }
  // Everything is built aside first, so that running out of memory leaves the
  // old grid whole. Fresh blocks are zero: the water is calm after every call.
  const std::size_t Cells = static_cast<std::size_t>(AWidth) * static_cast<std::size_t>(AHeight);
  std::vector<std::int32_t> Buff1(Cells), Buff2(Cells);
  std::vector<std::int32_t*> ScanLine1(AHeight), ScanLine2(AHeight);
  std::vector<const std::uint8_t*> ScanLineSrc(AHeight);
  std::vector<std::int32_t> XLeft(AWidth), XRight(AWidth), YUp(AHeight), YDown(AHeight);
  std::vector<std::uint8_t> RowBusy1(AHeight), RowBusy2(AHeight);

  for (int y = 0; y < AHeight; ++y) {
    ScanLine1[y] = Buff1.data() + static_cast<std::size_t>(y) * AWidth;
    ScanLine2[y] = Buff2.data() + static_cast<std::size_t>(y) * AWidth;
    YUp[y] = std::max(y - 1, 0);
    YDown[y] = std::min(y + 1, AHeight - 1);
  }
  for (int x = 0; x < AWidth; ++x) {
    XLeft[x] = std::max(x - 1, 0);
    XRight[x] = std::min(x + 1, AWidth - 1);
  }

  FWidth = AWidth;
  FHeight = AHeight;
  FBuff1.swap(Buff1);
  FBuff2.swap(Buff2);
  FScanLine1.swap(ScanLine1);
  FScanLine2.swap(ScanLine2);
  FScanLineSrc.swap(ScanLineSrc);
  FXLeft.swap(XLeft);
  FXRight.swap(XRight);
  FYUp.swap(YUp);
  FYDown.swap(YDown);
  FRowBusy1.swap(RowBusy1);
  FRowBusy2.swap(RowBusy2);
}

void TWaterEffect::ClearWater()
{
  std::fill(FBuff1.begin(), FBuff1.end(), 0);
  std::fill(FBuff2.begin(), FBuff2.end(), 0);
  std::fill(FRowBusy1.begin(), FRowBusy1.end(), 0);
  std::fill(FRowBusy2.begin(), FRowBusy2.end(), 0);
}

void TWaterEffect::Blob(int x, int y, int ARadius, int AHeight)
{
  // 64-bit throughout: 2·ARadius and ARadius² overflow 32 bits for large radii.
  const std::int64_t W = FWidth;
  const std::int64_t H = FHeight;
  const std::int64_t R = ARadius;
  std::int64_t Cx = x;
  std::int64_t Cy = y;
  // An out-of-grid coordinate asks for a random one that keeps the disc off
  // the edges. % truncates like the original mod, so with a positive draw the
  // remainder is never negative, also for a negative divisor. A divisor of 0
  // (a grid exactly 2·ARadius + 1 wide or high) has no such position: the drop
  // is skipped.
  if (Cx < 0 || Cx > W - 1) {
    const std::int64_t Divisor = W - 2 * R - 1;
    const std::int64_t Draw = RandomInt(32767);
    if (Divisor == 0) return;
    Cx = R + 1 + Draw % Divisor;
  }
  if (Cy < 0 || Cy > H - 1) {
    const std::int64_t Divisor = H - 2 * R - 1;
    const std::int64_t Draw = RandomInt(32767);
    if (Divisor == 0) return;
    Cy = R + 1 + Draw % Divisor;
  }

  const std::int64_t Left = std::min(R, Cx);
  const std::int64_t Right = std::min(R, W - 1 - Cx);
  const std::int64_t Up = std::min(R, Cy);
  const std::int64_t Down = std::min(R, H - 1 - Cy);
  for (std::int64_t j = -Up; j <= Down; ++j) {
    std::int32_t* Row = FScanLine1[static_cast<std::size_t>(Cy + j)];
    for (std::int64_t i = -Left; i <= Right; ++i) {
      if (i * i + j * j > R * R) continue;
      std::int32_t& Cell = Row[Cx + i];
      Cell = static_cast<std::int32_t>(std::clamp<std::int64_t>(
          static_cast<std::int64_t>(Cell) + AHeight, -Max, Max));
    }
    FRowBusy1[static_cast<std::size_t>(Cy + j)] = 1;
  }
}

void TWaterEffect::SetDamping(int Value)
{
  if (Value >= 1 && Value <= 99) FDamping = static_cast<TWaterDamping>(Value);
}

void TWaterEffect::Render(const TConstBitmap24& Src, const TBitmap24& Dst)
{
  if (FWidth <= 0 || FHeight <= 0) return;
  Step();
  Draw(Src, Dst);
}

void TWaterEffect::Step()
{
  const std::int32_t F = (100 - FDamping) * 256 / 100;  // 20 → 204, 1 → 253, 99 → 2
  const int W = FWidth;
  for (int y = 0; y < FHeight; ++y) {
    const int Up = FYUp[y];
    const int Down = FYDown[y];
    // Calm rows around a calm previous row give a calm row, which is there already.
    if (!FRowBusy1[Up] && !FRowBusy1[y] && !FRowBusy1[Down] && !FRowBusy2[y]) continue;
    const std::int32_t* U = FScanLine1[Up];
    const std::int32_t* C = FScanLine1[y];
    const std::int32_t* D = FScanLine1[Down];
    std::int32_t* P = FScanLine2[y];
    std::int32_t Any = StepInterior(U, C, D, P, W, F);
    // The edge columns, through the clamped tables.
    for (int x = 0; x < W; x += std::max(W - 1, 1)) {
      const int L = FXLeft[x];
      const int R = FXRight[x];
      const std::int32_t S = U[L] + U[x] + U[R] + C[L] + C[R] + D[L] + D[x] + D[R];
      P[x] = NewHeight(S, P[x], F);
      Any |= P[x];
    }
    FRowBusy2[y] = Any != 0;
  }
  FBuff1.swap(FBuff2);
  FScanLine1.swap(FScanLine2);
  FRowBusy1.swap(FRowBusy2);
}

void TWaterEffect::Draw(const TConstBitmap24& Src, const TBitmap24& Dst)
{
  if (Src.Bits == nullptr || Dst.Bits == nullptr || Src.Width < FWidth || Src.Height < FHeight ||
      Dst.Width < FWidth || Dst.Height < FHeight)
    return;

  // The whole source, clipped to the destination, in one block copy when the
  // two share their row layout (padding bytes included).
  const int CopyHeight = std::min(Src.Height, Dst.Height);
  const std::size_t RowBytes = 3 * static_cast<std::size_t>(std::min(Src.Width, Dst.Width));
  if (Src.BytesPerLine == Dst.BytesPerLine && Src.Width == Dst.Width) {
    std::memcpy(Dst.Bits, Src.Bits,
                static_cast<std::size_t>(CopyHeight - 1) * static_cast<std::size_t>(Dst.BytesPerLine) +
                    RowBytes);
  } else {
    for (int y = 0; y < CopyHeight; ++y) std::memcpy(Dst.ScanLine(y), Src.ScanLine(y), RowBytes);
  }

  for (int y = 0; y < FHeight; ++y) FScanLineSrc[y] = Src.ScanLine(y);

  const int W = FWidth;
  const int H = FHeight;
  for (int y = 0; y < H; ++y) {
    const int Up = FYUp[y];
    const int Down = FYDown[y];
    // dx needs row y, dy rows Up and Down: with all three calm the row is the copy.
    if (!FRowBusy1[Up] && !FRowBusy1[y] && !FRowBusy1[Down]) continue;
    const std::int32_t* U = FScanLine1[Up];
    const std::int32_t* C = FScanLine1[y];
    const std::int32_t* D = FScanLine1[Down];
    std::uint8_t* DstRow = Dst.ScanLine(y);
    DrawInterior(U, C, D, y, W, H, FScanLineSrc.data(), DstRow);
    for (int x = 0; x < W; x += std::max(W - 1, 1))
      DrawPixel(x, y, C[FXLeft[x]] - C[FXRight[x]], U[x] - D[x], W, H, FScanLineSrc.data(), DstRow);
  }
}
