// The three stages of a start-view frame on their own, over the real scene:
// the vertex pipeline (view update, transform, project, cull and order every
// triangle, with a filler that draws nothing), the fill (the triangles that
// frame hands to the affine filler, replayed), and the blit of the finished
// frame. Each also reports its time over the memory-pass baseline.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "core/frame_buffer.h"
#include "core/mesh.h"
#include "core/render_context.h"
#include "memory_baseline.h"
#include "raster/raster_stage.h"
#include "shell/application.h"
#include "shell/view_control.h"
#include "viewer_setup.h"

namespace {

// One filler call, with copies of the corners as they were at that moment.
struct FillerCall {
  MeshVertex top, middle, bottom;
  int16_t topU, topV, middleU, middleV, bottomU, bottomV;
  const SurfaceDescriptor* surface;
};

std::vector<FillerCall>* recording = nullptr;
int64_t trianglesSeen = 0;

void recordingFiller(const MeshVertex* top, int16_t topU, int16_t topV, const MeshVertex* middle, int16_t middleU,
                     int16_t middleV, const MeshVertex* bottom, int16_t bottomU, int16_t bottomV,
                     const SurfaceDescriptor* surface) {
  recording->push_back({*top, *middle, *bottom, topU, topV, middleU, middleV, bottomU, bottomV, surface});
}

void countingFiller(const MeshVertex*, int16_t, int16_t, const MeshVertex*, int16_t, int16_t, const MeshVertex*,
                    int16_t, int16_t, const SurfaceDescriptor*) {
  ++trianglesSeen;
}

// The viewer at its start view, warmed up by a few whole frames.
struct StartView {
  bench::Viewer viewer;
  bool ready = false;
  explicit StartView(benchmark::State& state) {
    if (!viewer.loaded()) {
      state.SkipWithError("the panorama did not load");
      return;
    }
    viewer.startView(130, false);
    for (int32_t i = 0; i < 8; ++i) produceFrame();
    ready = true;
  }
};

void reportBaseline(benchmark::State& state, double stageSeconds, double baselineSeconds) {
  const double iterations = static_cast<double>(state.iterations());
  state.counters["stage_us"] = 1e6 * stageSeconds / iterations;
  state.counters["baseline_us"] = 1e6 * baselineSeconds / iterations;
  state.counters["vs_baseline"] = stageSeconds / baselineSeconds;
  state.SetLabel(bench::panoramaSource().sample ? "sample" : "synthetic");
  bench::Viewer::forgetCalls();
}

void BM_StageVertexPipeline(benchmark::State& state) {
  StartView view(state);
  if (!view.ready) return;
  renderContext.triangleFiller = countingFiller;
  trianglesSeen = 0;
  bench::MemoryBaseline baseline;
  double stageSeconds = 0, baselineSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    baselineSeconds += baseline.timedPass();
    state.ResumeTiming();
    const double start = bench::threadSeconds();
    updateFrame();
    benchmark::ClobberMemory();
    stageSeconds += bench::threadSeconds() - start;
  }
  state.counters["triangles"] = static_cast<double>(trianglesSeen) / static_cast<double>(state.iterations());
  reportBaseline(state, stageSeconds, baselineSeconds);
}
BENCHMARK(BM_StageVertexPipeline)->Unit(benchmark::kMicrosecond);

void BM_StageFill(benchmark::State& state) {
  StartView view(state);
  if (!view.ready) return;
  std::vector<FillerCall> calls;
  recording = &calls;
  renderContext.triangleFiller = recordingFiller;
  updateFrame();
  recording = nullptr;
  bench::MemoryBaseline baseline;
  double stageSeconds = 0, baselineSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    baselineSeconds += baseline.timedPass();  // leaves the buffer cleared, as the blit does
    state.ResumeTiming();
    const double start = bench::threadSeconds();
    for (const FillerCall& c : calls) {
      fillTriangleAffine(&c.top, c.topU, c.topV, &c.middle, c.middleU, c.middleV, &c.bottom, c.bottomU, c.bottomV,
                         c.surface);
    }
    benchmark::ClobberMemory();
    stageSeconds += bench::threadSeconds() - start;
  }
  state.counters["triangles"] = static_cast<double>(calls.size());
  reportBaseline(state, stageSeconds, baselineSeconds);
}
BENCHMARK(BM_StageFill)->Unit(benchmark::kMicrosecond);

void BM_StageBlit(benchmark::State& state) {
  StartView view(state);
  if (!view.ready) return;
  updateFrame();
  const std::vector<int32_t> frame(FrameBuffer, FrameBuffer + kFrameCells);
  bench::MemoryBaseline baseline;
  double stageSeconds = 0, baselineSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    baselineSeconds += baseline.timedPass();
    std::copy(frame.begin(), frame.end(), FrameBuffer);
    state.ResumeTiming();
    const double start = bench::threadSeconds();
    renderContext.blitFunction();
    benchmark::ClobberMemory();
    stageSeconds += bench::threadSeconds() - start;
  }
  reportBaseline(state, stageSeconds, baselineSeconds);
}
BENCHMARK(BM_StageBlit)->Unit(benchmark::kMicrosecond);

}  // namespace
