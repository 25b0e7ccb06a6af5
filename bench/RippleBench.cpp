// SPDX-License-Identifier: GPL-3.0-or-later
// One banner frame (water step + refraction draw) on busy water, against one
// plain memcpy of the same 24-bit picture, measured in the same run.
// Prints the median of each and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Random.h"
#include "ReferenceWater.h"
#include "WaterEffect.h"

namespace {

constexpr int Width = 375;
constexpr int Height = 237;
constexpr std::ptrdiff_t Stride = 1128;  // as QImage pads a 375-pixel RGB888 row
constexpr std::size_t PictureBytes = 3 * Width * Height;

double MedianMicroseconds(std::vector<double>& Seconds)
{
  if (Seconds.empty()) return 0;
  std::nth_element(Seconds.begin(), Seconds.begin() + Seconds.size() / 2, Seconds.end());
  return Seconds[Seconds.size() / 2] * 1e6;
}

// Busy water as the banner sees it: the mouse crosses the picture and raises
// a track drop every frame, and random drops fall as the control's timer
// lets them (default delay and interval: a chance of 1 in 17 per frame).
class TScene {
 public:
  TScene() : Src(Stride * Height), Dst(Stride * Height)
  {
    RandomSeed(2024);
    for (std::size_t i = 0; i < Src.size(); ++i) Src[i] = static_cast<std::uint8_t>((i * 131) >> 3);
    Water.SetSize(Width, Height);
    for (int i = 0; i < 200; ++i) Frame();  // let the water get busy first
  }

  void Drops()
  {
    ++Count;
    const int x = (Count * 7) % (2 * Width);
    const int y = (Count * 3) % (2 * Height);
    Water.Blob(x < Width ? x : 2 * Width - 1 - x, y < Height ? y : 2 * Height - 1 - y, 0, 100);
    if (RandomInt(17) == 0) {
      const int Radius = 1 + RandomInt(2);
      Water.Blob(-1, -1, Radius, 100 + RandomInt(500));
    }
  }

  void Render()
  {
    Water.Render(TConstBitmap24(Width, Height, Src.data(), Stride), TBitmap24{Width, Height, Dst.data(), Stride});
  }

  void Frame()
  {
    Drops();
    Render();
  }

  TWaterEffect Water;
  std::vector<std::uint8_t> Src;
  std::vector<std::uint8_t> Dst;
  int Count = 0;
};

double FrameMedian = 0;
double MemcpyMedian = 0;
double ReferenceMedian = 0;

void BM_RenderFrame(benchmark::State& State)
{
  TScene Scene;
  std::vector<double> Seconds;
  for (auto _ : State) {
    Scene.Drops();
    const auto Start = std::chrono::steady_clock::now();
    Scene.Render();
    const auto Stop = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(Scene.Dst.data());
    const double Elapsed = std::chrono::duration<double>(Stop - Start).count();
    Seconds.push_back(Elapsed);
    State.SetIterationTime(Elapsed);
  }
  FrameMedian = MedianMicroseconds(Seconds);
  State.counters["median_us"] = FrameMedian;
}

void BM_MemcpyPicture(benchmark::State& State)
{
  std::vector<std::uint8_t> Src(PictureBytes, 7), Dst(PictureBytes);
  std::vector<double> Seconds;
  for (auto _ : State) {
    const auto Start = std::chrono::steady_clock::now();
    std::memcpy(Dst.data(), Src.data(), PictureBytes);
    benchmark::ClobberMemory();
    const auto Stop = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(Dst.data());
    const double Elapsed = std::chrono::duration<double>(Stop - Start).count();
    Seconds.push_back(Elapsed);
    State.SetIterationTime(Elapsed);
  }
  MemcpyMedian = MedianMicroseconds(Seconds);
  State.counters["median_us"] = MemcpyMedian;
}

// The plain version every cell through the clamped tables: for comparison only.
void BM_ReferenceFrame(benchmark::State& State)
{
  TScene Scene;
  TReferenceWater Reference(Width, Height);
  std::vector<double> Seconds;
  int Count = 0;
  for (auto _ : State) {
    ++Count;
    Reference.Blob((Count * 7) % Width, (Count * 3) % Height, 0, 100);
    const auto Start = std::chrono::steady_clock::now();
    Reference.Step();
    Reference.Draw(Scene.Src.data(), Scene.Dst.data(), Stride);
    const auto Stop = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(Scene.Dst.data());
    const double Elapsed = std::chrono::duration<double>(Stop - Start).count();
    Seconds.push_back(Elapsed);
    State.SetIterationTime(Elapsed);
  }
  ReferenceMedian = MedianMicroseconds(Seconds);
  State.counters["median_us"] = ReferenceMedian;
}

BENCHMARK(BM_MemcpyPicture)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_RenderFrame)->UseManualTime()->MinTime(2.0);
BENCHMARK(BM_ReferenceFrame)->UseManualTime()->MinTime(1.0);

}  // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (FrameMedian > 0 && MemcpyMedian > 0) {
    std::printf("\nmedian memcpy of the 375 x 237 picture: %8.2f us\n", MemcpyMedian);
    std::printf("median frame (step + draw), busy water: %8.2f us  = %5.1f x memcpy\n", FrameMedian,
                FrameMedian / MemcpyMedian);
    if (ReferenceMedian > 0)
      std::printf("median frame, plain reference version: %8.2f us  = %5.1f x memcpy\n", ReferenceMedian,
                  ReferenceMedian / MemcpyMedian);
  }
  return 0;
}
