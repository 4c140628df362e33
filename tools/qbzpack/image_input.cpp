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

// Thrown by the size check of readPictureSize to stop after the header.
struct HeaderRead {};

}  // namespace

size_t compositeRow(const uint8_t* rgba, uint32_t width, Rgb background, uint8_t* rgb) {
  size_t seeThrough = 0;
  for (uint32_t x = 0; x < width; ++x, rgba += 4, rgb += 3) {
    rgb[0] = blend(rgba[0], background.r, rgba[3]);
    rgb[1] = blend(rgba[1], background.g, rgba[3]);
    rgb[2] = blend(rgba[2], background.b, rgba[3]);
    seeThrough += rgba[3] != 255;
  }
  return seeThrough;
}

RgbImage compositeOver(const RgbaImage& image, Rgb background) {
  RgbImage flat(image.width, image.height);
  for (uint32_t y = 0; y < image.height; ++y) compositeRow(image.at(0, y), image.width, background, flat.at(0, y));
  return flat;
}

RowPicture decodePicture(const std::string& path, Rgb background, const SizeCheck& check) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw ToolError(path + ": cannot open (" + std::strerror(errno) + ")");
  unsigned char magic[8] = {};
  const size_t got = std::fread(magic, 1, sizeof magic, file.get());
  std::rewind(file.get());
  static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (got == sizeof magic && std::memcmp(magic, kPngSignature, 8) == 0) {
    return readPng(file.get(), path, background, check);
  }
  if (got >= 3 && magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF) {
    return readJpeg(file.get(), path, check);
  }
  throw ToolError(path + ": not a PNG or JPEG picture");
}

RgbImage loadPicture(const std::string& path, Rgb background, const SizeCheck& check) {
  return decodePicture(path, background, check).toImage();
}

PictureSize readPictureSize(const std::string& path) {
  PictureSize size;
  try {
    decodePicture(path, {}, [&size](uint32_t width, uint32_t height) {
      size = {width, height};
      throw HeaderRead{};
    });
  } catch (const HeaderRead&) {
  }
  return size;
}

}  // namespace qbzpack
