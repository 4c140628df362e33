// Test support for the panorama loader: a headless backend whose executable
// and "\Temp\Test.QBZ" are files in a fresh temporary directory, and helpers
// that make and patch container files.
#pragma once

#include <gtest/gtest.h>
#include "panorama/container_format.h"
#include "panorama/container_writer.h"
#include "panorama/cube_scene.h"
#include "panorama/panorama_container.h"
#include "platform/atomic_file.h"
#include "platform/headless/headless_backend.h"
#include "support/headless_fixture.h"
#include "support/scratch_directory.h"

namespace panorama_test {

using Bytes = std::vector<uint8_t>;

// Pixel k is (k * step + offset) mod 65536: every tile differs, and so do two offsets.
inline PanoramaImage patternImage(uint32_t faceSize, uint32_t tileSize, uint32_t offset = 0, uint32_t step = 1) {
  PanoramaImage image{faceSize, tileSize, 0, std::vector<uint16_t>(storePixelCount(faceSize, tileSize))};
  for (size_t k = 0; k < image.pixels.size(); ++k) image.pixels[k] = static_cast<uint16_t>(k * step + offset);
  return image;
}

inline ContainerTrailer trailerOf(const Bytes& file) { return decodeContainerTrailer(&*(file.end() - kContainerTrailerBytes)); }
// The file with its header or trailer changed.
template <class Change>
Bytes withHeader(Bytes file, Change change) {
  ContainerHeader header = decodeContainerHeader(file.data());
  change(header);
  encodeContainerHeader(header, file.data());
  return file;
}
template <class Change>
Bytes withTrailer(Bytes file, Change change) {
  ContainerTrailer trailer = trailerOf(file);
  change(trailer);
  encodeContainerTrailer(trailer, &*(file.end() - kContainerTrailerBytes));
  return file;
}

// A stand-in for the viewer's executable image: bytes 1..255 over and over, no NUL.
inline Bytes executablePrefix(size_t size = 1000) {
  Bytes prefix(size);
  for (size_t k = 0; k < size; ++k) prefix[k] = static_cast<uint8_t>(k % 255 + 1);
  return prefix;
}

class PanoramaFiles : public HeadlessTest {
 protected:
  void SetUp() override {
    platform::HeadlessOptions options;
    options.moduleFile = pathIn("viewer.exe");
    options.standaloneFile = pathIn("Test.QBZ");
    useBackend(options);
    startUp();
  }
  // Nothing loaded, and the extras of start-up: cleared, then the default zoom limits.
  static void startUp() {
    releaseCubeScene(), panoramaContainer.release();
    panoramaContainer.settings.zoomMin = 130, panoramaContainer.settings.zoomMax = 240;
  }

  std::string pathIn(const std::string& name) const { return scratch_.path(name); }
  void writeModule(const Bytes& bytes) { ASSERT_TRUE(platform::writeFileAtomically(pathIn("viewer.exe"), bytes)); }
  void writeStandalone(const Bytes& bytes) { ASSERT_TRUE(platform::writeFileAtomically(pathIn("Test.QBZ"), bytes)); }
  bool loadStandalone(const Bytes& container) {
    writeStandalone(container);
    return panoramaContainer.loadFile(kStandaloneContainerPath);
  }

 private:
  ScratchDirectory scratch_;
};

}  // namespace panorama_test
