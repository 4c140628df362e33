// Test support for the panorama loader: a headless backend whose executable
// and "\Temp\Test.QBZ" are files in a fresh temporary directory, and helpers
// that make and patch container files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "panorama/container_format.h"
#include "panorama/container_writer.h"
#include "panorama/cube_scene.h"
#include "panorama/panorama_container.h"
#include "platform/headless/headless_backend.h"

namespace panorama_test {

using Bytes = std::vector<uint8_t>;

// A panorama whose pixel k is (k * step + offset) mod 65536, so that every
// tile differs and two images with different offsets never agree.
inline PanoramaImage patternImage(uint32_t faceSize, uint32_t tileSize, uint32_t offset = 0, uint32_t step = 1,
                                  int32_t drawMode = 0) {
  PanoramaImage image;
  image.faceSize = faceSize;
  image.tileSize = tileSize;
  image.drawMode = drawMode;
  image.pixels.resize(storePixelCount(faceSize, tileSize));
  for (size_t k = 0; k < image.pixels.size(); ++k) image.pixels[k] = static_cast<uint16_t>(k * step + offset);
  return image;
}

inline ContainerHeader headerOf(const Bytes& file, size_t at = 0) { return decodeContainerHeader(file.data() + at); }
inline void setHeader(Bytes& file, const ContainerHeader& header, size_t at = 0) {
  encodeContainerHeader(header, file.data() + at);
}
inline ContainerTrailer trailerOf(const Bytes& file) {
  return decodeContainerTrailer(file.data() + file.size() - kContainerTrailerBytes);
}
inline void setTrailer(Bytes& file, const ContainerTrailer& trailer) {
  encodeContainerTrailer(trailer, file.data() + file.size() - kContainerTrailerBytes);
}

// The start-up state of the extras: cleared, then the default zoom limits.
inline void startUpExtras() {
  panoramaContainer.clearExtras();
  panoramaContainer.settings.zoomMin = 130;
  panoramaContainer.settings.zoomMax = 240;
}

inline std::vector<uint16_t> storeOf(const PanoramaContainer& container) {
  if (container.pixels == nullptr) return {};
  return std::vector<uint16_t>(container.pixels, container.pixels + container.totalPixels);
}

class PanoramaFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    directory_ = std::filesystem::temp_directory_path() /
                 ("qbz_panorama_" + std::to_string(::getpid()) + "_" + info->name());
    std::filesystem::remove_all(directory_);
    std::filesystem::create_directories(directory_);
    modulePath = (directory_ / "viewer.exe").string();
    standalonePath = (directory_ / "Test.QBZ").string();
    platform::HeadlessOptions options;
    options.moduleFile = modulePath;
    options.standaloneFile = standalonePath;
    backend_ = std::make_unique<platform::HeadlessBackend>(options);
    platform::installBackend(backend_.get());
    releaseCubeScene();
    panoramaContainer.release();
  }

  void TearDown() override {
    releaseCubeScene();
    panoramaContainer.release();
    platform::installBackend(nullptr);
    std::filesystem::remove_all(directory_);
  }

  void writeModule(const Bytes& bytes) { ASSERT_TRUE(writeFileAtomically(modulePath, bytes)); }
  void writeStandalone(const Bytes& bytes) { ASSERT_TRUE(writeFileAtomically(standalonePath, bytes)); }
  std::string pathIn(const std::string& name) const { return (directory_ / name).string(); }

  // A stand-in for the viewer's executable image.
  static Bytes executablePrefix(size_t size = 1000) {
    Bytes prefix(size);
    for (size_t k = 0; k < size; ++k) prefix[k] = static_cast<uint8_t>(k * 31 + 7);
    return prefix;
  }

  // Writes a stand-alone container and loads it through loadFile.
  bool loadStandalone(const Bytes& container) {
    writeStandalone(container);
    return panoramaContainer.loadFile(kStandaloneContainerPath);
  }

  std::string modulePath;
  std::string standalonePath;

 private:
  std::filesystem::path directory_;
  std::unique_ptr<platform::HeadlessBackend> backend_;
};

}  // namespace panorama_test
