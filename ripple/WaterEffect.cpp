// SPDX-License-Identifier: GPL-3.0-or-later
#include "ripple/WaterEffect.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "ripple/Random.h"

// Portable C++ throughout: the inner loops are plain loops over arrays,
// written so that the compiler can vectorise them for whatever processor it
// builds for.

namespace {

constexpr std::int32_t Limit = TWaterEffect::FastPathLimit;

// ---- The step ----

// Truncating divisions by 4 and 256: an arithmetic shift rounds toward minus
// infinity, so negative values get 3 (or 255) added first (−3 / 4 = 0, while
// −3 >> 2 = −1).
inline std::int32_t Div4(std::int32_t S) { return (S + ((S >> 31) & 3)) >> 2; }
inline std::int32_t Div256(std::int32_t V) { return (V + ((V >> 31) & 255)) >> 8; }

// S is the sum of the eight neighbours, P the same cell one step back, F the
// damping factor with 8 fractional bits. 32-bit: only for cells within ±Limit.
inline std::int32_t NewHeight(std::int32_t S, std::int32_t P, std::int32_t F) { return Div256((Div4(S) - P) * F); }

// The same, exact for any heights; C++ division truncates toward zero.
inline std::int32_t WideHeight(std::int64_t S, std::int64_t P, std::int64_t F) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>((S / 4 - P) * F / 256, INT32_MIN, INT32_MAX));
}

inline std::uint32_t Magnitude(std::int64_t V) { return static_cast<std::uint32_t>(V < 0 ? -V : V); }

// Columns From .. To of one row, all inside 1 .. W − 2, where no clamped index
// is needed. U, C and D are the rows above, at and below (the same row at the
// top and bottom edges); every cell of them and of P within ±Limit. Returns
// an upper bound on the magnitudes written, below twice the largest plus 1:
// one more than the OR of them (V ^ (V >> 31) is |V| − 1 for negative V),
// which the vector loop gets more cheaply than their maximum.
std::uint32_t StepInterior(const std::int32_t* __restrict U, const std::int32_t* __restrict C,
                           const std::int32_t* __restrict D, std::int32_t* __restrict P, int From, int To,
                           std::int32_t F) {
  std::uint32_t Bits = 0;
  for (int x = From; x <= To; ++x) {
    const std::int32_t S = U[x - 1] + U[x] + U[x + 1] + C[x - 1] + C[x + 1] + D[x - 1] + D[x] + D[x + 1];
    const std::int32_t V = NewHeight(S, P[x], F);
    P[x] = V;
    Bits |= static_cast<std::uint32_t>(V ^ (V >> 31));
  }
  return Bits + 1;
}

// ---- The draw ----

// Heights within ±Limit take int (their slopes, x + dx and byte − dx fit
// easily), other rows std::int64_t, where every one of those is exact.
template <typename T>
inline std::uint8_t Shade(int Byte, T Dx) {
  const T V = Byte - Dx;
  return static_cast<std::uint8_t>(V < 0 ? 0 : (V > 255 ? 255 : V));
}

// Pixel x of row y, the slopes given. Over flat water, and where the slope
// points outside the grid, the row copy already holds the right pixel.
template <typename T>
inline void DrawPixel(T x, T y, T Dx, T Dy, T W, T H, const std::uint8_t* const* SrcRows, std::uint8_t* DstRow) {
  if ((Dx | Dy) == 0) return;
  const T Sx = x + Dx;
  const T Sy = y + Dy;
  if (Sx < 0 || Sx >= W || Sy < 0 || Sy >= H) return;
  const std::uint8_t* S = SrcRows[Sy] + 3 * static_cast<std::ptrdiff_t>(Sx);
  std::uint8_t* D = DstRow + 3 * static_cast<std::ptrdiff_t>(x);
  D[0] = Shade(S[0], Dx);
  D[1] = Shade(S[1], Dx);
  D[2] = Shade(S[2], Dx);
}

// The draw of columns From .. From + n − 1 of row y, all inside 1 .. W − 2,
// every cell of the new rows U, C, D within ±Limit, writes every pixel, so
// that its loops need no branch per pixel: where DrawPixel would leave the
// row copy's pixel (flat water, a slope pointing outside the grid), the pixel
// is its own source pixel, unshaded. It takes three passes over a work space
// for one row: where each pixel reads from and how much it is shaded, the
// source reads, the shading. The first and the last are vectorised.

// Where pixel i reads from (row Row[i], column Column[i]) and its dx.
void PlanPixels(const std::int32_t* __restrict U, const std::int32_t* __restrict C, const std::int32_t* __restrict D,
                int y, int From, int n, int W, int H, std::int32_t* __restrict Row, std::int32_t* __restrict Column,
                std::int16_t* __restrict Dx) {
  for (int i = 0; i < n; ++i) {
    const int x = From + i;
    const int Sx = x + (C[x - 1] - C[x + 1]);
    const int Sy = y + (U[x] - D[x]);
    // One unsigned comparison per bound, and & rather than &&: no branches.
    const int Keep = -static_cast<int>((static_cast<unsigned>(Sx) < static_cast<unsigned>(W)) &
                                       (static_cast<unsigned>(Sy) < static_cast<unsigned>(H)));
    const int Shift = (Sx - x) & Keep;
    Row[i] = y + ((Sy - y) & Keep);
    Column[i] = x + Shift;
    // Once |dx| >= 255, byte − dx is at or beyond 0 or 255 for every byte.
    Dx[i] = static_cast<std::int16_t>(std::min(std::max(Shift, -255), 255));
  }
}

// The source bytes of each pixel into Pixels, and its dx beside each of
// them into Shade. The 3 bytes are read and stored as a word of 4, the fourth
// overwritten by the next pixel (a run has at most W − 2 pixels, the work
// space room for W); those of the last column as 3, as the source may end
// right after them.
void ReadPixels(const std::uint8_t* const* SrcRows, const std::int32_t* __restrict Row,
                const std::int32_t* __restrict Column, const std::int16_t* __restrict Dx, int n, int W,
                std::uint8_t* __restrict Pixels, std::int16_t* __restrict Shade) {
  for (int i = 0; i < n; ++i) {
    const std::ptrdiff_t b = 3 * static_cast<std::ptrdiff_t>(i);
    const std::uint8_t* S = SrcRows[Row[i]] + 3 * static_cast<std::ptrdiff_t>(Column[i]);
    if (Column[i] < W - 1)
      std::memcpy(Pixels + b, S, 4);
    else
      std::memcpy(Pixels + b, S, 3);
    Shade[b] = Shade[b + 1] = Shade[b + 2] = Dx[i];
  }
}

void ShadePixels(const std::uint8_t* __restrict Pixels, const std::int16_t* __restrict Shade, std::ptrdiff_t Bytes,
                 std::uint8_t* __restrict Out) {
  for (std::ptrdiff_t b = 0; b < Bytes; ++b) {
    const auto V = static_cast<std::int16_t>(Pixels[b] - Shade[b]);
    Out[b] = static_cast<std::uint8_t>(std::min<std::int16_t>(std::max<std::int16_t>(V, 0), 255));
  }
}

}  // namespace

TWaterEffect::TWaterEffect() = default;

void TWaterEffect::SetSize(int AWidth, int AHeight) {
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
  std::vector<TSpan> Span1(AHeight, CalmRow(AWidth)), Span2(AHeight, CalmRow(AWidth));
  const std::size_t RowBytes = 3 * static_cast<std::size_t>(AWidth);
  std::vector<std::int32_t> DrawRow(AWidth), DrawColumn(AWidth);
  std::vector<std::int16_t> DrawDx(AWidth), DrawShade(RowBytes);
  std::vector<std::uint8_t> DrawPixels(RowBytes);

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
  FDrawRow.swap(DrawRow);
  FDrawColumn.swap(DrawColumn);
  FDrawDx.swap(DrawDx);
  FDrawShade.swap(DrawShade);
  FDrawPixels.swap(DrawPixels);
}

void TWaterEffect::ClearWater() {
  std::fill(FBuff1.begin(), FBuff1.end(), 0);
  std::fill(FBuff2.begin(), FBuff2.end(), 0);
  std::fill(FSpan1.begin(), FSpan1.end(), CalmRow(FWidth));
  std::fill(FSpan2.begin(), FSpan2.end(), CalmRow(FWidth));
}

void TWaterEffect::Blob(int x, int y, int ARadius, int AHeight) {
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
    TSpan& Span = FSpan1[static_cast<std::size_t>(Cy + j)];
    for (std::int64_t i = -Left; i <= Right; ++i) {
      if (i * i + j * j > R * R) continue;
      std::int32_t& Cell = Row[Cx + i];
      Cell = static_cast<std::int32_t>(
          std::clamp<std::int64_t>(static_cast<std::int64_t>(Cell) + AHeight, INT32_MIN, INT32_MAX));
      Span.Peak = std::max(Span.Peak, Magnitude(Cell));
    }
    Span.Lo = std::min(Span.Lo, static_cast<int>(Cx - Left));
    Span.Hi = std::max(Span.Hi, static_cast<int>(Cx + Right));
  }
}

void TWaterEffect::SetDamping(int Value) {
  if (Value >= 1 && Value <= 99) FDamping = static_cast<TWaterDamping>(Value);
}

