// In-memory pictures of the tool: 8-bit channels, rows top first, as image
// files hold them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qbzpack {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

template <int Channels>
struct Image {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> samples;  // width * height * Channels, row-major

  Image() = default;
  Image(uint32_t w, uint32_t h) : width(w), height(h), samples(size_t{w} * h * Channels) {}
  uint8_t* at(uint32_t x, uint32_t y) { return samples.data() + (size_t{y} * width + x) * Channels; }
  const uint8_t* at(uint32_t x, uint32_t y) const { return samples.data() + (size_t{y} * width + x) * Channels; }
};

using RgbImage = Image<3>;
using RgbaImage = Image<4>;

inline Rgb pixelAt(const RgbImage& image, uint32_t x, uint32_t y) {
  const uint8_t* p = image.at(x, y);
  return {p[0], p[1], p[2]};
}

inline void setPixel(RgbImage& image, uint32_t x, uint32_t y, Rgb colour) {
  uint8_t* p = image.at(x, y);
  p[0] = colour.r;
  p[1] = colour.g;
  p[2] = colour.b;
}

// Largest picture any loader accepts, checked before anything is allocated.
constexpr uint32_t kMaxImageEdge = 16384;
constexpr uint64_t kMaxImagePixels = uint64_t{1} << 28;

}  // namespace qbzpack
