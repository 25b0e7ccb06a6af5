// SPDX-License-Identifier: GPL-3.0-or-later
#include "ripple/WaterEffect.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "ripple/Random.h"

// The step's inner loop is built once per vector width and the widest one the
// processor has is picked when the program loads (an ifunc); the AVX-512 draw
// code comes with a hand-written AVX-512 step. The draw has hand-written AVX2
// and AVX-512 versions of its inner loop, picked at the first draw. The
// sanitizer build runs the plain code of both.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(RIPPLE_NO_CLONES)
#define RIPPLE_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#define RIPPLE_VECTOR_DRAW 1
#include <immintrin.h>
#else
#define RIPPLE_CLONES
#define RIPPLE_VECTOR_DRAW 0
#endif

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
// the largest magnitude written.
RIPPLE_CLONES
std::uint32_t StepInterior(const std::int32_t* __restrict U, const std::int32_t* __restrict C,
                           const std::int32_t* __restrict D, std::int32_t* __restrict P, int From, int To,
                           std::int32_t F) {
  std::uint32_t Peak = 0;
  for (int x = From; x <= To; ++x) {
    const std::int32_t S = U[x - 1] + U[x] + U[x + 1] + C[x - 1] + C[x + 1] + D[x - 1] + D[x] + D[x + 1];
    const std::int32_t V = NewHeight(S, P[x], F);
    P[x] = V;
    Peak = std::max(Peak, static_cast<std::uint32_t>(V < 0 ? -V : V));
  }
  return Peak;
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

// The plain draw of columns From .. To of row y, all inside 1 .. W − 2, every
// cell of rows U, C, D within ±Limit.
void DrawInteriorPlain(const std::int32_t* U, const std::int32_t* C, const std::int32_t* D, int y, int From, int To,
                       int W, int H, const std::uint8_t* const* SrcRows, std::uint8_t* DstRow) {
  for (int x = From; x <= To; ++x) DrawPixel<int>(x, y, C[x - 1] - C[x + 1], U[x] - D[x], W, H, SrcRows, DstRow);
}

// The 32-bit words of scratch the AVX-512 draw needs for a run of n pixels:
// per block of 32 the offsets, the words and the shading.
constexpr std::size_t DrawScratchWords(std::size_t n) { return (n + 31) / 32 * (32 + 32 + 16); }

// What the vector draws need to know of the source beyond its rows: its start,
// its row length, and the last byte offset from which 4 bytes can be read
// without passing the end of its last row.
struct TSourceBlock {
  const std::uint8_t* Bits;
  std::int32_t Stride;
  std::int32_t SafeEnd;
};

#if RIPPLE_VECTOR_DRAW

// GCC 12's AVX-512 headers start some intrinsics from an undefined register
// and then warn about it.
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

// The vector draws, per block of pixels of one row (columns inside 1 .. W − 2,
// every cell of rows U, C, D within ±Limit, so that no lane overflows): the
// slopes, the inside-the-grid test as a lane mask, and for the lanes that fail
// it the pixel's own source position with no shading, which is what the row
// copy holds there (a lane with dx = dy = 0 needs no test: it reads its own
// pixel anyway). So every lane's pixel is gathered, shaded with saturating
// byte arithmetic and stored, and a block is written in one go; the caller
// copies only what lies outside the columns drawn here.
//
// Each pixel's three bytes are read as one 4-byte word. The word of the
// source's very last pixel would reach one byte past it: that one is read one
// byte earlier and shifted down.

// Per 128 bits: the low three bytes of four 32-bit lanes packed into twelve.
#define RIPPLE_PACK_RGB -1, 0x0E0D0C0A, 0x09080605, 0x04020100
// Per 128 bits: byte B, B+1, B+2, B+3 each spread over four bytes.
#define RIPPLE_SPREAD(B)                                                                \
  static_cast<int>(0x01010101u * ((B) + 3)), static_cast<int>(0x01010101u * ((B) + 2)), \
      static_cast<int>(0x01010101u * ((B) + 1)), static_cast<int>(0x01010101u * (B))

// The 4-byte words at Bits + the four (non-negative) offsets: plain loads. (On
// the AMD processors measured, the gather instructions were slower.) The
// offsets leave the vector register two at a time and the words enter it two
// at a time, joined in general registers: taking lanes out or putting them in
// one by one costs the vector unit two operations each, and going through
// memory stalls on the store.
__attribute__((target("sse4.1"))) inline __m128i Gather4(__m128i Offsets, const std::uint8_t* Bits) {
  const auto Word = [Bits](std::uint64_t Offset) {
    std::uint32_t W;
    std::memcpy(&W, Bits + Offset, 4);
    return std::uint64_t{W};
  };
  const std::uint64_t Low = static_cast<std::uint64_t>(_mm_cvtsi128_si64(Offsets));
  const std::uint64_t High = static_cast<std::uint64_t>(_mm_extract_epi64(Offsets, 1));
  const std::uint64_t W01 = Word(Low & 0xFFFFFFFFu) | Word(Low >> 32) << 32;
  const std::uint64_t W23 = Word(High & 0xFFFFFFFFu) | Word(High >> 32) << 32;
  return _mm_insert_epi64(_mm_cvtsi64_si128(static_cast<long long>(W01)), static_cast<long long>(W23), 1);
}

__attribute__((target("avx2"))) inline __m256i Gather8(__m256i Offsets, const std::uint8_t* Bits) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(Gather4(_mm256_castsi256_si128(Offsets), Bits)),
                                 Gather4(_mm256_extracti128_si256(Offsets, 1), Bits), 1);
}

