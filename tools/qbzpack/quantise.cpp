#include "qbzpack/quantise.h"

#include <algorithm>

#include "qbzpack/colour_index.h"

namespace qbzpack {

// Floyd-Steinberg diffusion on a serpentine path: rows run alternately left to
// right and right to left, and the kernel is mirrored with them. On a plain
// left-to-right raster the error always leaks the same way, and a flat area
// whose colour lies between two levels shows diagonal "worms" crawling
// across it; alternating the direction breaks them up.
std::vector<uint16_t> quantisePicture(const RgbImage& picture, bool dither) {
  const uint32_t width = picture.width, height = picture.height;
  std::vector<uint16_t> indices(size_t{width} * height);
  float lowest[3], highest[3];
  for (int c = 0; c < 3; ++c) {
    lowest[c] = static_cast<float>(shownIntensities(c).front());
    highest[c] = static_cast<float>(shownIntensities(c).back());
  }
  // Error carried into the current and the next row, per channel, with one
  // spare cell on each side so the kernel never needs a bounds test.
  std::vector<float> current((width + 2) * 3, 0.0f), next((width + 2) * 3, 0.0f);
  for (uint32_t y = 0; y < height; ++y) {
    const bool leftward = dither && y % 2 == 1;
    for (uint32_t step = 0; step < width; ++step) {
      const uint32_t x = leftward ? width - 1 - step : step;
      const uint8_t* in = picture.at(x, y);
      int levels[3];
      for (int c = 0; c < 3; ++c) {
        const size_t cell = (x + 1) * 3 + c;
        // The neighbours ahead on this row's path and behind it.
        const size_t ahead = leftward ? cell - 3 : cell + 3, behind = leftward ? cell + 3 : cell - 3;
        // The target is kept within the intensities that levels can show, so
        // the error of an unreachable colour cannot pile up.
        const float wanted = std::clamp(in[c] + (dither ? current[cell] : 0.0f), lowest[c], highest[c]);
        levels[c] = nearestLevel(c, wanted);
        if (!dither) continue;
        const float error = wanted - static_cast<float>(shownIntensities(c)[levels[c]]);
        current[ahead] += error * (7.0f / 16.0f);
        next[behind] += error * (3.0f / 16.0f);
        next[cell] += error * (5.0f / 16.0f);
        next[ahead] += error * (1.0f / 16.0f);
      }
      indices[size_t{y} * width + x] = packLevels(levels[0], levels[1], levels[2], 0);
    }
    current.swap(next);
    std::fill(next.begin(), next.end(), 0.0f);
  }
  return indices;
}

}  // namespace qbzpack
