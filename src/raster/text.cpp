#include "raster/text.h"
#include "raster/raster_stage.h"

#include <algorithm>
#include <limits>

#include "core/fixed_point.h"
#include "core/frame_buffer.h"

// Glyphs 0-9 are the digits, 10-35 the letters, then ". , ' :", the blank,
// "; -"; each glyph's columns include the gap before the next glyph.
const int32_t GlyphColumns[kGlyphCount + 1] = {
    0,   11,  18,  28,  37,  47,  57,  66,  77,  86,                      // 0-9
    96,  108, 117, 128, 139, 149, 158, 170, 182, 190, 202, 211, 220,      // A-M
    234, 247, 259, 268, 282, 292, 303, 314, 326, 337, 353, 364, 375,      // N-Z
    386, 394, 400, 408, 417, 424, 432,                                    // . , ' : blank ; -
    439};

uint8_t GlyphMap[256];

void buildGlyphMap() {
  for (int32_t code = 0; code < 256; ++code) {
    uint8_t glyph = kBlankGlyph;
    if (code >= '0' && code <= '9') glyph = static_cast<uint8_t>(code - '0');
    if (code >= 'A' && code <= 'Z') glyph = static_cast<uint8_t>(10 + code - 'A');
    if (code >= 'a' && code <= 'z') glyph = static_cast<uint8_t>(10 + code - 'a');
    GlyphMap[code] = glyph;
  }
  GlyphMap[static_cast<uint8_t>('.')] = 36;
  GlyphMap[static_cast<uint8_t>(',')] = 37;
  GlyphMap[static_cast<uint8_t>('\'')] = 38;
  GlyphMap[static_cast<uint8_t>(':')] = 39;
  GlyphMap[static_cast<uint8_t>(';')] = 41;
  GlyphMap[static_cast<uint8_t>('-')] = 42;
}

namespace {

constexpr char kTextEnd = '|';

bool endsText(char c) { return c == '\0' || c == kTextEnd; }

int32_t glyphOf(char c) { return GlyphMap[static_cast<uint8_t>(c)]; }

}  // namespace

int32_t textWidth(const char* text) {
  if (text == nullptr) return 0;
  // Saturates instead of wrapping, so an absurdly long text measures as too
  // wide rather than as a small or negative width.
  int64_t width = 0;
  for (; !endsText(*text); ++text) {
    const int32_t g = glyphOf(*text);
    width = std::min<int64_t>(width + GlyphColumns[g + 1] - GlyphColumns[g], std::numeric_limits<int32_t>::max());
  }
  return static_cast<int32_t>(width);
}

// Both routines clip every pixel to the frame. Positions are widened to 64 bits
// for the bounds, so no position passed in can overflow the index arithmetic;
// once the pen has left the frame on the far side nothing more can be visible.

void drawText(int32_t x, int32_t y, int32_t colour, const char* text, int32_t centre) {
  if (text == nullptr) return;
  if (centre != 0) {
    x = fx::sar(fx::sub(kFrameColumns, textWidth(text)), 1);
    if (x < 0) return;
  }
  // Glyph rows that land on frame rows.
  const int64_t firstRow = std::max<int64_t>(0, -static_cast<int64_t>(y));
  const int64_t endRow = std::min<int64_t>(kFontRows, static_cast<int64_t>(kFrameRows) - y);
  int64_t left = x;  // frame column of the current glyph's first column
  for (; !endsText(*text) && left < kFrameColumns; ++text) {
    const int32_t g = glyphOf(*text);
    const int32_t s = GlyphColumns[g];
    const int32_t e = GlyphColumns[g + 1];
    // Glyph columns j with 0 <= left + (j - s) < 320.
    const int64_t firstColumn = std::clamp<int64_t>(s - left, s, e);
    const int64_t endColumn = std::clamp<int64_t>(s + kFrameColumns - left, s, e);
    for (int64_t i = firstRow; i < endRow; ++i) {
      const uint8_t* glyphRow = FontBitmap + i * kFontStride;
      const int64_t rowStart = (y + i) * kFrameColumns + left - s;
      for (int64_t j = firstColumn; j < endColumn; ++j) {
        const int32_t h = glyphRow[j];
        if (h != 0) FrameBuffer[rowStart + j] = fx::add(16352, fx::sar(fx::mul(colour, h), 3));
      }
    }
    left += e - s;
  }
}

void drawTextRotated(int32_t position, int32_t offset, int32_t value, const char* text, int32_t centre) {
  if (text == nullptr) return;
  if (centre != 0) {
    position = fx::sar(fx::sub(kFrameRows, textWidth(text)), 1);
    if (position < 0) return;
  }
  // Glyph row i goes to frame column 320 - offset - i.
  const int64_t firstRow = std::max<int64_t>(0, 1 - static_cast<int64_t>(offset));
  const int64_t endRow = std::min<int64_t>(kFontRows, static_cast<int64_t>(kFrameColumns) + 1 - offset);
  int64_t top = position;  // frame row of the current glyph's first column
  for (; !endsText(*text) && top < kFrameRows; ++text) {
    const int32_t g = glyphOf(*text);
    const int32_t s = GlyphColumns[g];
    const int32_t e = GlyphColumns[g + 1];
    // Glyph columns j with 0 <= top + (j - s) < 240.
    const int64_t firstColumn = std::clamp<int64_t>(s - top, s, e);
    const int64_t endColumn = std::clamp<int64_t>(s + kFrameRows - top, s, e);
    for (int64_t i = firstRow; i < endRow; ++i) {
      const uint8_t* glyphRow = FontBitmap + i * kFontStride;
      const int64_t column = kFrameColumns - offset - i;
      for (int64_t j = firstColumn; j < endColumn; ++j) {
        if (glyphRow[j] != 0) FrameBuffer[(top + (j - s)) * kFrameColumns + column] = value;
      }
    }
    top += e - s;
  }
}
