// Each blitter over a full frame, against a baseline with the same memory
// traffic but no rotation: read and clear 307200 bytes of cells, write 153600
// bytes of pixels through the lookup, all in order. The counter
// "vs_baseline" is the blitter's time over the baseline's, both measured in
// the same iterations.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "core/frame_buffer.h"
#include "core/render_context.h"
#include "display/blitters.h"
#include "display/colour_lookup.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

namespace {

using Clock = std::chrono::steady_clock;

// A frame of varied colour indices, so the lookups are not all one entry.
const std::vector<int32_t>& sampleFrame() {
  static const std::vector<int32_t> frame = [] {
    std::vector<int32_t> cells(kFrameCells);
    std::mt19937 random(2024);
    for (int32_t& cell : cells) cell = static_cast<int32_t>(random());
    return cells;
  }();
  return frame;
}

void loadSampleFrame() { std::memcpy(FrameBuffer, sampleFrame().data(), sizeof FrameBuffer); }

// The same reads, clears, lookups and 32-bit stores as a blitter, in buffer order.
void baselineCopy(uint32_t* out) {
  for (int32_t i = 0; i < kFrameCells; i += 2) {
    const uint32_t low = ColourLookup[static_cast<uint16_t>(FrameBuffer[i])];
    const uint32_t high = ColourLookup[static_cast<uint16_t>(FrameBuffer[i + 1])];
    FrameBuffer[i] = kClearCell;
    FrameBuffer[i + 1] = kClearCell;
    out[i / 2] = low | (high << 16);
  }
  benchmark::ClobberMemory();
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void runBlitter(benchmark::State& state, platform::DeviceClass device, int32_t variant) {
  buildColourLookup();
  platform::HeadlessOptions options;
  options.device = device;
  platform::HeadlessBackend backend(options);
  platform::installBackend(&backend);
  platform::resetWindowManager();
  renderContext = RenderContext{};
  renderContext.displayVariant = variant;
  selectBlitter(renderContext);
  std::vector<uint32_t> baselineTarget(kFrameCells / 2);

  double blitterSeconds = 0;
  double baselineSeconds = 0;
  for (auto _ : state) {
    loadSampleFrame();
    Clock::time_point start = Clock::now();
    baselineCopy(baselineTarget.data());
    baselineSeconds += secondsSince(start);

    loadSampleFrame();
    platform::resetWindowManager();  // keeps the call log from growing
    start = Clock::now();
    renderContext.blitFunction();
    benchmark::ClobberMemory();
    const double elapsed = secondsSince(start);
    blitterSeconds += elapsed;
    state.SetIterationTime(elapsed);
  }
  state.counters["vs_baseline"] = baselineSeconds > 0 ? blitterSeconds / baselineSeconds : 0;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (307200 + 153600));
  platform::installBackend(nullptr);
}

void BM_BlitGenericVariant0(benchmark::State& state) { runBlitter(state, platform::DeviceClass::Generic, 0); }
void BM_BlitGenericVariant1(benchmark::State& state) { runBlitter(state, platform::DeviceClass::Generic, 1); }
void BM_BlitLinear(benchmark::State& state) { runBlitter(state, platform::DeviceClass::Linear, 0); }
void BM_BlitDirect(benchmark::State& state) { runBlitter(state, platform::DeviceClass::Direct, 0); }

void BM_BlitBaseline(benchmark::State& state) {
  buildColourLookup();
  std::vector<uint32_t> target(kFrameCells / 2);
  for (auto _ : state) {
    state.PauseTiming();
    loadSampleFrame();
    state.ResumeTiming();
    baselineCopy(target.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (307200 + 153600));
}

BENCHMARK(BM_BlitGenericVariant0)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlitGenericVariant1)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlitLinear)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlitDirect)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlitBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace
