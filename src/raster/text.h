// The built-in proportional bitmap font and the two text routines.
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

void buildGlyphMap();
// Width in pixels of the characters before the first NUL or '|'.
int32_t textWidth(const char* text);
// Along the frame-buffer rows; cells get 16352 + ((colour * intensity) >> 3).
void drawText(int32_t x, int32_t y, int32_t colour, const char* text, int32_t centre);
// Down the frame-buffer columns (upright on the portrait screen); cells get value.
void drawTextRotated(int32_t position, int32_t offset, int32_t value, const char* text, int32_t centre);
