#include "qbzpack/row_picture.h"

#include <algorithm>
#include <cstring>

namespace qbzpack {

RowPicture::RowPicture(uint32_t width, uint32_t height, uint32_t channels)
    : width_(width), height_(height), rowBytes_(size_t{width} * channels), bands_((height + kBandMask) >> kBandShift) {}

uint8_t* RowPicture::rowForWriting(uint32_t y) {
  std::unique_ptr<uint8_t[]>& band = bands_[y >> kBandShift];
  if (!band) {
    const uint32_t rows = std::min(height_ - (y & ~kBandMask), kBandMask + 1);
    // Left uninitialised: every row is written by the decoder before it is read.
    band.reset(new uint8_t[rows * rowBytes_]);
  }
  return band.get() + (y & kBandMask) * rowBytes_;
}

RgbImage RowPicture::toImage() const {
  RgbImage image(width_, height_);
  for (uint32_t y = 0; y < height_; ++y) std::memcpy(image.at(0, y), row(y), size_t{width_} * 3);
  return image;
}

RowPicture RowPicture::fromImage(const RgbImage& image) {
  RowPicture picture(image.width, image.height);
  for (uint32_t y = 0; y < image.height; ++y) {
    std::memcpy(picture.rowForWriting(y), image.at(0, y), size_t{image.width} * 3);
  }
  return picture;
}

}  // namespace qbzpack
