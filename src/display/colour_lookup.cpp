#include "display/colour_lookup.h"

#include <cstddef>
#include <vector>

uint16_t ColourLookup[65536];

namespace {

constexpr int32_t kLevels = 32;
constexpr size_t kLevelTriples = kLevels * kLevels * kLevels;

// A 5-bit level v stands for the 8-bit intensity 8v + 7.
constexpr uint16_t intensityOfLevel(int32_t level) { return static_cast<uint16_t>(8 * level + 7); }

// The 5-6-5 pixel of intensities (R, G, B) scaled by k / 2: k = 1 half, k = 2 full brightness.
uint16_t displayPixel(int32_t red, int32_t green, int32_t blue, int32_t k) {
  const int32_t pixel = (((k * red) / 2) >> 3) * 2048 + (((k * green) / 2) >> 2) * 32 + (((k * blue) / 2) >> 3);
  return static_cast<uint16_t>(pixel);
}

}  // namespace

void buildColourLookup() {
  // Intensity triples for every (r, g, b) level, r outermost: entry r * 1024 + g * 32 + b.
  std::vector<uint16_t> intensities(kLevelTriples * 3);
  size_t entry = 0;
  for (int32_t r = 0; r < kLevels; ++r) {
    for (int32_t g = 0; g < kLevels; ++g) {
      for (int32_t b = 0; b < kLevels; ++b) {
        intensities[3 * entry + 0] = intensityOfLevel(r);
        intensities[3 * entry + 1] = intensityOfLevel(g);
        intensities[3 * entry + 2] = intensityOfLevel(b);
        ++entry;
      }
    }
  }
  // The colour index is (r, g, b) << 1 with the brightness bit below: even half, odd full.
  for (size_t i = 0; i < kLevelTriples; ++i) {
    const int32_t red = intensities[3 * i + 0];
    const int32_t green = intensities[3 * i + 1];
    const int32_t blue = intensities[3 * i + 2];
    ColourLookup[2 * i] = displayPixel(red, green, blue, 1);
    ColourLookup[2 * i + 1] = displayPixel(red, green, blue, 2);
  }
  // The temporary table is needed only while building: release it now.
  std::vector<uint16_t>().swap(intensities);
}
