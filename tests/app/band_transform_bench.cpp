// The work of one scan tick without the capture: the transform, the band levels and the path,
// in microseconds per block and as a share of the 32 ms that a block lasts at 8000 samples/s.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <vector>

#include "app/core/band_transform.h"
#include "app/core/tessil_path.h"

namespace {

constexpr double kBlockPeriodSeconds = 256.0 / 8000.0;

std::vector<std::array<uint8_t, kSamplesPerBlock>> SampleBlocks() {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<std::array<uint8_t, kSamplesPerBlock>> blocks(64);
  for (auto& block : blocks)
    for (auto& sample : block) sample = static_cast<uint8_t>(byte(random));
  return blocks;
}


void BM_SpectrumAndPath(benchmark::State& state) {
  const auto blocks = SampleBlocks();
  SpectrumBlock block;
  TessilPath path;
  size_t next = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    block.sampleBuffer = blocks[next++ % blocks.size()];
    ComputeSpectrum(block);
    BuildTessilPath(block.bandLevel, path, nullptr);
    benchmark::DoNotOptimize(path.totalPoints);
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  // The per-cent of a block's period that one block's work takes.
  state.counters["pct_of_32ms"] =
      100.0 * elapsed.count() / static_cast<double>(state.iterations()) / kBlockPeriodSeconds;
}
BENCHMARK(BM_SpectrumAndPath)->Unit(benchmark::kMicrosecond);

void BM_TransformOnly(benchmark::State& state) {
  const auto blocks = SampleBlocks();
  std::array<int32_t, kSamplesPerBlock> fft{};
  size_t next = 0;
  for (auto _ : state) {
    TransformSamples(blocks[next++ % blocks.size()], fft);
    benchmark::DoNotOptimize(fft.data());
  }
}
BENCHMARK(BM_TransformOnly)->Unit(benchmark::kMicrosecond);

void BM_PathOnly(benchmark::State& state) {
  std::array<uint8_t, kBandCount + 1> levels{};
  for (int b = 1; b <= kBandCount; ++b) levels[static_cast<size_t>(b)] = b % 2 ? 255 : 0;
  TessilPath path;
  for (auto _ : state) {
    BuildTessilPath(levels, path, nullptr);  // the longest path
    benchmark::DoNotOptimize(path.totalPoints);
  }
}
BENCHMARK(BM_PathOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
