// An 8-bit picture (RGB unless said otherwise) filled row by row as a file is
// decoded. Memory is taken
// in bands of rows as the rows arrive, so a file that declares a large size
// but holds little data costs little before the decoder finds it short.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "qbzpack/image.h"

namespace qbzpack {

class RowPicture {
 public:
  RowPicture() = default;
  RowPicture(uint32_t width, uint32_t height, uint32_t channels = 3);

  uint32_t width() const { return width_; }
  uint32_t height() const { return height_; }
  // The row for the decoder to fill (width * channels bytes); its band is taken on first use.
  uint8_t* rowForWriting(uint32_t y);
  // A row already written.
  const uint8_t* row(uint32_t y) const { return bands_[y >> kBandShift].get() + (y & kBandMask) * rowBytes_; }

  RgbImage toImage() const;  // an RGB picture only

  // How many pixels were not opaque before they were laid over the background.
  uint64_t seeThroughPixels() const { return seeThrough_; }
  void addSeeThrough(uint64_t pixels) { seeThrough_ += pixels; }
  static RowPicture fromImage(const RgbImage& image);

 private:
  static constexpr uint32_t kBandShift = 6;  // 64 rows a band
  static constexpr uint32_t kBandMask = (1u << kBandShift) - 1;
  uint32_t width_ = 0, height_ = 0;
  size_t rowBytes_ = 0;
  uint64_t seeThrough_ = 0;
  std::vector<std::unique_ptr<uint8_t[]>> bands_;
};

}  // namespace qbzpack
