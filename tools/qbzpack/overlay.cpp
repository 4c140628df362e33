#include "qbzpack/overlay.h"

#include <cstdio>
#include <iostream>
#include <string>

#include "qbzpack/image_input.h"
#include "qbzpack/quantise.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

RgbImage loadOverlayPicture(const std::string& path, Rgb background, const char* what) {
  const RowPicture picture =
      decodePicture(path, background, [what](uint32_t w, uint32_t h) { checkOverlaySize(w, h, what); });
  if (picture.seeThroughPixels() > 0) {
    char colour[8];
    std::snprintf(colour, sizeof colour, "%02X%02X%02X", background.r, background.g, background.b);
    std::cerr << "qbzpack: warning: " << what << ": " << picture.seeThroughPixels() << " of its pixels are "
              << "transparent; the viewer draws overlays opaque, so they are laid over --background " << colour << "\n";
  }
  return picture.toImage();
}

void checkOverlaySize(uint32_t width, uint32_t height, const char* what) {
  if (width > kScreenWidth || height > kScreenHeight) {
    throw ToolError(std::string(what) + " is " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels; the screen is only 240 x 320");
  }
}

OverlayPixels overlayFromPicture(const RgbImage& picture, bool dither, const char* what) {
  checkOverlaySize(picture.width, picture.height, what);
  const std::vector<uint16_t> topFirst = quantisePicture(picture, dither);
  OverlayPixels overlay;
  overlay.width = picture.width;
  overlay.height = picture.height;
  overlay.pixels.reserve(topFirst.size());
  for (uint32_t row = picture.height; row-- > 0;) {
    const auto begin = topFirst.begin() + static_cast<std::ptrdiff_t>(size_t{row} * picture.width);
    overlay.pixels.insert(overlay.pixels.end(), begin, begin + picture.width);
  }
  return overlay;
}

}  // namespace qbzpack
