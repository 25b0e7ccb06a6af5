// SPDX-License-Identifier: GPL-3.0-or-later
// One banner frame (water step + refraction draw) against one plain memcpy of
// the same 24-bit picture, measured in the same run, on two kinds of water:
// the banner as it usually is (a mouse track and the odd random drop, a few
// rows busy) and water that moves over the whole grid (a drag with the button
// held across the picture and drops all over it, every row busy). The plain
// reference version (tests/ripple/ReferenceWater.h) gets the same drops.
// Prints the median of each and their ratio to the memcpy.
// The whole-grid step is also timed on its own (Render with no bitmaps
// advances the water only).
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
constexpr int WarmUpFrames = 200;  // lets the water get busy before the timing

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
constexpr int KindCount = 2;

// The drops of frame Count, as the control raises them (Radius 0, TrackBlob
// 100, ClickBlob 250, random drops of radius 1..2 and height 100..599), handed
// to Raise(x, y, radius, height). A random drop is placed as the engine places
// Blob(−1, −1, ...), with the same draws, so that the reference, which takes
// only centres inside the grid, gets the very same drops.
template <typename TRaise>
void Drops(TWaterKind Kind, int Count, TRaise&& Raise) {
  const auto Reflect = [](int v, int n) { return v % (2 * n) < n ? v % (2 * n) : 2 * n - 1 - v % (2 * n); };
  const auto RandomDrop = [&] {
    const int Radius = 1 + RandomInt(2);
    const int Blob = 100 + RandomInt(500);
    const int x = Radius + 1 + RandomInt(32767) % (Width - 2 * Radius - 1);
    const int y = Radius + 1 + RandomInt(32767) % (Height - 2 * Radius - 1);
    Raise(x, y, Radius, Blob);
  };
  if (Kind == TWaterKind::Banner) {
    // The mouse crosses the picture, one move per frame; a random drop has a
    // chance of 1 in 17 per frame (default delay and interval).
    Raise(Reflect(Count * 7, Width), Reflect(Count * 3, Height), 0, 100);
    if (RandomInt(17) == 0) RandomDrop();
    return;
  }
  // Button held, the mouse sweeping to and fro over the whole picture (eight
  // moves per frame), and many random drops.
  for (int Move = 0; Move < 8; ++Move) {
    const int Step = Count * 8 + Move;
    Raise(Reflect(Step * 23, Width), Reflect(Step * 5, Height), 0, 250);
  }
  for (int Drop = 0; Drop < 12; ++Drop) RandomDrop();
}

std::vector<std::uint8_t> SourcePicture() {
  std::vector<std::uint8_t> Src(Stride * Height);
  for (std::size_t i = 0; i < Src.size(); ++i) Src[i] = static_cast<std::uint8_t>((i * 131) >> 3);
  return Src;
}

// The engine on one kind of water.
class TScene {
 public:
  explicit TScene(TWaterKind AKind) : Kind(AKind), Src(SourcePicture()), Dst(Stride * Height) {
    RandomSeed(2024);
    Water.SetSize(Width, Height);
    for (int i = 0; i < WarmUpFrames; ++i) {
      Drops();
      Render();
    }
  }

  void Drops() {
    ::Drops(Kind, ++Count, [this](int x, int y, int Radius, int Blob) { Water.Blob(x, y, Radius, Blob); });
  }

  void Render() {
    Water.Render(TConstBitmap24(Width, Height, Src.data(), Stride), TBitmap24{Width, Height, Dst.data(), Stride});
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
  double Reference = 0;  // the plain reference version on the same water
  double Spanned = 0;    // per cent of the grid, averaged over the frames
  double NonZero = 0;
};
TFigures Frames[KindCount];
double MemcpyMedian = 0;
double StepMedian = 0;

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

// The plain version, every cell through the clamped tables, on the same drops.
void BM_ReferenceFrame(benchmark::State& State, TWaterKind Kind) {
  const std::vector<std::uint8_t> Src = SourcePicture();
  std::vector<std::uint8_t> Dst(Src.size());
  TReferenceWater Reference(Width, Height);
  const auto Raise = [&Reference](int x, int y, int Radius, int Blob) { Reference.Blob(x, y, Radius, Blob); };
  RandomSeed(2024);
  int Count = 0;
  for (; Count < WarmUpFrames; ++Count) {
    Drops(Kind, Count + 1, Raise);
    Reference.Step();
  }
  std::vector<double> Seconds;
  for (auto _ : State) {
    Drops(Kind, ++Count, Raise);
    TimeOnce(State, Seconds, [&] {
      Reference.Step();
      Reference.Draw(Src.data(), Dst.data(), Stride);
      benchmark::DoNotOptimize(Dst.data());
    });
  }
  Frames[static_cast<int>(Kind)].Reference = MedianMicroseconds(Seconds);
  State.counters["median_us"] = Frames[static_cast<int>(Kind)].Reference;
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

BENCHMARK(BM_MemcpyPicture)->UseManualTime()->MinTime(1.0);
BENCHMARK_CAPTURE(BM_RenderFrame, banner, TWaterKind::Banner)->UseManualTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_RenderFrame, whole_grid, TWaterKind::WholeGrid)->UseManualTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ReferenceFrame, banner, TWaterKind::Banner)->UseManualTime()->MinTime(1.0);
BENCHMARK_CAPTURE(BM_ReferenceFrame, whole_grid, TWaterKind::WholeGrid)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_WholeGridStepOnly)->UseManualTime()->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (MemcpyMedian <= 0) return 0;
  std::printf("\nmedian memcpy of the 375 x 237 picture: %8.2f us\n", MemcpyMedian);
  const char* const Names[KindCount] = {"banner water (a few rows busy)", "water busy over the whole grid"};
  for (int k = 0; k < KindCount; ++k) {
    const TFigures& F = Frames[k];
    if (F.Median > 0)
      std::printf(
          "%s (rows' spans %.0f %% of the grid, non-zero %.0f %%):\n  median frame:           %8.2f us = "
          "%5.1f x memcpy\n",
          Names[k], F.Spanned, F.NonZero, F.Median, F.Median / MemcpyMedian);
    if (F.Reference > 0)
      std::printf("  plain reference version: %7.2f us = %5.1f x memcpy\n", F.Reference, F.Reference / MemcpyMedian);
  }
  if (StepMedian > 0)
    std::printf("whole grid, the step alone: %8.2f us = %5.1f x memcpy\n", StepMedian, StepMedian / MemcpyMedian);
  return 0;
}