// 8 pixels at a time in 32-bit lanes; returns the first column not drawn
// (the caller draws the last few).
__attribute__((target("avx2"))) int DrawInteriorAvx2(const std::int32_t* U, const std::int32_t* C,
                                                     const std::int32_t* D, int y, int From, int To, int W, int H,
                                                     const TSourceBlock& Src, std::uint8_t* DstRow) {
  const __m256i Lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  const __m256i MinusOne = _mm256_set1_epi32(-1);
  const __m256i Zero = _mm256_setzero_si256();
  const __m256i Wv = _mm256_set1_epi32(W), Hv = _mm256_set1_epi32(H), Yv = _mm256_set1_epi32(y);
  const __m256i Stride = _mm256_set1_epi32(Src.Stride), SafeEnd = _mm256_set1_epi32(Src.SafeEnd);
  const __m256i Pack = _mm256_set_epi32(RIPPLE_PACK_RGB, RIPPLE_PACK_RGB);
  const __m256i SpreadDarken = _mm256_set_epi32(RIPPLE_SPREAD(0), RIPPLE_SPREAD(0));
  const __m256i SpreadBrighten = _mm256_set_epi32(RIPPLE_SPREAD(4), RIPPLE_SPREAD(4));
  const __m256i Join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
  int x = From;
  for (; x + 7 <= To; x += 8) {
    const __m256i Dx = _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(C + x - 1)),
                                        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(C + x + 1)));
    const __m256i Dy = _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(U + x)),
                                        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(D + x)));
    const __m256i Xv = _mm256_add_epi32(_mm256_set1_epi32(x), Lane);
    __m256i Sx = _mm256_add_epi32(Xv, Dx);
    __m256i Sy = _mm256_add_epi32(Yv, Dy);
    const __m256i InX = _mm256_and_si256(_mm256_cmpgt_epi32(Sx, MinusOne), _mm256_cmpgt_epi32(Wv, Sx));
    const __m256i InY = _mm256_and_si256(_mm256_cmpgt_epi32(Sy, MinusOne), _mm256_cmpgt_epi32(Hv, Sy));
    const __m256i Ok = _mm256_and_si256(InX, InY);
    Sx = _mm256_blendv_epi8(Xv, Sx, Ok);
    Sy = _mm256_blendv_epi8(Yv, Sy, Ok);
    __m256i Off = _mm256_add_epi32(_mm256_mullo_epi32(Sy, Stride), _mm256_add_epi32(Sx, _mm256_add_epi32(Sx, Sx)));
    const __m256i Late = _mm256_cmpgt_epi32(Off, SafeEnd);
    const bool AnyLate = !_mm256_testz_si256(Late, Late);
    if (AnyLate) Off = _mm256_add_epi32(Off, Late);
    __m256i Px = Gather8(Off, Src.Bits);
    if (AnyLate) Px = _mm256_srlv_epi32(Px, _mm256_and_si256(Late, _mm256_set1_epi32(8)));
    // Shading: dx clamped to 0..255 darkens, −dx clamped to 0..255 brightens,
    // both packed with unsigned saturation and spread over the pixel's bytes.
    const __m256i Sh = _mm256_and_si256(Dx, Ok);
    __m256i Amounts = _mm256_packus_epi32(Sh, _mm256_sub_epi32(Zero, Sh));
    Amounts = _mm256_packus_epi16(Amounts, Amounts);
    Px = _mm256_adds_epu8(Px, _mm256_shuffle_epi8(Amounts, SpreadBrighten));
    Px = _mm256_subs_epu8(Px, _mm256_shuffle_epi8(Amounts, SpreadDarken));
    Px = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(Px, Pack), Join);
    std::uint8_t* Out = DstRow + 3 * static_cast<std::ptrdiff_t>(x);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out), _mm256_castsi256_si128(Px));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(Out + 16), _mm256_extracti128_si256(Px, 1));
  }
  return x;
}

