// SPDX-License-Identifier: GPL-3.0-or-later
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

// Columns From .. To of one row, all inside 1 .. W − 2, where no clamped index
// is needed. U, C and D are the rows above, at and below (the same row at the
// top and bottom edges).
RIPPLE_CLONES
void StepInterior(const std::int32_t* __restrict U, const std::int32_t* __restrict C,
                  const std::int32_t* __restrict D, std::int32_t* __restrict P, int From, int To,
                  std::int32_t F)
{
  for (int x = From; x <= To; ++x) {
    const std::int32_t S =
        U[x - 1] + U[x] + U[x + 1] + C[x - 1] + C[x + 1] + D[x - 1] + D[x] + D[x + 1];
    P[x] = NewHeight(S, P[x], F);
  }
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

// Columns From .. To of row y, all inside 1 .. W − 2.
RIPPLE_CLONES
void DrawInterior(const std::int32_t* __restrict U, const std::int32_t* __restrict C,
                  const std::int32_t* __restrict D, int y, int From, int To, int W, int H,
                  const std::uint8_t* const* SrcRows, std::uint8_t* DstRow)
{
  for (int x = From; x <= To; ++x)
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
  std::vector<TSpan> Span1(AHeight, TSpan{AWidth, -1}), Span2(AHeight, TSpan{AWidth, -1});

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
  FSpan1.swap(Span1);
  FSpan2.swap(Span2);
}

void TWaterEffect::ClearWater()
{
  std::fill(FBuff1.begin(), FBuff1.end(), 0);
  std::fill(FBuff2.begin(), FBuff2.end(), 0);
  std::fill(FSpan1.begin(), FSpan1.end(), TSpan{FWidth, -1});
  std::fill(FSpan2.begin(), FSpan2.end(), TSpan{FWidth, -1});
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
    TSpan& Span = FSpan1[static_cast<std::size_t>(Cy + j)];
    Span.Lo = std::min(Span.Lo, static_cast<int>(Cx - Left));
    Span.Hi = std::max(Span.Hi, static_cast<int>(Cx + Right));
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
    // Outside one column beyond the non-zero cells of the three rows, and
    // outside the non-zero cells of the previous row, the new height is 0 and
    // the previous surface holds 0 already.
    const TSpan& Su = FSpan1[Up];
    const TSpan& Sc = FSpan1[y];
    const TSpan& Sd = FSpan1[Down];
    TSpan& Sp = FSpan2[y];
    const int From = std::max(std::min({Su.Lo - 1, Sc.Lo - 1, Sd.Lo - 1, Sp.Lo}), 0);
    const int To = std::min(std::max({Su.Hi + 1, Sc.Hi + 1, Sd.Hi + 1, Sp.Hi}), W - 1);
    if (From > To) continue;

    const std::int32_t* U = FScanLine1[Up];
    const std::int32_t* C = FScanLine1[y];
    const std::int32_t* D = FScanLine1[Down];
    std::int32_t* P = FScanLine2[y];
    const int InnerFrom = std::max(From, 1);
    const int InnerTo = std::min(To, W - 2);
    if (InnerFrom <= InnerTo) StepInterior(U, C, D, P, InnerFrom, InnerTo, F);
    // The edge columns, through the clamped tables.
    for (int x : {0, W - 1}) {
      if (x < From || x > To) continue;
      const int L = FXLeft[x];
      const int R = FXRight[x];
      const std::int32_t S = U[L] + U[x] + U[R] + C[L] + C[R] + D[L] + D[x] + D[R];
      P[x] = NewHeight(S, P[x], F);
      if (W == 1) break;
    }

    int Lo = From;
    while (Lo <= To && P[Lo] == 0) ++Lo;
    int Hi = To;
    while (Hi >= Lo && P[Hi] == 0) --Hi;
    Sp = Lo <= Hi ? TSpan{Lo, Hi} : TSpan{W, -1};
  }
  FBuff1.swap(FBuff2);
  FScanLine1.swap(FScanLine2);
  FSpan1.swap(FSpan2);
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
    // dx = C[y][x − 1] − C[y][x + 1] needs a non-zero cell of row y within one
    // column, dy = C[Up][x] − C[Down][x] one of the rows Up or Down in column x.
    const TSpan& Su = FSpan1[Up];
    const TSpan& Sc = FSpan1[y];
    const TSpan& Sd = FSpan1[Down];
    const int From = std::max(std::min({Sc.Lo - 1, Su.Lo, Sd.Lo}), 0);
    const int To = std::min(std::max({Sc.Hi + 1, Su.Hi, Sd.Hi}), W - 1);
    if (From > To) continue;

    const std::int32_t* U = FScanLine1[Up];
    const std::int32_t* C = FScanLine1[y];
    const std::int32_t* D = FScanLine1[Down];
    std::uint8_t* DstRow = Dst.ScanLine(y);
    const int InnerFrom = std::max(From, 1);
    const int InnerTo = std::min(To, W - 2);
    if (InnerFrom <= InnerTo)
      DrawInterior(U, C, D, y, InnerFrom, InnerTo, W, H, FScanLineSrc.data(), DstRow);
    for (int x : {0, W - 1}) {
      if (x < From || x > To) continue;
      DrawPixel(x, y, C[FXLeft[x]] - C[FXRight[x]], U[x] - D[x], W, H, FScanLineSrc.data(), DstRow);
      if (W == 1) break;
    }
  }
}

TWaterEffect::TColumns TWaterEffect::DrawnColumns(int y) const
{
  // The same columns the draw visits: a slope needs a non-zero cell of row y
  // within one column, or one of the rows above and below in the column.
  const TSpan& Su = FSpan1[FYUp[y]];
  const TSpan& Sc = FSpan1[y];
  const TSpan& Sd = FSpan1[FYDown[y]];
  return {std::max(std::min({Sc.Lo - 1, Su.Lo, Sd.Lo}), 0), std::min(std::max({Sc.Hi + 1, Su.Hi, Sd.Hi}), FWidth - 1)};
}

bool TWaterEffect::Calm() const
{
  const auto Empty = [](const TSpan& Span) { return Span.Lo > Span.Hi; };
  return std::all_of(FSpan1.begin(), FSpan1.end(), Empty) && std::all_of(FSpan2.begin(), FSpan2.end(), Empty);
}
