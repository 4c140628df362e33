// Whole frames of the viewer (produceFrame: view update, vertex pipeline,
// fill and blit) on a 512/32 panorama: at the start view, over a full
// auto-rotation turn (reported per frame), at zoom 130 and 350, textured and
// wire-frame. Every run also times the memory-pass baseline in the same
// iterations; the counter vs_baseline is frame time over baseline time, both
// in CPU time of this thread.
#include <benchmark/benchmark.h>

#include "memory_baseline.h"
#include "shell/application.h"
#include "viewer_setup.h"

namespace {

struct FrameRun {
  uint32_t zoom;
  bool spin;       // a whole auto-rotation turn per iteration, else one start-view frame
  bool wireFrame;
};

void runFrames(benchmark::State& state, FrameRun run) {
  bench::Viewer viewer;
  if (!viewer.loaded()) {
    state.SkipWithError("the panorama did not load");
    return;
  }
  viewer.startView(run.zoom, run.spin);
  if (run.wireFrame) viewer.wireFrame();
  const int32_t framesPerIteration = run.spin ? bench::Viewer::spinFrames(run.zoom) : 1;
  for (int32_t i = 0; i < 8; ++i) produceFrame();  // caches and the first frame's all-zero buffer behind us

  bench::MemoryBaseline baseline;
  double frameSeconds = 0;
  double baselineSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    baselineSeconds += baseline.timedPass();
    viewer.rewind();
    state.ResumeTiming();
    const double start = bench::threadSeconds();
    for (int32_t f = 0; f < framesPerIteration; ++f) produceFrame();
    benchmark::ClobberMemory();
    frameSeconds += bench::threadSeconds() - start;
  }
  const double frames = static_cast<double>(state.iterations()) * framesPerIteration;
  const double iterations = static_cast<double>(state.iterations());
  state.counters["frame_us"] = 1e6 * frameSeconds / frames;
  state.counters["baseline_us"] = 1e6 * baselineSeconds / iterations;
  state.counters["vs_baseline"] = (frameSeconds / frames) / (baselineSeconds / iterations);
  state.counters["frames/s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
  state.SetLabel(bench::panoramaSource().sample ? "sample" : "synthetic");
  bench::Viewer::forgetCalls();
}

void BM_FrameStartView(benchmark::State& state) {
  runFrames(state, {static_cast<uint32_t>(state.range(0)), false, false});
}
void BM_FrameSpin(benchmark::State& state) { runFrames(state, {static_cast<uint32_t>(state.range(0)), true, false}); }
void BM_FrameWireFrame(benchmark::State& state) {
  runFrames(state, {static_cast<uint32_t>(state.range(0)), false, true});
}

BENCHMARK(BM_FrameStartView)->ArgName("zoom")->Arg(130)->Arg(350)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameSpin)->ArgName("zoom")->Arg(130)->Arg(350)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameWireFrame)->ArgName("zoom")->Arg(130)->Unit(benchmark::kMicrosecond);

}  // namespace