void TWaterEffect::Render(const TConstBitmap24& Src, const TBitmap24& Dst) {
  if (FWidth <= 0 || FHeight <= 0) return;
  const std::int32_t F = (100 - FDamping) * 256 / 100;  // 20 → 204, 1 → 253, 99 → 2
  const int H = FHeight;
  if (Src.Bits == nullptr || Dst.Bits == nullptr || Src.Width < FWidth || Src.Height < H || Dst.Width < FWidth ||
      Dst.Height < H) {
    for (int y = 0; y < H; ++y) StepRow(y, F);
  } else {
    // The step and the draw go down the grid together, the draw one row
    // behind (it needs the new rows above and below), and each row of the
    // source is copied just before it is drawn: every row is still in the
    // cache when it is read again. The surface just written is FScanLine2
    // until the exchange below.
    const TDrawFrame Frame = StartDraw(Src, Dst);
    for (int y = 0; y < H; ++y) {
      StepRow(y, F);
      if (y > 0) DrawRow(y - 1, Frame);
    }
    DrawRow(H - 1, Frame);
    FinishDraw(Frame);
  }
  FBuff1.swap(FBuff2);
  FScanLine1.swap(FScanLine2);
  FSpan1.swap(FSpan2);
}

void TWaterEffect::StepRow(int y, std::int32_t F) {
  const int W = FWidth;
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
  if (From > To) return;

  const std::int32_t* U = FScanLine1[Up];
  const std::int32_t* C = FScanLine1[y];
  const std::int32_t* D = FScanLine1[Down];
  std::int32_t* P = FScanLine2[y];
  std::uint32_t Peak = 0;
  if (std::max({Su.Peak, Sc.Peak, Sd.Peak, Sp.Peak}) <= static_cast<std::uint32_t>(Limit)) {
    const int InnerFrom = std::max(From, 1);
    const int InnerTo = std::min(To, W - 2);
    if (InnerFrom <= InnerTo) Peak = StepInterior(U, C, D, P, InnerFrom, InnerTo, F);
    // The edge columns, through the clamped tables.
    for (int x : {0, W - 1}) {
      if (x < From || x > To) continue;
      const int L = FXLeft[x];
      const int R = FXRight[x];
      const std::int32_t S = U[L] + U[x] + U[R] + C[L] + C[R] + D[L] + D[x] + D[R];
      P[x] = NewHeight(S, P[x], F);
      Peak = std::max(Peak, Magnitude(P[x]));
      if (W == 1) break;
    }
  } else {
    // Near the 32-bit limits: the whole span exactly, in 64 bits.
    for (int x = From; x <= To; ++x) {
      const int L = FXLeft[x];
      const int R = FXRight[x];
      const std::int64_t S = std::int64_t{U[L]} + U[x] + U[R] + C[L] + C[R] + D[L] + D[x] + D[R];
      P[x] = WideHeight(S, P[x], F);
      Peak = std::max(Peak, Magnitude(P[x]));
    }
  }

  int Lo = From;
  while (Lo <= To && P[Lo] == 0) ++Lo;
  int Hi = To;
  while (Hi >= Lo && P[Hi] == 0) --Hi;
  Sp = Lo <= Hi ? TSpan{Lo, Hi, Peak} : CalmRow(W);
}

TWaterEffect::TDrawFrame TWaterEffect::StartDraw(const TConstBitmap24& Src, const TBitmap24& Dst) {
  for (int y = 0; y < FHeight; ++y) FScanLineSrc[y] = Src.ScanLine(y);
  TDrawFrame Frame;
  Frame.Src = Src;
  Frame.Dst = Dst;
  Frame.CopyHeight = std::min(Src.Height, Dst.Height);
  Frame.RowBytes = 3 * static_cast<std::size_t>(std::min(Src.Width, Dst.Width));
  // Where the two share their row layout the padding bytes go along, as in
  // one block copy of the whole picture.
  Frame.SameLayout = Src.BytesPerLine == Dst.BytesPerLine && Src.Width == Dst.Width;
  return Frame;
}

// Row y of the source into the destination, except columns Skip .. SkipTo,
// which the caller draws whole.
void TWaterEffect::CopyRow(int y, const TDrawFrame& Frame, int Skip, int SkipTo) const {
  const std::size_t Length =
      Frame.SameLayout && y != Frame.CopyHeight - 1 ? static_cast<std::size_t>(Frame.Dst.BytesPerLine) : Frame.RowBytes;
  std::uint8_t* To = Frame.Dst.ScanLine(y);
  const std::uint8_t* From = Frame.Src.ScanLine(y);
  if (Skip > SkipTo) {
    std::memcpy(To, From, Length);
    return;
  }
  const std::size_t Gap = 3 * static_cast<std::size_t>(Skip);
  const std::size_t GapEnd = 3 * (static_cast<std::size_t>(SkipTo) + 1);
  std::memcpy(To, From, Gap);
  std::memcpy(To + GapEnd, From + GapEnd, Length - GapEnd);
}

