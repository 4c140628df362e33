// A synthetic panorama that shows its own orientation: each face its own
// colour, brightening to the right and towards the top, with dark lines on
// the tile boundaries and a white mark in the top-left corner.
#pragma once

#include <cstdint>

#include "panorama/container_writer.h"

namespace golden {

// Colour index with levels 0..31; brightness bit 0 left 0 (the renderer adds 1).
constexpr uint16_t colourIndex(uint32_t r, uint32_t g, uint32_t b) {
  return static_cast<uint16_t>((r << 11) | (g << 6) | (b << 1));
}

inline PanoramaImage gridPanorama(uint32_t faceSize, uint32_t tileSize) {
  // front red, right green, back blue, left yellow, up cyan, down magenta
  static constexpr uint32_t kFaceColours[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
  PanoramaImage image;
  image.faceSize = faceSize;
  image.tileSize = tileSize;
  image.pixels.resize(storePixelCount(faceSize, tileSize));
  const uint32_t tiles = faceSize / tileSize;
  size_t k = 0;
  for (uint32_t face = 0; face < 6; ++face) {
    for (uint32_t j = 0; j < tiles; ++j) {
      for (uint32_t i = 0; i < tiles; ++i) {
        for (uint32_t v = 0; v < tileSize; ++v) {
          for (uint32_t u = 0; u < tileSize; ++u) {
            const uint32_t a = i * tileSize + u;  // column, left to right
            const uint32_t b = j * tileSize + v;  // row, bottom to top
            uint16_t pixel;
            if (u == 0 || v == 0) {
              pixel = colourIndex(2, 2, 2);
            } else if (a < faceSize / 4 && b >= faceSize - faceSize / 4) {
              pixel = colourIndex(31, 31, 31);
            } else {
              const uint32_t level = 8 + (a + b) * 23 / (2 * faceSize);
              pixel = colourIndex(kFaceColours[face][0] * level, kFaceColours[face][1] * level,
                                  kFaceColours[face][2] * level);
            }
            image.pixels[k++] = pixel;
          }
        }
      }
    }
  }
  return image;
}

}  // namespace golden
