// SPDX-License-Identifier: GPL-3.0-or-later
// The ripple engine: a grid of integer water heights, one cell per pixel, on
// which drops are raised, which advances one damped wave step per frame and
// refracts a source bitmap into a destination bitmap. Plain C++17, no toolkit:
// the control hands its bitmaps in as TBitmap24 views.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A 24-bit bitmap seen through its rows: three bytes per pixel, rows
// BytesPerLine apart (rows may be padded, as QImage pads them to 4 bytes).
struct TBitmap24 {
  int Width = 0;
  int Height = 0;
  std::uint8_t* Bits = nullptr;
  std::ptrdiff_t BytesPerLine = 0;

  std::uint8_t* ScanLine(int y) const { return Bits + y * BytesPerLine; }
};

struct TConstBitmap24 {
  int Width = 0;
  int Height = 0;
  const std::uint8_t* Bits = nullptr;
  std::ptrdiff_t BytesPerLine = 0;

  TConstBitmap24() = default;
  TConstBitmap24(int AWidth, int AHeight, const std::uint8_t* ABits, std::ptrdiff_t ABytesPerLine)
      : Width(AWidth), Height(AHeight), Bits(ABits), BytesPerLine(ABytesPerLine) {}
  TConstBitmap24(const TBitmap24& B)  // NOLINT: a writable bitmap is also readable
      : Width(B.Width), Height(B.Height), Bits(B.Bits), BytesPerLine(B.BytesPerLine) {}

  const std::uint8_t* ScanLine(int y) const { return Bits + y * BytesPerLine; }
};

using TWaterDamping = std::uint8_t;  // percentage of amplitude lost per step, 1..99

class TWaterEffect {
 public:
  // Arithmetic. Every value of Blob, the step and the draw is the rules' own
  // 32-bit result whenever none of their 32-bit operations overflows. Where one
  // would (huge drops piled up, huge radii), the engine computes the same
  // formulas exactly, in 64 bits, and only a height that does not fit is stored
  // saturated at INT32_MIN or INT32_MAX:
  //  - Blob: cell + AHeight saturated; the disc test, the reaches and the random
  //    placement (2·ARadius, ARadius², the divisor) exact;
  //  - step: the neighbour sum, S div 4 − P and its product with the damping
  //    factor exact, the new height saturated;
  //  - draw: dx, dy, x + dx, y + dy and byte − dx exact (so a huge slope points
  //    outside the grid and keeps the pixel, it does not wrap round into it).
  //
  // Rows whose cells (those of the rows above and below and, in the step, the
  // row's previous heights too) lie within ±FastPathLimit take 32-bit loops
  // the compiler can vectorise; other rows a 64-bit path with the same
  // results. Within the limit nothing of the step can leave 32 bits:
  // (2 + 1) × 2^21 × 253 + 255 < 2^31.
  static constexpr std::int32_t FastPathLimit = 1 << 21;

  TWaterEffect();

  // Resizes the grid (a non-positive dimension makes it 0 × 0) and always
  // makes the water calm. Throws std::bad_alloc and then keeps the old grid.
  void SetSize(int AWidth, int AHeight);
  void ClearWater();
  // Adds AHeight to the disc of radius ARadius around (x, y). A coordinate
  // outside the grid asks for a random one, drawn from RandomInt.
  void Blob(int x, int y, int ARadius, int AHeight);
  // One step of the water, then Src refracted through it into Dst. Src and Dst
  // must each cover the grid; a bitmap that does not leaves Dst untouched
  // (the water still advances).
  void Render(const TConstBitmap24& Src, const TBitmap24& Dst);

  int Damping() const { return FDamping; }
  void SetDamping(int Value);  // 1..99; other values are ignored

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Height of a cell of the current surface and of the previous one.
  std::int32_t Cell(int x, int y) const { return FScanLine1[y][x]; }
  std::int32_t PreviousCell(int x, int y) const { return FScanLine2[y][x]; }

  // The columns First..Last of row y outside which the last Render left Dst
  // a copy of Src (First > Last: the whole row). Valid until the next Blob;
  // lets a caller repaint only what a frame can have changed.
  struct TColumns {
    int First;
    int Last;
  };
  TColumns DrawnColumns(int y) const;
  // True when both surfaces are all zero: a Render then changes nothing but
  // copying Src into Dst.
  bool Calm() const;

 private:
  // What the draw of one frame needs of its bitmaps, worked out once.
  struct TDrawFrame {
    TConstBitmap24 Src;
    TBitmap24 Dst;
    int CopyHeight = 0;        // rows of Src copied into Dst
    std::size_t RowBytes = 0;  // bytes of a copied row
    bool SameLayout = false;   // then the padding after a row goes along
  };
  void StepRow(int y, std::int32_t F);
  TDrawFrame StartDraw(const TConstBitmap24& Src, const TBitmap24& Dst);
  void CopyRow(int y, const TDrawFrame& Frame, int Skip = 1, int SkipTo = 0) const;
  void DrawRow(int y, const TDrawFrame& Frame);
  void DrawInterior(const std::int32_t* U, const std::int32_t* C, const std::int32_t* D, int y, int From, int To,
                    std::uint8_t* DstRow);
  void FinishDraw(const TDrawFrame& Frame) const;

  std::int32_t FWidth = 0;
  std::int32_t FHeight = 0;
  std::vector<std::int32_t> FBuff1;               // current surface, row by row
  std::vector<std::int32_t> FBuff2;               // previous surface
  std::vector<std::int32_t*> FScanLine1;          // rows of FBuff1
  std::vector<std::int32_t*> FScanLine2;          // rows of FBuff2
  std::vector<const std::uint8_t*> FScanLineSrc;  // rows of the source, during a draw
  std::vector<std::int32_t> FXLeft;               // max(x − 1, 0)
  std::vector<std::int32_t> FXRight;              // min(x + 1, FWidth − 1)
  std::vector<std::int32_t> FYUp;                 // max(y − 1, 0)
  std::vector<std::int32_t> FYDown;               // min(y + 1, FHeight − 1)
  // The draw's work space for one row of pixels (see DrawInterior).
  std::vector<std::int32_t> FDrawRow;     // the source row each pixel reads
  std::vector<std::int32_t> FDrawColumn;  // and the column
  std::vector<std::int16_t> FDrawDx;      // its shading: dx, clamped to ±255
  std::vector<std::int16_t> FDrawShade;   // the same for each of its bytes
  std::vector<std::uint8_t> FDrawPixels;  // its source bytes
  TWaterDamping FDamping = 20;
  // Per row of FBuff1 / FBuff2: the columns Lo..Hi hold every non-zero cell of
  // the row (Lo > Hi: the row is calm), and no cell of the row is further from
  // 0 than Peak (an upper bound: a drop only raises it, the step sets it
  // below twice the largest plus 1). The step and the draw visit only what can change there and pick
  // the 32-bit or the 64-bit code by Peak; exchanged together with the surfaces.
  struct TSpan {
    int Lo;
    int Hi;
    std::uint32_t Peak;
  };
  static TSpan CalmRow(int AWidth) { return {AWidth, -1, 0}; }
  std::vector<TSpan> FSpan1;
  std::vector<TSpan> FSpan2;
};
