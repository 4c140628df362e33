// Start-up cost of the panorama: loading a compressed 512/32 container (the
// bundled sample when found, else a synthetic one of the same geometry) and
// building the cube scene from it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "panorama/cube_scene.h"
#include "panorama/panorama_container.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "viewer_setup.h"

namespace {

// The backend through which the loader reads the panorama file.
struct PanoramaFiles {
  platform::HeadlessBackend backend{bench::panoramaOptions()};
  PanoramaFiles() { platform::installBackend(&backend); }
  ~PanoramaFiles() { platform::installBackend(nullptr); }
};

void labelSource(benchmark::State& state) {
  std::error_code error;
  state.counters["fileBytes"] = static_cast<double>(std::filesystem::file_size(bench::panoramaSource().path, error));
  state.SetLabel(bench::panoramaSource().sample ? "sample" : "synthetic");
}

void BM_LoadCompressedContainer(benchmark::State& state) {
  PanoramaFiles files;
  const char* path = bench::panoramaSource().path.c_str();
  for (auto _ : state) {
    const bool loaded = panoramaContainer.loadFile(path);
    benchmark::DoNotOptimize(loaded);
    if (!loaded) state.SkipWithError("the container did not load");
    state.PauseTiming();
    panoramaContainer.release();
    state.ResumeTiming();
  }
  labelSource(state);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 3145728);
}
BENCHMARK(BM_LoadCompressedContainer)->Unit(benchmark::kMillisecond);

void BM_BuildCubeScene(benchmark::State& state) {
  PanoramaFiles files;
  for (auto _ : state) {
    const bool built = buildCubeScene();
    benchmark::DoNotOptimize(built);
    if (!built) state.SkipWithError("the scene was not built");
    state.PauseTiming();
    releaseCubeScene();
    panoramaContainer.release();
    state.ResumeTiming();
  }
  labelSource(state);
}
BENCHMARK(BM_BuildCubeScene)->Unit(benchmark::kMillisecond);

}  // namespace
