#include "platform/screen_capture.h"

#include "platform/emulated_display.h"
#include "platform/pixel_widening.h"
#include "platform/png_writer.h"

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

}  // namespace

FileWrite writeRawScreen(const std::string& path, const std::vector<uint16_t>& screen) {
  if (!isWholeScreen(screen)) return {"cannot write " + path + " (not a whole screen)"};
  return writeFileAtomically(path, littleEndianBytes(screen));
}

FileWrite writePngScreen(const std::string& path, const std::vector<uint16_t>& screen) {
  if (!isWholeScreen(screen)) return {"cannot write " + path + " (not a whole screen)"};
  const std::vector<uint8_t> png = encodePng(rgbBytes(screen), kScreenWidth, kScreenHeight, PngColour::Rgb);
  if (png.empty()) return {"cannot write " + path + " (the PNG cannot be made)"};
  return writeFileAtomically(path, png);
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
