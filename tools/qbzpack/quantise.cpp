#include "qbzpack/quantise.h"

#include <algorithm>

#include "qbzpack/colour_index.h"

namespace qbzpack {

std::vector<uint16_t> quantisePicture(const RgbImage& picture, bool dither) {
  const uint32_t width = picture.width, height = picture.height;
  std::vector<uint16_t> indices(size_t{width} * height);
  // Error carried into the current and the next row, per channel, with one
  // spare cell on each side so the kernel never needs a bounds test.
  std::vector<float> current((width + 2) * 3, 0.0f), next((width + 2) * 3, 0.0f);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* in = picture.at(x, y);
      int levels[3];
      for (int c = 0; c < 3; ++c) {
        const size_t cell = (x + 1) * 3 + c;
        // The target is kept within the intensities that levels can show
        // (7..255), so the error of an unreachable colour cannot pile up.
        const float wanted = std::clamp(in[c] + (dither ? current[cell] : 0.0f), 7.0f, 255.0f);
        levels[c] = nearestLevel(wanted);
        if (!dither) continue;
        const float error = wanted - static_cast<float>(levelIntensity(levels[c]));
        current[cell + 3] += error * (7.0f / 16.0f);
        next[cell - 3] += error * (3.0f / 16.0f);
        next[cell] += error * (5.0f / 16.0f);
        next[cell + 3] += error * (1.0f / 16.0f);
      }
      indices[size_t{y} * width + x] = packLevels(levels[0], levels[1], levels[2], 0);
    }
    current.swap(next);
    std::fill(next.begin(), next.end(), 0.0f);
  }
  return indices;
}

}  // namespace qbzpack