void TWaterEffect::FinishDraw(const TDrawFrame& Frame) const {
  // The rows of a source taller than the grid.
  for (int y = FHeight; y < Frame.CopyHeight; ++y) CopyRow(y, Frame);
}

// Row y of the surface the step has just written (FScanLine2, FSpan2).
void TWaterEffect::DrawRow(int y, const TDrawFrame& Frame) {
  const int W = FWidth;
  const int H = FHeight;
  const int Up = FYUp[y];
  const int Down = FYDown[y];
  // dx = C[y][x − 1] − C[y][x + 1] needs a non-zero cell of row y within one
  // column, dy = C[Up][x] − C[Down][x] one of the rows Up or Down in column x.
  const TSpan& Su = FSpan2[Up];
  const TSpan& Sc = FSpan2[y];
  const TSpan& Sd = FSpan2[Down];
  const int From = std::max(std::min({Sc.Lo - 1, Su.Lo, Sd.Lo}), 0);
  const int To = std::min(std::max({Sc.Hi + 1, Su.Hi, Sd.Hi}), W - 1);
  if (From > To) {
    CopyRow(y, Frame);
    return;
  }

  const std::int32_t* U = FScanLine2[Up];
  const std::int32_t* C = FScanLine2[y];
  const std::int32_t* D = FScanLine2[Down];
  std::uint8_t* DstRow = Frame.Dst.ScanLine(y);
  if (std::max({Su.Peak, Sc.Peak, Sd.Peak}) > static_cast<std::uint32_t>(Limit)) {
    // Near the 32-bit limits: every pixel exactly, in 64 bits.
    CopyRow(y, Frame);
    for (int x = From; x <= To; ++x)
      DrawPixel<std::int64_t>(x, y, std::int64_t{C[FXLeft[x]]} - C[FXRight[x]], std::int64_t{U[x]} - D[x], W, H,
                              FScanLineSrc.data(), DstRow);
    return;
  }
  // The edge columns through the clamped tables, after the row copy; the
  // others directly, and written whole.
  const int InnerFrom = std::max(From, 1);
  const int InnerTo = std::min(To, W - 2);
  if (InnerFrom <= InnerTo) {
    CopyRow(y, Frame, InnerFrom, InnerTo);
    DrawInterior(U, C, D, y, InnerFrom, InnerTo, DstRow);
  } else {
    CopyRow(y, Frame);
  }
  for (int x : {0, W - 1}) {
    if (x < From || x > To) continue;
    DrawPixel<int>(x, y, C[FXLeft[x]] - C[FXRight[x]], U[x] - D[x], W, H, FScanLineSrc.data(), DstRow);
    if (W == 1) break;
  }
}

void TWaterEffect::DrawInterior(const std::int32_t* U, const std::int32_t* C, const std::int32_t* D, int y, int From,
                                int To, std::uint8_t* DstRow) {
  const int n = To - From + 1;
  PlanPixels(U, C, D, y, From, n, FWidth, FHeight, FDrawRow.data(), FDrawColumn.data(), FDrawDx.data());
  ReadPixels(FScanLineSrc.data(), FDrawRow.data(), FDrawColumn.data(), FDrawDx.data(), n, FWidth, FDrawPixels.data(),
             FDrawShade.data());
  ShadePixels(FDrawPixels.data(), FDrawShade.data(), 3 * static_cast<std::ptrdiff_t>(n),
              DstRow + 3 * static_cast<std::ptrdiff_t>(From));
}

TWaterEffect::TColumns TWaterEffect::DrawnColumns(int y) const {
  // The same columns the draw visits: a slope needs a non-zero cell of row y
  // within one column, or one of the rows above and below in the column.
  const TSpan& Su = FSpan1[FYUp[y]];
  const TSpan& Sc = FSpan1[y];
  const TSpan& Sd = FSpan1[FYDown[y]];
  return {std::max(std::min({Sc.Lo - 1, Su.Lo, Sd.Lo}), 0), std::min(std::max({Sc.Hi + 1, Su.Hi, Sd.Hi}), FWidth - 1)};
}

bool TWaterEffect::Calm() const {
  const auto Empty = [](const TSpan& Span) { return Span.Lo > Span.Hi; };
  return std::all_of(FSpan1.begin(), FSpan1.end(), Empty) && std::all_of(FSpan2.begin(), FSpan2.end(), Empty);
}