// Pixel order within a vector of 32 16-bit lanes, as two 32-bit vectors of
// 16 pixels each come out of a signed-saturating pack: per 128 bits, four
// pixels of the first sixteen, then the same four of the second sixteen.
struct TPixelOrder {
  alignas(64) std::int16_t Index[32];
  constexpr TPixelOrder() : Index{} {
    for (int p = 0; p < 32; ++p)
      Index[p] = static_cast<std::int16_t>(p % 8 < 4 ? p / 8 * 4 + p % 8 : 16 + p / 8 * 4 + p % 8 - 4);
  }
};
constexpr TPixelOrder PixelOrder;

// A[i] − B[i] for the lanes of K, 0 elsewhere.
__attribute__((target("avx512f"))) inline __m512i Difference(__mmask16 K, const std::int32_t* A,
                                                             const std::int32_t* B) {
  return _mm512_sub_epi32(_mm512_maskz_loadu_epi32(K, A), _mm512_maskz_loadu_epi32(K, B));
}

// The 4-byte words at Bits + Offsets[0 .. Count − 1] (none negative) into
// Words, Count a multiple of 16. The offsets are read two at a time, and each
// word is loaded straight into its vector lane: the load units have the work,
// not the vector unit, which taking lanes out of a register would keep busy.
__attribute__((target("avx512f,sse4.1"))) inline void GatherWords(const std::int32_t* Offsets, const std::uint8_t* Bits,
                                                                  std::uint32_t* Words, int Count) {
  const auto Word = [Bits](std::uint64_t Offset) {
    std::int32_t W;
    std::memcpy(&W, Bits + Offset, 4);
    return W;
  };
  for (int i = 0; i < Count; i += 16) {
    __m128i Quarter[4];
    for (int k = 0; k < 4; ++k) {
      std::uint64_t First, Second;  // offsets 0 and 1, 2 and 3 of the four
      std::memcpy(&First, Offsets + i + 4 * k, 8);
      std::memcpy(&Second, Offsets + i + 4 * k + 2, 8);
      __m128i Four = _mm_cvtsi32_si128(Word(First & 0xFFFFFFFFu));
      Four = _mm_insert_epi32(Four, Word(First >> 32), 1);
      Four = _mm_insert_epi32(Four, Word(Second & 0xFFFFFFFFu), 2);
      Quarter[k] = _mm_insert_epi32(Four, Word(Second >> 32), 3);
    }
    const __m256i Low = _mm256_inserti128_si256(_mm256_castsi128_si256(Quarter[0]), Quarter[1], 1);
    const __m256i High = _mm256_inserti128_si256(_mm256_castsi128_si256(Quarter[2]), Quarter[3], 1);
    _mm512_store_si512(Words + i, _mm512_inserti64x4(_mm512_castsi256_si512(Low), High, 1));
  }
}

