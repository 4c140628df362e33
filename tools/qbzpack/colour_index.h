// The viewer's 16-bit colour index: red level in bits 15..11, green 10..6,
// blue 5..1, brightness in bit 0 (1 full, 0 half). Texels, overlay pixels and
// text colours all reach the screen at full brightness, through the viewer's
// own colour lookup (5-6-5, green's lowest bit always set) and then, in a
// screenshot or on a desktop, widened to 8 bits by bit replication. Every
// colour here is that shown colour, not a nominal one.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "qbzpack/image.h"

namespace qbzpack {

constexpr int kLevelCount = 32;

// The 8-bit intensity that each level of one channel (0 red, 1 green, 2 blue)
// shows at full brightness, rising with the level: red and blue 0..255,
// green 4..255 (a full-brightness green is never below 4).
const std::array<int, kLevelCount>& shownIntensities(int channel);

// The level of channel whose shown intensity lies nearest (ties to the
// lower); intensities beyond the shown range take its end, NaN level 0.
int nearestLevel(int channel, double intensity);

constexpr uint16_t packLevels(int r, int g, int b, int brightness) {
  return static_cast<uint16_t>((r << 11) | (g << 6) | (b << 1) | brightness);
}

// Texels and overlay pixels are stored with bit 0 clear: the viewer adds 1
// when it draws them, which makes them full brightness.
uint16_t storedIndexOf(Rgb colour);
// Text colours go to the text routine unchanged, so they carry bit 0 set
// themselves; the high 16 bits (the depth) stay 0.
int32_t textColourOf(Rgb colour);
// The colour a stored index shows as on the screen (bit 0 ignored: stored
// values are drawn at full brightness).
Rgb colourOfStoredIndex(uint16_t index);
Rgb shownColourOfLevels(int r, int g, int b);

// "RRGGBB", "#RRGGBB" or "0xRRGGBB"; throws ToolError otherwise.
Rgb parseRgb(const std::string& text, const std::string& what);

}  // namespace qbzpack
