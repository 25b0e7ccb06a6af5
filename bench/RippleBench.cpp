// SPDX-License-Identifier: GPL-3.0-or-later
// One banner frame (water step + refraction draw) against one plain memcpy of
// the same 24-bit picture, measured in the same run, on two kinds of water:
// the banner as it usually is (a mouse track and the odd random drop, a few
// rows busy) and water that moves over the whole grid (a drag with the button
// held across the picture and drops all over it, every row busy).
// Prints the median of each and their ratio. --draw=plain|avx2|avx512 runs
// the draw's code of that name instead of the widest the processor has.
// Two parts of the whole-grid frame are also timed on their own, to show
// where its time goes: the step (Render with no bitmaps advances the water
// only) and the draw's reads of the source at the places the slopes point to.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ripple/Random.h"
#include "ripple/WaterEffect.h"
#include "tests/ripple/ReferenceWater.h"

namespace {

constexpr int Width = 375;
constexpr int Height = 237;
constexpr std::ptrdiff_t Stride = 1128;  // as QImage pads a 375-pixel RGB888 row
constexpr std::size_t PictureBytes = 3 * Width * Height;

double MedianMicroseconds(std::vector<double>& Seconds) {
  if (Seconds.empty()) return 0;
  std::nth_element(Seconds.begin(), Seconds.begin() + Seconds.size() / 2, Seconds.end());
  return Seconds[Seconds.size() / 2] * 1e6;
}

// Times one run of Work for a benchmark with manual time, and keeps it.
template <typename TWork>
void TimeOnce(benchmark::State& State, std::vector<double>& Seconds, TWork&& Work) {
  const auto Start = std::chrono::steady_clock::now();
  Work();
  const auto Stop = std::chrono::steady_clock::now();
  const double Elapsed = std::chrono::duration<double>(Stop - Start).count();
  Seconds.push_back(Elapsed);
  State.SetIterationTime(Elapsed);
}

enum class TWaterKind { Banner, WholeGrid };

// The drops of one frame, as the control raises them (Radius 0, TrackBlob 100,
// ClickBlob 250, random drops of radius 1..2 and height 100..599).
class TScene {
 public:
  explicit TScene(TWaterKind AKind) : Kind(AKind), Src(Stride * Height), Dst(Stride * Height) {
    RandomSeed(2024);
    for (std::size_t i = 0; i < Src.size(); ++i) Src[i] = static_cast<std::uint8_t>((i * 131) >> 3);
    Water.SetSize(Width, Height);
    for (int i = 0; i < 200; ++i) Frame();  // let the water get busy first
  }

  void Drops() {
    ++Count;
    if (Kind == TWaterKind::Banner) {
      // The mouse crosses the picture, one move per frame; a random drop has a
      // chance of 1 in 17 per frame (default delay and interval).
      const int x = (Count * 7) % (2 * Width);
      const int y = (Count * 3) % (2 * Height);
      Water.Blob(x < Width ? x : 2 * Width - 1 - x, y < Height ? y : 2 * Height - 1 - y, 0, 100);
      if (RandomInt(17) == 0) Water.Blob(-1, -1, 1 + RandomInt(2), 100 + RandomInt(500));
      return;
    }
    // Button held, the mouse sweeping to and fro over the whole picture
    // (eight moves per frame), and many random drops.
    for (int Move = 0; Move < 8; ++Move) {
      const int Step = Count * 8 + Move;
      const int x = (Step * 23) % (2 * Width);
      const int y = (Step * 5) % (2 * Height);
      Water.Blob(x < Width ? x : 2 * Width - 1 - x, y < Height ? y : 2 * Height - 1 - y, 0, 250);
    }
    for (int Drop = 0; Drop < 12; ++Drop) Water.Blob(-1, -1, 1 + RandomInt(2), 100 + RandomInt(500));
  }

  void Render() {
    Water.Render(TConstBitmap24(Width, Height, Src.data(), Stride), TBitmap24{Width, Height, Dst.data(), Stride});
  }

  void Frame() {
    Drops();
    Render();
  }

  // Shares of the grid that the frame works on: cells between the first and
  // the last non-zero cell of their row, and non-zero cells.
  void Coverage(double& Spanned, double& NonZero) const {
    long Inside = 0, Raised = 0;
    for (int y = 0; y < Height; ++y) {
      int First = Width, Last = -1;
      for (int x = 0; x < Width; ++x)
        if (Water.Cell(x, y) != 0) {
          First = std::min(First, x);
          Last = x;
          ++Raised;
        }
      if (Last >= First) Inside += Last - First + 1;
    }
    Spanned = 100.0 * static_cast<double>(Inside) / (Width * Height);
    NonZero = 100.0 * static_cast<double>(Raised) / (Width * Height);
  }

