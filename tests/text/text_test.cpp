#include "raster/text.h"
#include "raster/raster_stage.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/frame_buffer.h"

namespace {

using Frame = std::vector<int32_t>;
const Frame kEmpty(kFrameCells, 0);

int32_t glyphFor(char c) {  // the character set as documented, independent of GlyphMap
  const std::string order = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ.,': ;-";
  const size_t at = order.find(static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
  return c != '\0' && at != std::string::npos ? static_cast<int32_t>(at) : kBlankGlyph;
}

// The documented cell of each set glyph pixel (glyph row i, bitmap column j of a glyph from
// s, pen the width before it), kept only inside the frame. Along the rows: index
// (y + i) * 320 + x + pen + j - s, value 16352 + (colour * h >> 3); rotated: index
// (x + 1 + pen + j - s) * 320 - y - i, the value as given.
Frame expected(bool rotated, int64_t x, int64_t y, int32_t value, const std::string& text) {
  Frame frame(kFrameCells, 0);
  int64_t pen = 0;
  for (size_t k = 0; k < text.size() && text[k] != '|'; ++k) {
    const int32_t s = GlyphColumns[glyphFor(text[k])], e = GlyphColumns[glyphFor(text[k]) + 1];
    for (int32_t i = 0; i < kFontRows; ++i)
      for (int32_t j = s; j < e; ++j) {
        const int32_t h = FontBitmap[i * kFontStride + j];
        const int64_t row = rotated ? x + pen + j - s : y + i, column = rotated ? 320 - y - i : x + pen + j - s;
        if (h == 0 || row < 0 || row >= kFrameRows || column < 0 || column >= kFrameColumns) continue;
        frame[rotated ? (x + 1 + pen + j - s) * 320 - y - i : (y + i) * 320 + x + pen + j - s] =
            rotated ? value : 16352 + ((value * h) >> 3);
      }
    pen += e - s;
  }
  return frame;
}

Frame drawn(bool rotated, int32_t x, int32_t y, int32_t value, const std::string& text, int32_t centre = 0) {
  frameBufferReset();
  (rotated ? drawTextRotated : drawText)(x, y, value, text.c_str(), centre);
  return Frame(FrameBuffer, FrameBuffer + kFrameCells);
}

class Text : public ::testing::Test {
 protected:
  void SetUp() override { buildGlyphMap(); }
};

TEST_F(Text, FontGlyphsLieInsideTheirColumns) {
  for (int32_t g = 0; g < kGlyphCount; ++g) {
    ASSERT_LT(GlyphColumns[g], GlyphColumns[g + 1]) << g;
    int32_t inked = 0;
    for (int32_t row = 0; row < kFontRows; ++row) {
      for (int32_t column = GlyphColumns[g]; column < GlyphColumns[g + 1]; ++column) {
        EXPECT_LE(FontBitmap[row * kFontStride + column], 7) << "glyph " << g;
        inked += FontBitmap[row * kFontStride + column] != 0;
      }
      EXPECT_EQ(FontBitmap[row * kFontStride + GlyphColumns[g + 1] - 1], 0) << "gap after glyph " << g;
    }
    EXPECT_EQ(inked == 0, g == kBlankGlyph) << "glyph " << g;
  }
  EXPECT_EQ(GlyphColumns[0], 0);
  EXPECT_EQ(GlyphColumns[kGlyphCount], kFontStride);
  for (int32_t code = 0; code < 256; ++code) EXPECT_EQ(GlyphMap[code], glyphFor(static_cast<char>(code))) << code;
}

TEST_F(Text, WidthStopsAtTheBarOrNul) {
  const struct { const char* text; int32_t width; } cases[] = {
      {"AB", 21}, {"AB|CD", 21}, {"ab|cd", 21}, {"A\0B", 12}, {"", 0}, {"|AB", 0}, {" ", 7}, {"!?", 14},
      {"W,", 22}, {"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ.,': ;-", 439}, {nullptr, 0}};
  for (const auto& t : cases) EXPECT_EQ(textWidth(t.text), t.width) << (t.text ? t.text : "null");
}

TEST_F(Text, CentringIgnoresThePositionAndRefusesWideText) {
  const std::string w15(15, 'W'), w16(16, 'W'), w20(20, 'W'), w21(21, 'W');  // 240, 256, 320, 336 pixels
  EXPECT_EQ(drawn(false, 999, 20, 36, "AB", 1), drawn(false, (320 - 21) / 2, 20, 36, "AB"));
  EXPECT_EQ(drawn(true, -999, 20, 3, "AB", 1), drawn(true, (240 - 21) / 2, 20, 3, "AB"));
  EXPECT_EQ(drawn(false, 7, 20, 36, w20, 1), drawn(false, 0, 20, 36, w20));
  EXPECT_EQ(drawn(false, 7, 20, 36, w16, 1), drawn(false, 32, 20, 36, w16));
  EXPECT_EQ(drawn(false, 0, 20, 36, w21, 1), kEmpty);
  EXPECT_EQ(drawn(true, 9, 20, 3, w15, 1), drawn(true, 0, 20, 3, w15));
  EXPECT_EQ(drawn(true, 0, 20, 3, w16, 1), kEmpty);
}

// Each routine's cells follow its formula wherever the text lies, clipped at
// the frame's edges. The sample has lower case (drawn as upper), an unknown
// character (a blank that advances) and the bar that ends the text.
TEST_F(Text, FollowsTheFormulaClippedAtAllFourEdgesAndSafeAnywhere) {
  const std::string sample = "Quartz, JUDGE my VOW: 1-2;3?.|HIDDEN", longText(5000, 'M');
  for (int32_t x : {-400, -5, 0, 150, 235, 239, 240, 300, 315, 319})
    for (int32_t y : {-20, -14, -7, -3, 0, 1, 225, 230, 239, 240, 306, 310, 320, 321}) {
      ASSERT_EQ(drawn(false, x, y, 36, sample), expected(false, x, y, 36, sample)) << x << "," << y;
      ASSERT_EQ(drawn(true, x, y, 5, sample), expected(true, x, y, 5, sample)) << x << "," << y;
    }
  EXPECT_NE(drawn(false, -5, -7, 36, "W"), kEmpty);
  EXPECT_NE(drawn(true, 235, 310, 5, "W"), kEmpty);
  for (int32_t a : {INT32_MIN, -1000000, 1000000, INT32_MAX})
    for (int32_t b : {INT32_MIN, -1000000, 1000000, INT32_MAX}) {
      EXPECT_EQ(drawn(false, a, b, INT32_MIN, longText), kEmpty);
      EXPECT_EQ(drawn(true, a, b, 5, longText), kEmpty);
    }
  // A long text starting far to the left reaches into the frame; colour products wrap.
  EXPECT_EQ(drawn(false, -65000, 10, 36, longText), expected(false, -65000, 10, 36, longText));
  EXPECT_EQ(drawn(true, -65000, 10, 5, longText), expected(true, -65000, 10, 5, longText));
  EXPECT_NE(drawn(false, 0, 0, INT32_MAX, "8"), kEmpty);
}

}  // namespace
