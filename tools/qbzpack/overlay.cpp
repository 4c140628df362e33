#include "qbzpack/overlay.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "qbzpack/image_input.h"
#include "qbzpack/png_input.h"
#include "qbzpack/quantise.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

RgbImage loadOverlayPicture(const std::string& path, Rgb background, const char* what) {
  // Only a PNG can hold transparency; anything else loads as usual.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  unsigned char magic[8] = {};
  if (!file || std::fread(magic, 1, sizeof magic, file.get()) != sizeof magic ||
      std::memcmp(magic, kPngSignature, sizeof magic) != 0) {
    return loadPicture(path, background);
  }
  std::rewind(file.get());
  const RgbaImage picture = readPng(file.get(), path);
  size_t seeThrough = 0;
  for (size_t i = 3; i < picture.samples.size(); i += 4) seeThrough += picture.samples[i] != 255;
  if (seeThrough > 0) {
    char colour[8];
    std::snprintf(colour, sizeof colour, "%02X%02X%02X", background.r, background.g, background.b);
    std::cerr << "qbzpack: warning: " << what << ": " << seeThrough << " of its pixels are transparent; the viewer "
              << "draws overlays opaque, so they are laid over --background " << colour << "\n";
  }
  return compositeOver(picture, background);
}

OverlayPixels overlayFromPicture(const RgbImage& picture, bool dither, const char* what) {
  if (picture.width > kScreenWidth || picture.height > kScreenHeight) {
    throw ToolError(std::string(what) + " is " + std::to_string(picture.width) + " x " +
                    std::to_string(picture.height) + " pixels; the screen is only 240 x 320");
  }
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