  TWaterKind Kind;
  TWaterEffect Water;
  std::vector<std::uint8_t> Src;
  std::vector<std::uint8_t> Dst;
  int Count = 0;
};

struct TFigures {
  double Median = 0;
  double Spanned = 0;  // per cent of the grid, averaged over the frames
  double NonZero = 0;
};
TFigures Frames[2];
double MemcpyMedian = 0;
double ReferenceMedian = 0;
double StepMedian = 0;
double ReadsMedian = 0;
std::size_t ReadsPerFrame = 0;

void BM_RenderFrame(benchmark::State& State, TWaterKind Kind) {
  TScene Scene(Kind);
  std::vector<double> Seconds;
  double Spanned = 0, NonZero = 0;
  int Samples = 0;
  for (auto _ : State) {
    Scene.Drops();
    TimeOnce(State, Seconds, [&] {
      Scene.Render();
      benchmark::DoNotOptimize(Scene.Dst.data());
    });
    if (Seconds.size() % 64 == 1) {
      State.PauseTiming();
      double S, N;
      Scene.Coverage(S, N);
      Spanned += S;
      NonZero += N;
      ++Samples;
      State.ResumeTiming();
    }
  }
  TFigures& Figures = Frames[static_cast<int>(Kind)];
  Figures.Median = MedianMicroseconds(Seconds);
  Figures.Spanned = Samples > 0 ? Spanned / Samples : 0;
  Figures.NonZero = Samples > 0 ? NonZero / Samples : 0;
  State.counters["median_us"] = Figures.Median;
  State.counters["spanned_pct"] = Figures.Spanned;
}

void BM_MemcpyPicture(benchmark::State& State) {
  std::vector<std::uint8_t> Src(PictureBytes, 7), Dst(PictureBytes);
  std::vector<double> Seconds;
  for (auto _ : State) {
    TimeOnce(State, Seconds, [&] {
      std::memcpy(Dst.data(), Src.data(), PictureBytes);
      benchmark::ClobberMemory();
    });
  }
  MemcpyMedian = MedianMicroseconds(Seconds);
  State.counters["median_us"] = MemcpyMedian;
}

// The plain version every cell through the clamped tables: for comparison only.
void BM_ReferenceFrame(benchmark::State& State) {
  TScene Scene(TWaterKind::Banner);
  TReferenceWater Reference(Width, Height);
  std::vector<double> Seconds;
  int Count = 0;
  for (auto _ : State) {
    ++Count;
    Reference.Blob((Count * 7) % Width, (Count * 3) % Height, 0, 100);
    TimeOnce(State, Seconds, [&] {
      Reference.Step();
      Reference.Draw(Scene.Src.data(), Scene.Dst.data(), Stride);
      benchmark::DoNotOptimize(Scene.Dst.data());
    });
  }
  ReferenceMedian = MedianMicroseconds(Seconds);
  State.counters["median_us"] = ReferenceMedian;
}

void BM_WholeGridStepOnly(benchmark::State& State) {
  TScene Scene(TWaterKind::WholeGrid);
  std::vector<double> Seconds;
  for (auto _ : State) {
    Scene.Drops();
    TimeOnce(State, Seconds, [&] {
      Scene.Water.Render(TConstBitmap24(), TBitmap24{});
      benchmark::DoNotOptimize(&Scene.Water);
    });
  }
  StepMedian = MedianMicroseconds(Seconds);
  State.counters["median_us"] = StepMedian;
}

// The byte offset in the source of every pixel the last frame drew: where
// its slopes point, or its own place where they point outside the grid.
std::vector<std::uint32_t> SourceOffsets(const TWaterEffect& Water) {
  std::vector<std::uint32_t> Offsets;
  for (int y = 0; y < Height; ++y) {
    const TWaterEffect::TColumns Drawn = Water.DrawnColumns(y);
    for (int x = Drawn.First; x <= Drawn.Last; ++x) {
      const int Dx = Water.Cell(std::max(x - 1, 0), y) - Water.Cell(std::min(x + 1, Width - 1), y);
      const int Dy = Water.Cell(x, std::max(y - 1, 0)) - Water.Cell(x, std::min(y + 1, Height - 1));
      const bool Inside = x + Dx >= 0 && x + Dx < Width && y + Dy >= 0 && y + Dy < Height;
      Offsets.push_back(static_cast<std::uint32_t>(Inside ? (y + Dy) * Stride + 3 * (x + Dx) : y * Stride + 3 * x));
    }
  }
  return Offsets;
}

// The 4-byte words at Source + From[0 .. Count − 1], into To.
void ReadWords(const std::uint8_t* Source, const std::uint32_t* From, std::uint32_t* To, std::size_t Count) {
  for (std::size_t i = 0; i < Count; ++i) std::memcpy(To + i, Source + From[i], 4);
}

// Only the reads: one 4-byte word per drawn pixel from its place in the
// source (the rows are padded, so the last pixel's word stays inside), at the
// offsets of one whole-grid frame, read again and again (the offsets stay in
// the cache), as a plain loop of loads and stores.
void BM_WholeGridSourceReads(benchmark::State& State) {
  TScene Scene(TWaterKind::WholeGrid);
  Scene.Frame();
  const std::vector<std::uint32_t> Offsets = SourceOffsets(Scene.Water);
  std::vector<std::uint32_t> Words(Width * Height);
  std::vector<double> Seconds;
  for (auto _ : State) {
    TimeOnce(State, Seconds, [&] {
      ReadWords(Scene.Src.data(), Offsets.data(), Words.data(), Offsets.size());
      benchmark::ClobberMemory();
    });
  }
  ReadsMedian = MedianMicroseconds(Seconds);
  ReadsPerFrame = Offsets.size();
  State.counters["median_us"] = ReadsMedian;
}

BENCHMARK(BM_MemcpyPicture)->UseManualTime()->MinTime(1.0);
BENCHMARK_CAPTURE(BM_RenderFrame, banner, TWaterKind::Banner)->UseManualTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_RenderFrame, whole_grid, TWaterKind::WholeGrid)->UseManualTime()->MinTime(2.0);
BENCHMARK(BM_ReferenceFrame)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_WholeGridStepOnly)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_WholeGridSourceReads)->UseManualTime()->MinTime(1.0);

