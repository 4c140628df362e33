#include "qbzpack/image_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "qbzpack/jpeg_input.h"
#include "qbzpack/png_input.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

uint8_t blend(uint8_t value, uint8_t background, uint32_t alpha) {
  return static_cast<uint8_t>((value * alpha + background * (255 - alpha) + 127) / 255);
}

}  // namespace

RgbImage compositeOver(const RgbaImage& image, Rgb background) {
  RgbImage flat(image.width, image.height);
  const size_t pixels = size_t{image.width} * image.height;
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t* in = &image.samples[i * 4];
    uint8_t* out = &flat.samples[i * 3];
    out[0] = blend(in[0], background.r, in[3]);
    out[1] = blend(in[1], background.g, in[3]);
    out[2] = blend(in[2], background.b, in[3]);
  }
  return flat;
}

RgbImage loadPicture(const std::string& path, Rgb background) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw ToolError(path + ": cannot open (" + std::strerror(errno) + ")");
  unsigned char magic[8] = {};
  const size_t got = std::fread(magic, 1, sizeof magic, file.get());
  std::rewind(file.get());
  static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (got == sizeof magic && std::memcmp(magic, kPngSignature, 8) == 0) {
    return compositeOver(readPng(file.get(), path), background);
  }
  if (got >= 3 && magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF) {
    return readJpeg(file.get(), path);
  }
  throw ToolError(path + ": not a PNG or JPEG picture");
}

}  // namespace qbzpack