// 32 pixels at a time: the slopes in 32-bit lanes, then packed (saturating)
// into 16-bit lanes for the tests, the shading and the source offsets, which
// one multiply-add per half makes 32-bit again: 3·sx + Stride·sy. Needs
// W, H, Stride <= 32767 (a saturated slope still points outside the grid).
// The tail is drawn under masks.
//
// A row goes in three passes over Scratch (DrawScratchWords(To − From + 1)
// words, 64-byte aligned): the offsets and the shading amounts of every
// block, then the source words, then the shading and the stores. Taking the
// offsets out of a vector register lane by lane cost the vector unit more
// than the rest of the draw; stored, and read back a pass later, when the
// stores are done, each costs one plain load.
__attribute__((target("avx512f,avx512bw,avx512vl,avx512dq,avx2"))) int DrawInteriorAvx512(
    const std::int32_t* U, const std::int32_t* C, const std::int32_t* D, int y, int From, int To, int W, int H,
    const TSourceBlock& Src, std::uint8_t* DstRow, std::uint32_t* Scratch) {
  const int Blocks = (To - From + 32) / 32;
  std::int32_t* const Offsets = reinterpret_cast<std::int32_t*>(Scratch);
  std::uint32_t* const Words = Scratch + 32 * Blocks;
  std::uint32_t* const Shading = Words + 32 * Blocks;  // 16 words a block

  const __m512i Order = _mm512_load_si512(PixelOrder.Index);
  const __m512i Zero = _mm512_setzero_si512();
  const __m512i Wv = _mm512_set1_epi16(static_cast<short>(W)), Hv = _mm512_set1_epi16(static_cast<short>(H));
  const __m512i Yv = _mm512_set1_epi16(static_cast<short>(y));
  const __m512i Factors = _mm512_set1_epi32(static_cast<int>((static_cast<unsigned>(Src.Stride) << 16) | 3u));
  const __m512i SafeEnd = _mm512_set1_epi32(Src.SafeEnd);
  __m512i Highest = _mm512_setzero_si512();
  for (int b = 0; b < Blocks; ++b) {
    const int x = From + 32 * b;
    const int n = std::min(32, To - x + 1);
    const __mmask16 KLo = static_cast<__mmask16>(n >= 16 ? 0xFFFF : (1u << n) - 1);
    const __mmask16 KHi = static_cast<__mmask16>(n >= 32 ? 0xFFFF : n > 16 ? (1u << (n - 16)) - 1 : 0);
    const __m512i Dx =
        _mm512_packs_epi32(Difference(KLo, C + x - 1, C + x + 1), Difference(KHi, C + x + 15, C + x + 17));
    const __m512i Dy = _mm512_packs_epi32(Difference(KLo, U + x, D + x), Difference(KHi, U + x + 16, D + x + 16));
    const __m512i Xv = _mm512_add_epi16(Order, _mm512_set1_epi16(static_cast<short>(x)));
    __m512i Sx = _mm512_adds_epi16(Xv, Dx);
    __m512i Sy = _mm512_adds_epi16(Yv, Dy);
    __mmask32 Ok = _mm512_cmplt_epu16_mask(Order, _mm512_set1_epi16(static_cast<short>(n)));
    Ok = _mm512_mask_cmplt_epu16_mask(Ok, Sx, Wv);
    Ok = _mm512_mask_cmplt_epu16_mask(Ok, Sy, Hv);
    Sx = _mm512_mask_mov_epi16(Xv, Ok, Sx);
    Sy = _mm512_mask_mov_epi16(Yv, Ok, Sy);
    __m512i OffLo = _mm512_madd_epi16(_mm512_unpacklo_epi16(Sx, Sy), Factors);
    __m512i OffHi = _mm512_madd_epi16(_mm512_unpackhi_epi16(Sx, Sy), Factors);
    // Only the source's last pixel lies past SafeEnd, by one byte: its word is
    // read from SafeEnd, which no other pixel starts at. The lanes past the
    // run read the source's first word.
    _mm512_store_si512(Offsets + 32 * b, _mm512_maskz_min_epi32(KLo, OffLo, SafeEnd));
    _mm512_store_si512(Offsets + 32 * b + 16, _mm512_maskz_min_epi32(KHi, OffHi, SafeEnd));
    // (A lane past the run can only make the check after the gather look
    // needlessly.)
    Highest = _mm512_max_epi32(Highest, _mm512_max_epi32(OffLo, OffHi));
    // Shading: dx clamped to 0..255 darkens, −dx clamped to 0..255 brightens;
    // per 128 bits the pack holds the darkening of the four pixels of the
    // first half, of the four of the second, then their brightening.
    const __m512i Sh = _mm512_maskz_mov_epi16(Ok, Dx);
    _mm512_store_si512(Shading + 16 * b, _mm512_packus_epi16(Sh, _mm512_sub_epi16(Zero, Sh)));
  }

  GatherWords(Offsets, Src.Bits, Words, 32 * Blocks);
  const bool ReadsTheLastPixel = _mm512_reduce_max_epi32(Highest) > Src.SafeEnd;

  const __m512i Pack = _mm512_set4_epi32(RIPPLE_PACK_RGB);
  const __m512i DarkenLo = _mm512_set4_epi32(RIPPLE_SPREAD(0)), DarkenHi = _mm512_set4_epi32(RIPPLE_SPREAD(4));
  const __m512i BrightenLo = _mm512_set4_epi32(RIPPLE_SPREAD(8)), BrightenHi = _mm512_set4_epi32(RIPPLE_SPREAD(12));
  const __m512i Join = _mm512_setr_epi32(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 15, 15, 15, 15);
  for (int b = 0; b < Blocks; ++b) {
    const int x = From + 32 * b;
    const int n = std::min(32, To - x + 1);
    __m512i PxLo = _mm512_load_si512(Words + 32 * b);
    __m512i PxHi = _mm512_load_si512(Words + 32 * b + 16);
    if (ReadsTheLastPixel) {  // its word was read one byte early
      PxLo =
          _mm512_mask_srli_epi32(PxLo, _mm512_cmpeq_epi32_mask(_mm512_load_si512(Offsets + 32 * b), SafeEnd), PxLo, 8);
      PxHi = _mm512_mask_srli_epi32(PxHi, _mm512_cmpeq_epi32_mask(_mm512_load_si512(Offsets + 32 * b + 16), SafeEnd),
                                    PxHi, 8);
    }
    const __m512i Amounts = _mm512_load_si512(Shading + 16 * b);
    PxLo = _mm512_subs_epu8(_mm512_adds_epu8(PxLo, _mm512_shuffle_epi8(Amounts, BrightenLo)),
                            _mm512_shuffle_epi8(Amounts, DarkenLo));
    PxHi = _mm512_subs_epu8(_mm512_adds_epu8(PxHi, _mm512_shuffle_epi8(Amounts, BrightenHi)),
                            _mm512_shuffle_epi8(Amounts, DarkenHi));
    std::uint8_t* Out = DstRow + 3 * static_cast<std::ptrdiff_t>(x);
    const int nLo = std::min(n, 16);
    _mm512_mask_storeu_epi8(Out, (std::uint64_t{1} << (3 * nLo)) - 1,
                            _mm512_permutexvar_epi32(Join, _mm512_shuffle_epi8(PxLo, Pack)));
    if (n > 16)
      _mm512_mask_storeu_epi8(Out + 48, (std::uint64_t{1} << (3 * (n - 16))) - 1,
                              _mm512_permutexvar_epi32(Join, _mm512_shuffle_epi8(PxHi, Pack)));
  }
  return To + 1;
}