// --draw=plain|avx2|avx512 picks the draw's code (default: the widest there is).
bool PickDrawCode(int& argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--draw=", 7) != 0) continue;
    bool Found = false;
    for (TDrawCode Code : AvailableDrawCodes())
      if (std::strcmp(argv[i] + 7, DrawCodeName(Code)) == 0) {
        UseDrawCode(Code);
        Found = true;
      }
    if (!Found) {
      std::fprintf(stderr, "ripple_bench: this processor has no draw code '%s'\n", argv[i] + 7);
      return false;
    }
    std::copy(argv + i + 1, argv + argc, argv + i);
    --argc;
    --i;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!PickDrawCode(argc, argv)) return 2;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (MemcpyMedian <= 0) return 0;
  std::printf("\ndraw code: %s\n", DrawCodeName(CurrentDrawCode()));
  std::printf("median memcpy of the 375 x 237 picture:      %8.2f us\n", MemcpyMedian);
  const char* const Names[] = {"banner water (a few rows busy)", "water busy over the whole grid"};
  for (int k = 0; k < 2; ++k) {
    if (Frames[k].Median <= 0) continue;
    std::printf(
        "median frame, %-31s %8.2f us  = %5.1f x memcpy  (rows' spans %.0f %% of the grid, "
        "non-zero %.0f %%)\n",
        Names[k], Frames[k].Median, Frames[k].Median / MemcpyMedian, Frames[k].Spanned, Frames[k].NonZero);
  }
  if (ReferenceMedian > 0)
    std::printf("median frame, plain reference version:       %8.2f us  = %5.1f x memcpy\n", ReferenceMedian,
                ReferenceMedian / MemcpyMedian);
  if (StepMedian > 0)
    std::printf("whole grid, the step alone:                  %8.2f us  = %5.1f x memcpy\n", StepMedian,
                StepMedian / MemcpyMedian);
  if (ReadsMedian > 0)
    std::printf("whole grid, the source reads alone:          %8.2f us  = %5.1f x memcpy  (%zu reads a frame)\n",
                ReadsMedian, ReadsMedian / MemcpyMedian, ReadsPerFrame);
  return 0;
}
