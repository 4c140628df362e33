// The built-in proportional bitmap font (the text routines are in raster_stage.h).
#pragma once

#include <cstdint>

constexpr int32_t kFontRows = 15;
constexpr int32_t kFontStride = 439;
constexpr int32_t kGlyphCount = 43;
constexpr int32_t kBlankGlyph = 40;

// 15 rows of 439 intensity bytes (0 empty, 1..7), every glyph side by side.
extern const uint8_t FontBitmap[kFontRows * kFontStride];
// Glyph g occupies FontBitmap columns GlyphColumns[g] .. GlyphColumns[g + 1] - 1.
extern const int32_t GlyphColumns[kGlyphCount + 1];
// Character code to glyph number.
extern uint8_t GlyphMap[256];

// Width in pixels of the characters before the first NUL or '|'.
int32_t textWidth(const char* text);