// The first n lanes (none for n <= 0, all for n >= 16).
inline __mmask16 FirstLanes(int n) { return static_cast<__mmask16>(n >= 16 ? 0xFFFF : n <= 0 ? 0 : (1u << n) - 1); }

// U + C + D in the lanes of K, 0 elsewhere.
__attribute__((target("avx512f"))) inline __m512i ColumnSums(__mmask16 K, const std::int32_t* U, const std::int32_t* C,
                                                             const std::int32_t* D) {
  return _mm512_add_epi32(_mm512_add_epi32(_mm512_maskz_loadu_epi32(K, U), _mm512_maskz_loadu_epi32(K, C)),
                          _mm512_maskz_loadu_epi32(K, D));
}

// 16 new heights from the column sums U + C + D of the block before (only
// its last lane counts), of the block and of the block after (only its first
// lane counts), the block's own C and its previous heights P.
__attribute__((target("avx512f"))) inline __m512i NewHeights(__m512i Before, __m512i Here, __m512i After,
                                                             __m512i Centre, __m512i P, __m512i Factor) {
  const __m512i Three = _mm512_set1_epi32(3), Mask255 = _mm512_set1_epi32(255);
  const __m512i S = _mm512_sub_epi32(_mm512_add_epi32(_mm512_add_epi32(_mm512_alignr_epi32(Here, Before, 15), Here),
                                                      _mm512_alignr_epi32(After, Here, 1)),
                                     Centre);
  const __m512i Quarter = _mm512_srai_epi32(_mm512_add_epi32(S, _mm512_and_si512(_mm512_srai_epi32(S, 31), Three)), 2);
  const __m512i Product = _mm512_mullo_epi32(_mm512_sub_epi32(Quarter, P), Factor);
  return _mm512_srai_epi32(_mm512_add_epi32(Product, _mm512_and_si512(_mm512_srai_epi32(Product, 31), Mask255)), 8);
}

