// What one fragment does to its cell: the depth test over the whole signed
// cell, then one of the four blend rules. The rule is a template argument so
// that each span picks its loop once and the pixel loop holds no mode test.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "core/surface.h"

namespace raster {

// Blend modes outside 0..3 in the textured fillers: negative acts as keyed, above 3 as mixed keyed.
constexpr int32_t texturedRule(int32_t blendMode) {
  return blendMode < 0 ? BlendKeyed : blendMode > 3 ? BlendMixedKeyed : blendMode;
}

// Averages the three 3-bit fields at bits 5..7, 8..10 and 11..13 with the
// stored colour; bits 0..4 come from the stored colour; then adds the shade and halves.
constexpr uint16_t mixedColour(uint32_t stored, uint32_t texel, int32_t shade) {
  const uint32_t m = (((stored & 0x700) + (texel & 0x700)) & 0xE00) +
                     (((stored & 0x3800) + (texel & 0x3800)) & 0x7000) +
                     (((stored & 0xE0) + (texel & 0xE0)) & 0x1C0) + (stored & 0x1F);
  return static_cast<uint16_t>(fx::sar(fx::add(static_cast<int32_t>(m), fx::sar(shade, 16)), 1));
}

// depth and shade in 16.16; texel the 16-bit texel or flat colour.
template <int32_t Rule>
inline void applyPixel(int32_t* cell, int32_t depth, int32_t shade, uint16_t texel) {
  const int32_t stored = *cell;
  if (!(depth < stored)) return;
  if constexpr (Rule == BlendKeyed || Rule == BlendMixedKeyed) {
    if (texel == 0) return;
  }
  if constexpr (Rule == BlendOpaque || Rule == BlendKeyed) {
    // The depth's integer part in the high half; a negative shade borrows from it.
    *cell = fx::add(fx::add(fx::shl(fx::sar(depth, 16), 16), texel), fx::sar(shade, 16));
  } else {
    const uint32_t keptDepth = static_cast<uint32_t>(stored) & 0xFFFF0000u;
    *cell = static_cast<int32_t>(keptDepth | mixedColour(static_cast<uint32_t>(stored) & 0xFFFF, texel, shade));
  }
}

}  // namespace raster
