// 5-6-5 pixels widened to 8 bits a channel by repeating each channel's top
// bits below it, so that full intensity stays full (0x1F becomes 0xFF). The
// screenshots and the browser's canvas use the same widening.
#pragma once

#include <cstdint>

namespace platform {

constexpr uint8_t widenRed(uint16_t pixel) {
  const uint32_t red = (pixel >> 11) & 0x1Fu;
  return static_cast<uint8_t>((red << 3) | (red >> 2));
}

constexpr uint8_t widenGreen(uint16_t pixel) {
  const uint32_t green = (pixel >> 5) & 0x3Fu;
  return static_cast<uint8_t>((green << 2) | (green >> 4));
}

constexpr uint8_t widenBlue(uint16_t pixel) {
  const uint32_t blue = pixel & 0x1Fu;
  return static_cast<uint8_t>((blue << 3) | (blue >> 2));
}

}  // namespace platform
