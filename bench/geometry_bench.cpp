// The cost of a frame against the panorama's geometry: the bundled picture
// packed by qbzpack at 512/32, 2048/32, 2048/16 and 2048/8 (face/tile edge;
// the bench_panoramas target makes them), a full auto-rotation turn at zoom
// 130, reported per frame. Run side by side in one process so that the
// ratios to 512/32 compare like with like on a shared machine.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "memory_baseline.h"
#include "shell/application.h"
#include "viewer_setup.h"

#ifndef QBZ_BENCH_GEOMETRY_DIR
#define QBZ_BENCH_GEOMETRY_DIR ""
#endif

namespace {

constexpr uint32_t kZoom = 130;

void BM_GeometrySpin(benchmark::State& state) {
  const std::string path = std::string(QBZ_BENCH_GEOMETRY_DIR) + "/mars-" + std::to_string(state.range(0)) + "-" +
                           std::to_string(state.range(1)) + ".qbz";
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    state.SkipWithError("no panorama: build the bench_panoramas target first");
    return;
  }
  bench::Viewer viewer(platform::DeviceClass::Generic, path);
  if (!viewer.loaded()) {
    state.SkipWithError("the panorama did not load");
    return;
  }
  viewer.startView(kZoom, true);
  const int32_t framesPerIteration = bench::Viewer::spinFrames(kZoom);
  for (int32_t i = 0; i < 8; ++i) produceFrame();
  double frameSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    viewer.rewind();
    state.ResumeTiming();
    const double start = bench::threadSeconds();
    for (int32_t f = 0; f < framesPerIteration; ++f) produceFrame();
    benchmark::ClobberMemory();
    frameSeconds += bench::threadSeconds() - start;
  }
  state.counters["frame_us"] = 1e6 * frameSeconds / (static_cast<double>(state.iterations()) * framesPerIteration);
  bench::Viewer::forgetCalls();
}

BENCHMARK(BM_GeometrySpin)
    ->ArgNames({"face", "tile"})
    ->Args({512, 32})
    ->Args({2048, 32})
    ->Args({2048, 16})
    ->Args({2048, 8})
    ->Unit(benchmark::kMillisecond);

}  // namespace
