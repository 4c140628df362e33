#include "platform/screen_capture.h"

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/emulated_display.h"
#include "platform/pixel_widening.h"

namespace platform {

namespace {

bool isWholeScreen(const std::vector<uint16_t>& screen) { return screen.size() == static_cast<size_t>(kScreenPixels); }

// The raw form: each pixel as two bytes, low byte first.
std::vector<uint8_t> littleEndianBytes(const std::vector<uint16_t>& screen) {
  std::vector<uint8_t> bytes;
  bytes.reserve(screen.size() * 2);
  for (uint16_t pixel : screen) {
    bytes.push_back(static_cast<uint8_t>(pixel & 0xFF));
    bytes.push_back(static_cast<uint8_t>(pixel >> 8));
  }
  return bytes;
}

// 8-bit RGB, each channel widened by repeating its top bits below it.
std::vector<uint8_t> rgbBytes(const std::vector<uint16_t>& screen) {
  std::vector<uint8_t> rgb;
  rgb.reserve(screen.size() * 3);
  for (uint16_t pixel : screen) {
    rgb.push_back(widenRed(pixel));
    rgb.push_back(widenGreen(pixel));
    rgb.push_back(widenBlue(pixel));
  }
  return rgb;
}

// A reader never sees a half-written file: write beside it, then rename.
std::string temporaryPathFor(const std::string& path) { return path + ".partial"; }

bool replaceWith(const std::string& temporary, const std::string& path) {
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) std::filesystem::remove(temporary, error);
  return !error;
}

void discard(const std::string& temporary) {
  std::error_code error;
  std::filesystem::remove(temporary, error);
}

}  // namespace

bool writeRawScreen(const std::string& path, const std::vector<uint16_t>& screen) {
  if (!isWholeScreen(screen) || path.empty()) return false;
  const std::vector<uint8_t> bytes = littleEndianBytes(screen);
  const std::string temporary = temporaryPathFor(path);
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    discard(temporary);
    return false;
  }
  return replaceWith(temporary, path);
}

bool writePngScreen(const std::string& path, const std::vector<uint16_t>& screen) {
  if (!isWholeScreen(screen) || path.empty()) return false;
  const std::vector<uint8_t> rgb = rgbBytes(screen);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = kScreenWidth;
  image.height = kScreenHeight;
  image.format = PNG_FORMAT_RGB;
  const std::string temporary = temporaryPathFor(path);
  const int ok = png_image_write_to_file(&image, temporary.c_str(), 0, rgb.data(), kScreenWidth * 3, nullptr);
  png_image_free(&image);
  if (ok == 0) {
    discard(temporary);
    return false;
  }
  return replaceWith(temporary, path);
}

uint64_t screenHash(const std::vector<uint16_t>& screen) {
  constexpr uint64_t kOffsetBasis = 14695981039346656037ull;
  constexpr uint64_t kPrime = 1099511628211ull;
  uint64_t hash = kOffsetBasis;
  for (uint16_t pixel : screen) {
    hash = (hash ^ (pixel & 0xFFu)) * kPrime;
    hash = (hash ^ (pixel >> 8)) * kPrime;
  }
  return hash;
}

}  // namespace platform
