// What the tool hands to the container writer: the panorama in store order and,
// for a self-contained viewer, the trailer's extras. The only file of the tool
// that knows how the writer is called.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "panorama/container_format.h"

namespace qbzpack {

struct PanoramaImage {
  uint32_t faceSize = 0;
  uint32_t tileSize = 0;
  int32_t drawMode = 0;
  std::vector<uint16_t> pixels;  // store order, 6 * faceSize^2 values
};

struct AppendedExtras {
  ViewerSettings settings{};
  std::string banner, caption;              // empty: none
  std::vector<uint16_t> overlay1, overlay2;  // sizes in settings; empty: none
};

// A stand-alone container: header and pixel store, deflated when compress.
std::vector<uint8_t> containerBytes(const PanoramaImage& image, bool compress);
// The viewer executable followed by the container, texts, overlays and trailer.
std::vector<uint8_t> selfContainedBytes(const std::vector<uint8_t>& viewer, const std::vector<uint8_t>& container,
                                        const AppendedExtras& extras);

}  // namespace qbzpack