// StepInterior, 16 cells at a time. A cell's sum of eight neighbours is the
// column sums left of it, at it and right of it, less its own C: three loads
// a block instead of eight, the neighbouring sums taken from the blocks
// before and after by lane shifts.
__attribute__((target("avx512f"))) std::uint32_t StepInteriorAvx512(const std::int32_t* __restrict U,
                                                                    const std::int32_t* __restrict C,
                                                                    const std::int32_t* __restrict D,
                                                                    std::int32_t* __restrict P, int From, int To,
                                                                    std::int32_t F) {
  const __m512i Factor = _mm512_set1_epi32(F);
  __m512i Peak = _mm512_setzero_si512();
  // Of the block before From only column From − 1 is wanted (its last lane).
  __m512i Before = _mm512_set1_epi32(U[From - 1] + C[From - 1] + D[From - 1]);
  __m512i Here = ColumnSums(FirstLanes(To + 2 - From), U + From, C + From, D + From);
  __m512i Centre = _mm512_maskz_loadu_epi32(FirstLanes(To + 1 - From), C + From);
  int x = From;
  // While the block after ends at column To + 1 (the last right neighbour) or
  // before, no load needs a mask.
  for (; x + 31 <= To + 1; x += 16) {
    const __m512i NextCentre = _mm512_loadu_si512(C + x + 16);
    const __m512i After =
        _mm512_add_epi32(_mm512_add_epi32(_mm512_loadu_si512(U + x + 16), NextCentre), _mm512_loadu_si512(D + x + 16));
    const __m512i V = NewHeights(Before, Here, After, Centre, _mm512_loadu_si512(P + x), Factor);
    _mm512_storeu_si512(P + x, V);
    Peak = _mm512_max_epu32(Peak, _mm512_abs_epi32(V));
    Centre = NextCentre;
    Before = Here;
    Here = After;
  }
  for (; x <= To; x += 16) {
    const int Next = x + 16;
    const __m512i After = ColumnSums(FirstLanes(To + 2 - Next), U + Next, C + Next, D + Next);
    const __mmask16 K = FirstLanes(To + 1 - x);
    const __m512i V = NewHeights(Before, Here, After, Centre, _mm512_maskz_loadu_epi32(K, P + x), Factor);
    _mm512_mask_storeu_epi32(P + x, K, V);
    Peak = _mm512_mask_max_epu32(Peak, K, Peak, _mm512_abs_epi32(V));
    Centre = _mm512_maskz_loadu_epi32(FirstLanes(To + 1 - Next), C + Next);
    Before = Here;
    Here = After;
  }
  return _mm512_reduce_max_epu32(Peak);
}

#undef RIPPLE_PACK_RGB
#undef RIPPLE_SPREAD
#pragma GCC diagnostic pop

TDrawCode WidestDrawCode() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
      __builtin_cpu_supports("avx512dq"))
    return TDrawCode::Avx512;
  if (__builtin_cpu_supports("avx2")) return TDrawCode::Avx2;
  return TDrawCode::Plain;
}

#else

TDrawCode WidestDrawCode() { return TDrawCode::Plain; }

#endif

TDrawCode& ActiveDrawCode() {
  static TDrawCode Code = WidestDrawCode();
  return Code;
}

}  // namespace

std::vector<TDrawCode> AvailableDrawCodes() {
  std::vector<TDrawCode> Codes{TDrawCode::Plain};
  const TDrawCode Widest = WidestDrawCode();
  if (Widest == TDrawCode::Avx2 || Widest == TDrawCode::Avx512) Codes.push_back(TDrawCode::Avx2);
  if (Widest == TDrawCode::Avx512) Codes.push_back(TDrawCode::Avx512);
  return Codes;
}

TDrawCode CurrentDrawCode() { return ActiveDrawCode(); }

void UseDrawCode(TDrawCode Code) {
  const std::vector<TDrawCode> Codes = AvailableDrawCodes();
  if (std::find(Codes.begin(), Codes.end(), Code) != Codes.end()) ActiveDrawCode() = Code;
}

