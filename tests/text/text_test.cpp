#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "display/frame_buffer.h"
#include "raster/text.h"

namespace {

using Frame = std::vector<int32_t>;

Frame currentFrame() { return Frame(FrameBuffer, FrameBuffer + kFrameCells); }

int32_t glyphFor(char c) {
  // Independent of GlyphMap: the character set as documented.
  const std::string order = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ.,':";
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (c == ';') return 41;
  if (c == '-') return 42;
  const size_t at = order.find(c);
  return c != '\0' && at != std::string::npos ? static_cast<int32_t>(at) : 40;
}

// The documented cell of each set glyph pixel, kept only inside the frame.
// rotated: index (position + 1 + pen + j - s) * 320 - offset - i, value as given;
// otherwise: index (y + i) * 320 + x + pen + j - s, value 16352 + (colour * h >> 3).
Frame expected(bool rotated, int64_t x, int64_t y, int32_t value, const std::string& text) {
  Frame frame(kFrameCells, 0);
  int64_t pen = 0;
  for (char c : text) {
    if (c == '|') break;
    const int32_t g = glyphFor(c);
    const int32_t s = GlyphColumns[g], e = GlyphColumns[g + 1];
    for (int32_t i = 0; i < kFontRows; ++i)
      for (int32_t j = s; j < e; ++j) {
        const int32_t h = FontBitmap[i * kFontStride + j];
        if (h == 0) continue;
        const int64_t row = rotated ? x + pen + (j - s) : y + i;
        const int64_t column = rotated ? kFrameColumns - y - i : x + pen + (j - s);
        if (row < 0 || row >= kFrameRows || column < 0 || column >= kFrameColumns) continue;
        const int64_t index = rotated ? (x + 1 + pen + (j - s)) * 320 - y - i : (y + i) * 320 + x + pen + (j - s);
        frame[static_cast<size_t>(index)] = rotated ? value : 16352 + ((value * h) >> 3);
      }
    pen += e - s;
  }
  return frame;
}

Frame drawnText(int32_t x, int32_t y, int32_t colour, const char* text, int32_t centre = 0) {
  frameBufferReset();
  drawText(x, y, colour, text, centre);
  return currentFrame();
}

Frame drawnRotated(int32_t position, int32_t offset, int32_t value, const char* text, int32_t centre = 0) {
  frameBufferReset();
  drawTextRotated(position, offset, value, text, centre);
  return currentFrame();
}

int32_t countSet(const Frame& frame) {
  int32_t count = 0;
  for (int32_t cell : frame) count += cell != 0;
  return count;
}

const Frame kEmpty(kFrameCells, 0);

class Text : public ::testing::Test {
 protected:
  void SetUp() override {
    buildGlyphMap();
    frameBufferReset();
  }
};

TEST_F(Text, GlyphMapFollowsTheCharacterSet) {
  for (int32_t code = 0; code < 256; ++code) EXPECT_EQ(GlyphMap[code], glyphFor(static_cast<char>(code))) << code;
  EXPECT_EQ(GlyphMap['7'], 7);
  EXPECT_EQ(GlyphMap['A'], 10);
  EXPECT_EQ(GlyphMap['z'], 35);
  EXPECT_EQ(GlyphMap[' '], kBlankGlyph);
  EXPECT_EQ(GlyphMap['|'], kBlankGlyph);
  EXPECT_EQ(GlyphMap[0xE9], kBlankGlyph);
}

TEST_F(Text, WidthMeasuresUpToTheEnd) {
  EXPECT_EQ(textWidth("AB"), 21);
  EXPECT_EQ(textWidth("AB|CD"), 21);
  EXPECT_EQ(textWidth("ab|cd"), 21);
  EXPECT_EQ(textWidth("A\0B"), 12);
  EXPECT_EQ(textWidth(""), 0);
  EXPECT_EQ(textWidth("|AB"), 0);
  EXPECT_EQ(textWidth(" "), 7);
  EXPECT_EQ(textWidth("!?"), 14);
  EXPECT_EQ(textWidth("W,"), 22);
  EXPECT_EQ(textWidth("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ.,': ;-"), 439);
  EXPECT_EQ(textWidth(nullptr), 0);
  EXPECT_EQ(GlyphColumns[0], 0);
  EXPECT_EQ(GlyphColumns[kGlyphCount], kFontStride);
}

TEST_F(Text, RowTextCellsFollowTheFormula) {
  EXPECT_EQ(drawnText(100, 50, 36, "1"), expected(false, 100, 50, 36, "1"));
  EXPECT_EQ(drawnText(17, 3, 36, "A2b"), expected(false, 17, 3, 36, "A2b"));
  EXPECT_EQ(drawnText(0, 0, 20, "W;-"), expected(false, 0, 0, 20, "W;-"));
  EXPECT_NE(drawnText(17, 3, 36, "A2b"), kEmpty);
  // Intensities scale the colour into the low five bits: 16352 .. 16383.
  for (int32_t cell : drawnText(10, 10, 36, "QUARTZ")) {
    if (cell != 0) {
      EXPECT_GE(cell, 16352 + 4);  // 36 * 1 >> 3
      EXPECT_LE(cell, 16383);
    }
  }
  // Lower case is upper case; "|" and NUL end the text; the blank only advances.
  EXPECT_EQ(drawnText(40, 60, 36, "panorama"), drawnText(40, 60, 36, "PANORAMA"));
  EXPECT_EQ(drawnText(40, 60, 36, "AB|CD"), drawnText(40, 60, 36, "AB"));
  EXPECT_EQ(drawnText(40, 60, 36, ""), kEmpty);
  EXPECT_EQ(drawnText(40, 60, 36, "   "), kEmpty);
  frameBufferReset();
  drawText(40, 60, 36, "A", 0);
  drawText(40 + 12 + 7, 60, 36, "B", 0);
  EXPECT_EQ(currentFrame(), drawnText(40, 60, 36, "A B"));
  EXPECT_EQ(drawnText(40, 60, 36, "A?B"), drawnText(40, 60, 36, "A B"));
}

TEST_F(Text, RotatedTextCellsFollowTheFormula) {
  EXPECT_EQ(drawnRotated(100, 50, 777, "1"), expected(true, 100, 50, 777, "1"));
  EXPECT_EQ(drawnRotated(5, 1, 0xFC81, "A2b"), expected(true, 5, 1, 0xFC81, "A2b"));
  EXPECT_EQ(drawnRotated(0, 306, -1, "W;-"), expected(true, 0, 306, -1, "W;-"));
  // Every set pixel gets the value whatever its intensity.
  const Frame one = drawnRotated(100, 50, 777, "1");
  int32_t inked = 0;
  for (int32_t i = 0; i < kFontRows; ++i)
    for (int32_t j = GlyphColumns[1]; j < GlyphColumns[2]; ++j) inked += FontBitmap[i * kFontStride + j] != 0;
  EXPECT_EQ(countSet(one), inked);
  for (int32_t cell : one) EXPECT_TRUE(cell == 0 || cell == 777);
  // Glyph row 0 lands in column 320 - offset, glyph column s in row position.
  frameBufferReset();
  drawTextRotated(30, 40, 9, "-", 0);
  for (int32_t i = 0; i < kFontRows; ++i)
    for (int32_t j = GlyphColumns[42]; j < GlyphColumns[43]; ++j)
      EXPECT_EQ(FrameBuffer[(30 + j - GlyphColumns[42]) * 320 + 320 - 40 - i], FontBitmap[i * kFontStride + j] ? 9 : 0);

  EXPECT_EQ(drawnRotated(40, 60, 5, "sphinx"), drawnRotated(40, 60, 5, "SPHINX"));
  EXPECT_EQ(drawnRotated(40, 60, 5, "AB|CD"), drawnRotated(40, 60, 5, "AB"));
  EXPECT_EQ(drawnRotated(40, 60, 5, ""), kEmpty);
  EXPECT_EQ(drawnRotated(40, 60, 5, " "), kEmpty);
  frameBufferReset();
  drawTextRotated(40, 60, 5, "A", 0);
  drawTextRotated(40 + 12 + 7, 60, 5, "B", 0);
  EXPECT_EQ(currentFrame(), drawnRotated(40, 60, 5, "A B"));
}

TEST_F(Text, CentringIgnoresThePositionAndRefusesWideText) {
  EXPECT_EQ(drawnText(999, 20, 36, "AB", 1), drawnText((320 - 21) / 2, 20, 36, "AB"));
  EXPECT_EQ(drawnRotated(-999, 20, 3, "AB", 1), drawnRotated((240 - 21) / 2, 20, 3, "AB"));
  const std::string w15(15, 'W'), w16(16, 'W'), w20(20, 'W'), w21(21, 'W');  // 240, 256, 320, 336 pixels
  EXPECT_EQ(drawnText(0, 20, 36, w20.c_str(), 1), drawnText(0, 20, 36, w20.c_str()));
  EXPECT_EQ(drawnText(0, 20, 36, w21.c_str(), 1), kEmpty);
  EXPECT_EQ(drawnText(7, 20, 36, w16.c_str(), 1), drawnText(32, 20, 36, w16.c_str()));
  EXPECT_EQ(drawnRotated(9, 20, 3, w15.c_str(), 1), drawnRotated(0, 20, 3, w15.c_str()));
  EXPECT_EQ(drawnRotated(0, 20, 3, w16.c_str(), 1), kEmpty);
  EXPECT_NE(drawnRotated(0, 20, 3, w15.c_str(), 1), kEmpty);
}

TEST_F(Text, ClippedAtAllFourEdges) {
  const char* sample = "QUARTZ, JUDGE MY VOW: 1-2;3";
  const int32_t columns[] = {-400, -100, -5, 0, 150, 300, 315, 319};
  const int32_t rows[] = {-20, -14, -7, 0, 100, 225, 230, 239, 240};
  for (int32_t x : columns)
    for (int32_t y : rows) ASSERT_EQ(drawnText(x, y, 36, sample), expected(false, x, y, 36, sample)) << x << "," << y;
  const int32_t positions[] = {-400, -100, -5, 0, 100, 230, 235, 239, 240};
  const int32_t offsets[] = {-20, -14, -3, 0, 1, 100, 306, 310, 320, 321};
  for (int32_t position : positions)
    for (int32_t offset : offsets)
      ASSERT_EQ(drawnRotated(position, offset, 5, sample), expected(true, position, offset, 5, sample))
          << position << "," << offset;
  // Partly clipped texts still draw what is inside.
  EXPECT_NE(drawnText(-5, -7, 36, "W"), kEmpty);
  EXPECT_NE(drawnText(315, 230, 36, "W"), kEmpty);
  EXPECT_NE(drawnRotated(-5, -3, 5, "W"), kEmpty);
  EXPECT_NE(drawnRotated(235, 310, 5, "W"), kEmpty);
}

TEST_F(Text, AbsurdPositionsDrawNothingAndStaySafe) {
  const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -1000000, 1000000, INT32_MAX - 1, INT32_MAX};
  const std::string longText(5000, 'M');
  for (int32_t a : extremes)
    for (int32_t b : extremes) {
      EXPECT_EQ(drawnText(a, b, INT32_MAX, "W1,"), kEmpty);
      EXPECT_EQ(drawnRotated(a, b, 5, "W1,"), kEmpty);
      EXPECT_EQ(drawnText(a, b, INT32_MIN, longText.c_str()), kEmpty);
      EXPECT_EQ(drawnRotated(a, b, 5, longText.c_str()), kEmpty);
    }
  // A long text starting far to the left reaches into the frame.
  EXPECT_EQ(drawnText(-65000, 10, 36, longText.c_str()), expected(false, -65000, 10, 36, longText));
  EXPECT_NE(drawnText(-65000, 10, 36, longText.c_str()), kEmpty);
  EXPECT_EQ(drawnRotated(-65000, 10, 5, longText.c_str()), expected(true, -65000, 10, 5, longText));
  // Colour products wrap rather than overflow.
  frameBufferReset();
  drawText(0, 0, INT32_MAX, "8", 0);
  EXPECT_NE(currentFrame(), kEmpty);
}

}  // namespace
