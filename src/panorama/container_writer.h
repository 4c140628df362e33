// Writes panorama containers: the exact inverse of the loader. Used by the
// authoring tool and by the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "panorama/container_format.h"

// A panorama in store order: faces 0..5, tiles row by row, texels row-major
// (storePixelCount(faceSize, tileSize) values).
struct PanoramaImage {
  uint32_t faceSize = 0;
  uint32_t tileSize = 0;
  int32_t drawMode = 0;
  std::vector<uint16_t> pixels;
};

// Header followed by the raw store, or by the store deflated (zlib, level 9)
// with its first 18 bytes scrambled. Empty when the image is refused: a
// geometry the loader rejects, a pixel count that does not match it, or a
// compressed stream shorter than the 18 scrambled bytes (only tiny, plain
// stores such as one of 2-pixel faces compress that far; write those raw).
std::vector<uint8_t> encodeContainer(const PanoramaImage& image, bool compress);

// What the trailer of an appended container carries besides the container.
// An empty text or overlay is left out (offset 0). The overlay sizes are
// taken from the settings.
struct AppendedExtras {
  ViewerSettings settings{};
  std::string banner;
  std::string caption;
  std::vector<uint16_t> overlay1;  // bottom-up rows of overlay1Width pixels
  std::vector<uint16_t> overlay2;
};

// prefix (an executable, or nothing), the container, the texts with their
// NULs, the overlay pixels and the 108-byte trailer with absolute offsets.
// Empty when refused: a text longer than 99 characters or holding a NUL, an
// overlay whose pixel count differs from width x height of the settings or
// whose size lies outside 1..240 by 1..320, or a file of 2 GiB or more.
std::vector<uint8_t> encodeAppended(const std::vector<uint8_t>& prefix, const std::vector<uint8_t>& container,
                                    const AppendedExtras& extras);
