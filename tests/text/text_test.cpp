#include "raster/raster_stage.h"
#include "raster/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/frame_buffer.h"

namespace {

using Frame = std::vector<int32_t>;
const Frame kEmpty(kFrameCells, 0);

// ref moved by (dx, dy) in the routine's own coordinates, cut at the frame:
// along the rows x is the column and y the row; rotated, x is the row and y
// runs down the columns from the right.
Frame moved(const Frame& ref, bool rotated, int32_t dx, int32_t dy) {
  Frame out(kFrameCells, 0);
  const int32_t dr = rotated ? dx : dy, dc = rotated ? -dy : dx;
  for (int32_t r = 0; r < kFrameRows; ++r)
    for (int32_t c = 0; c < kFrameColumns; ++c) {
      const int32_t fr = r - dr, fc = c - dc;
      if (fr >= 0 && fr < kFrameRows && fc >= 0 && fc < kFrameColumns) out[r * kFrameColumns + c] = ref[fr * kFrameColumns + fc];
    }
  return out;
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

// A text partly outside the frame leaves exactly the cells of the same text
// drawn wholly inside, moved there; far outside it writes nothing. Lower case
// is drawn as upper case, and the bar ends the text.
TEST_F(Text, ClipsAtAllFourEdgesAndIsSafeAnywhere) {
  const std::string sample = "QUARTZ: 1-2;3,", longText(9000, 'M');
  EXPECT_EQ(drawn(false, 40, 100, 36, "Quartz: 1-2;3,|HIDDEN"), drawn(false, 40, 100, 36, sample));
  const Frame inside[] = {drawn(false, 40, 100, 36, sample), drawn(true, 40, 100, 5, sample)};
  for (bool rotated : {false, true})
    for (int32_t x : {-400, -5, 0, 150, 235, 239, 240, 300, 315, 319})
      for (int32_t y : {-20, -14, -7, -3, 0, 1, 225, 230, 239, 240, 306, 310, 320, 321}) {
        ASSERT_EQ(drawn(rotated, x, y, rotated ? 5 : 36, sample), moved(inside[rotated], rotated, x - 40, y - 100))
            << rotated << " at " << x << "," << y;
      }
  EXPECT_NE(drawn(false, -5, -7, 36, "W"), kEmpty);
  EXPECT_NE(drawn(true, 235, 310, 5, "W"), kEmpty);
  for (int32_t a : {INT32_MIN, -1000000, 1000000, INT32_MAX})
    for (int32_t b : {INT32_MIN, -1000000, 1000000, INT32_MAX}) {
      EXPECT_EQ(drawn(false, a, b, INT32_MIN, longText), kEmpty);
      EXPECT_EQ(drawn(true, a, b, 5, longText), kEmpty);
    }
  // A long text starting far to the left reaches into the frame as one started a few glyphs before it.
  const int32_t m = textWidth("M");
  EXPECT_EQ(drawn(false, -65000, 10, 36, longText), drawn(false, -(65000 % m), 10, 36, longText));
  EXPECT_EQ(drawn(true, -65000, 10, 5, longText), drawn(true, -(65000 % m), 10, 5, longText));
  EXPECT_NE(drawn(false, 0, 0, INT32_MAX, "8"), kEmpty);
}

}  // namespace
