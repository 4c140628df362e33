#include <gtest/gtest.h>

#include <cstdint>

#include "raster/text.h"

namespace {

int32_t pixel(int32_t row, int32_t column) { return FontBitmap[row * kFontStride + column]; }

TEST(FontData, GlyphsAreInsideTheirColumns) {
  for (int32_t g = 0; g < kGlyphCount; ++g) {
    const int32_t s = GlyphColumns[g], e = GlyphColumns[g + 1];
    ASSERT_LT(s, e) << g;
    int32_t inked = 0;
    for (int32_t row = 0; row < kFontRows; ++row) {
      for (int32_t column = s; column < e; ++column) {
        EXPECT_LE(pixel(row, column), 7) << "glyph " << g;
        inked += pixel(row, column) != 0;
      }
      // The last column is the gap before the next glyph.
      EXPECT_EQ(pixel(row, e - 1), 0) << "glyph " << g << " row " << row;
    }
    if (g == kBlankGlyph) {
      EXPECT_EQ(inked, 0);
    } else {
      EXPECT_GT(inked, 0) << "glyph " << g;
    }
  }
  EXPECT_EQ(GlyphColumns[kBlankGlyph + 1] - GlyphColumns[kBlankGlyph], 7);
  EXPECT_EQ(GlyphColumns[kGlyphCount], kFontStride);
}

TEST(FontData, CapitalsShareOneBaseline) {
  // Flat-bottomed capitals end on the same row; so do the digits.
  auto lastRow = [](int32_t g) {
    int32_t last = -1;
    for (int32_t row = 0; row < kFontRows; ++row)
      for (int32_t column = GlyphColumns[g]; column < GlyphColumns[g + 1]; ++column)
        if (pixel(row, column) != 0) last = row;
    return last;
  };
  const int32_t baseline = lastRow(10 + ('E' - 'A'));
  for (char c : {'B', 'D', 'H', 'I', 'K', 'L', 'M', 'N', 'R', 'T', 'X', 'Z'}) EXPECT_EQ(lastRow(10 + (c - 'A')), baseline) << c;
  for (int32_t digit : {1, 2, 4, 7}) EXPECT_EQ(lastRow(digit), baseline) << digit;
  EXPECT_GT(lastRow(37), baseline);  // the comma's tail hangs below
}

}  // namespace
