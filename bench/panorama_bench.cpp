// Start-up cost of the panorama: loading a compressed 512/32 container (the
// shipped geometry, 3 MiB of store) and building the cube scene from it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "panorama/container_writer.h"
#include "panorama/cube_scene.h"
#include "panorama/panorama_container.h"
#include "platform/headless/headless_backend.h"

namespace {

// A picture-like panorama: smooth gradients with a little noise, so that the
// stream compresses about as well as a photograph's colour indices do.
PanoramaImage gradientPanorama() {
  PanoramaImage image;
  image.faceSize = 512;
  image.tileSize = 32;
  image.pixels.resize(storePixelCount(512, 32));
  uint32_t noise = 1;
  for (size_t k = 0; k < image.pixels.size(); ++k) {
    noise = noise * 1103515245u + 12345u;
    const uint32_t texel = static_cast<uint32_t>(k & 1023);
    const uint32_t tile = static_cast<uint32_t>(k >> 10);
    image.pixels[k] = static_cast<uint16_t>(((texel & 31) + tile) << 11 | (texel >> 5) << 5 | (noise >> 29));
  }
  return image;
}

struct BenchFiles {
  std::string path;
  size_t fileBytes = 0;
  std::unique_ptr<platform::HeadlessBackend> backend;

  BenchFiles() {
    path = (std::filesystem::temp_directory_path() / ("qbz_bench_panorama_" + std::to_string(::getpid()) + ".qbz"))
               .string();
    const std::vector<uint8_t> container = encodeContainer(gradientPanorama(), true);
    fileBytes = container.size();
    writeFileAtomically(path, container);
    platform::HeadlessOptions options;
    options.moduleFile = path + ".missing";  // no appended container: the file is used
    options.standaloneFile = path;
    backend = std::make_unique<platform::HeadlessBackend>(options);
    platform::installBackend(backend.get());
  }
  ~BenchFiles() {
    std::error_code error;
    std::filesystem::remove(path, error);
  }
};

BenchFiles& benchFiles() {
  static BenchFiles files;
  return files;
}

void BM_LoadCompressedContainer(benchmark::State& state) {
  BenchFiles& files = benchFiles();
  for (auto _ : state) {
    const bool loaded = panoramaContainer.loadFile(files.path.c_str());
    benchmark::DoNotOptimize(loaded);
    if (!loaded) state.SkipWithError("the container did not load");
    panoramaContainer.release();
  }
  state.counters["fileBytes"] = static_cast<double>(files.fileBytes);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 3145728);
}
BENCHMARK(BM_LoadCompressedContainer)->Unit(benchmark::kMillisecond);

void BM_BuildCubeScene(benchmark::State& state) {
  benchFiles();
  for (auto _ : state) {
    const bool built = buildCubeScene();
    benchmark::DoNotOptimize(built);
    if (!built) state.SkipWithError("the scene was not built");
    releaseCubeScene();
    panoramaContainer.release();
  }
}
BENCHMARK(BM_BuildCubeScene)->Unit(benchmark::kMillisecond);

}  // namespace