const char* DrawCodeName(TDrawCode Code) {
  switch (Code) {
    case TDrawCode::Plain: return "plain";
    case TDrawCode::Avx2: return "avx2";
    case TDrawCode::Avx512: return "avx512";
  }
  return "?";
}

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
  // 15 more words to align the start to 64 bytes.
  std::vector<std::uint32_t> Scratch(AWidth > 0 ? DrawScratchWords(static_cast<std::size_t>(AWidth)) + 15 : 0);

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
  FDrawScratch.swap(Scratch);
}

std::uint32_t* TWaterEffect::DrawScratch() {
  const std::uintptr_t At = reinterpret_cast<std::uintptr_t>(FDrawScratch.data());
  return FDrawScratch.data() + (((At + 63) & ~std::uintptr_t{63}) - At) / sizeof(std::uint32_t);
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
    if (InnerFrom <= InnerTo) {
#if RIPPLE_VECTOR_DRAW
      if (ActiveDrawCode() == TDrawCode::Avx512)
        Peak = StepInteriorAvx512(U, C, D, P, InnerFrom, InnerTo, F);
      else
#endif
        Peak = StepInterior(U, C, D, P, InnerFrom, InnerTo, F);
    }
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
  // The vector draws address the source by 32-bit byte offsets from its start.
  const std::int64_t SrcEnd = (std::int64_t{Src.Height} - 1) * Src.BytesPerLine + 3 * std::int64_t{Src.Width};
  // Rows that do not overlap: then only the source's last pixel starts
  // within 4 bytes of its end (the AVX-512 draw relies on it).
  const bool Addressable = Src.BytesPerLine >= 3 * std::int64_t{Src.Width} && Src.BytesPerLine > 0 &&
                           SrcEnd <= INT32_MAX && SrcEnd >= 4 && FWidth <= (1 << 30) && FHeight <= (1 << 30);
  Frame.Code = Addressable ? ActiveDrawCode() : TDrawCode::Plain;
  // The AVX-512 code works in 16-bit lanes.
  if (Frame.Code == TDrawCode::Avx512 && (Src.BytesPerLine > 32767 || FHeight > 32767)) Frame.Code = TDrawCode::Avx2;
  Frame.Stride = Addressable ? static_cast<std::int32_t>(Src.BytesPerLine) : 0;
  Frame.SafeEnd = Addressable ? static_cast<std::int32_t>(SrcEnd - 4) : 0;
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
  // The edge columns through the clamped tables, the others directly.
  const auto Edge = [&](int x) {
    DrawPixel<int>(x, y, C[FXLeft[x]] - C[FXRight[x]], U[x] - D[x], W, H, FScanLineSrc.data(), DstRow);
  };
  const int InnerFrom = std::max(From, 1);
  const int InnerTo = std::min(To, W - 2);
  int x = InnerFrom;  // the first interior column not drawn yet
  if (InnerFrom > InnerTo) {
    CopyRow(y, Frame);
  } else if (Frame.Code == TDrawCode::Plain) {
    CopyRow(y, Frame);
    DrawInteriorPlain(U, C, D, y, InnerFrom, InnerTo, W, H, FScanLineSrc.data(), DstRow);
    x = InnerTo + 1;
  } else {
#if RIPPLE_VECTOR_DRAW
    // The vector code writes every pixel it covers; the AVX2 code leaves the
    // last (InnerTo − InnerFrom + 1) mod 8 columns.
    const int VectorTo = Frame.Code == TDrawCode::Avx512 ? InnerTo : InnerFrom + (InnerTo - InnerFrom + 1) / 8 * 8 - 1;
    CopyRow(y, Frame, InnerFrom, VectorTo);
    const TSourceBlock Block{Frame.Src.Bits, Frame.Stride, Frame.SafeEnd};
    x = Frame.Code == TDrawCode::Avx512
            ? DrawInteriorAvx512(U, C, D, y, InnerFrom, InnerTo, W, H, Block, DstRow, DrawScratch())
            : DrawInteriorAvx2(U, C, D, y, InnerFrom, InnerTo, W, H, Block, DstRow);
#endif
  }
  if (From == 0) Edge(0);
  for (; x <= InnerTo; ++x) Edge(x);
  if (To == W - 1 && W > 1) Edge(W - 1);
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
