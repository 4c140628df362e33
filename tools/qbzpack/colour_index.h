// The viewer's 16-bit colour index: red level in bits 15..11, green 10..6,
// blue 5..1, brightness in bit 0 (1 full, 0 half). A 5-bit level v shows as
// the 8-bit intensity 8v + 7 at full brightness.
#pragma once

#include <cstdint>
#include <string>

#include "qbzpack/image.h"

namespace qbzpack {

constexpr int levelIntensity(int level) { return 8 * level + 7; }

// The level whose intensity lies nearest; intensities outside 0..255 clamp.
int nearestLevel(double intensity);

constexpr uint16_t packLevels(int r, int g, int b, int brightness) {
  return static_cast<uint16_t>((r << 11) | (g << 6) | (b << 1) | brightness);
}

// Texels and overlay pixels are stored with bit 0 clear: the viewer adds 1
// when it draws them, which makes them full brightness.
uint16_t storedIndexOf(Rgb colour);
// Text colours go to the text routine unchanged, so they carry bit 0 set
// themselves; the high 16 bits (the depth) stay 0.
int32_t textColourOf(Rgb colour);
// The colour a stored index shows as (bit 0 ignored: stored values are drawn
// at full brightness).
Rgb colourOfStoredIndex(uint16_t index);

// "RRGGBB", "#RRGGBB" or "0xRRGGBB"; throws ToolError otherwise.
Rgb parseRgb(const std::string& text, const std::string& what);

}  // namespace qbzpack
