#include <gtest/gtest.h>

#include "display/frame_buffer.h"
#include "raster/pixel_rule.h"

namespace {

using raster::applyPixel;

constexpr int32_t fragment(int32_t depth, int32_t fraction = 0) { return depth * 65536 + fraction; }

TEST(PixelRule, DepthTestOverTheWholeCell) {
  int32_t cell = kClearCell;
  applyPixel<BlendOpaque>(&cell, 0x0FFFE666, 0, 7);  // depth 4095.9 over a cleared cell
  EXPECT_EQ(cell, makeCell(4095, 7));
  cell = kClearCell;
  applyPixel<BlendOpaque>(&cell, 0x10000000, 0, 7);  // exactly 4096.0
  EXPECT_EQ(cell, kClearCell);
  // Equal integer depth: the fragment wins only with a fraction below the stored colour.
  cell = makeCell(100, 0x0800);
  applyPixel<BlendOpaque>(&cell, fragment(100, 0x0800), 0, 9);
  EXPECT_EQ(cell, makeCell(100, 0x0800));
  applyPixel<BlendOpaque>(&cell, fragment(100, 0x07FF), 0, 9);
  EXPECT_EQ(cell, makeCell(100, 9));
  // A cell at depth 0 (text, overlays) cannot be painted over from depth 1.0.
  cell = makeCell(0, 0xFC81);
  applyPixel<BlendOpaque>(&cell, fragment(1), 0, 9);
  EXPECT_EQ(cell, makeCell(0, 0xFC81));
}

TEST(PixelRule, OpaqueAndKeyed) {
  int32_t cell = kClearCell;
  applyPixel<BlendOpaque>(&cell, fragment(100, 0x8000), fragment(1), 0x1234);
  EXPECT_EQ(cell, makeCell(100, 0x1235));  // fraction dropped, shade added
  cell = kClearCell;
  applyPixel<BlendOpaque>(&cell, fragment(100), fragment(-1), 0);
  EXPECT_EQ(cell, makeCell(99, 0xFFFF));  // a negative shade borrows from the depth
  cell = kClearCell;
  applyPixel<BlendOpaque>(&cell, fragment(100), 0, 0);
  EXPECT_EQ(cell, makeCell(100, 0));  // texel 0 is drawn when not keyed
  cell = kClearCell;
  applyPixel<BlendKeyed>(&cell, fragment(100), 0, 0);
  EXPECT_EQ(cell, kClearCell);
  applyPixel<BlendKeyed>(&cell, fragment(100), 0, 5);
  EXPECT_EQ(cell, makeCell(100, 5));
}

TEST(PixelRule, MixedAveragesFieldsAndKeepsDepth) {
  int32_t cell = makeCell(50, 0x0000);
  applyPixel<BlendMixed>(&cell, fragment(10), 0, 0xFFFF);
  // Fields at 5..7, 8..10 and 11..13: (0 + 7) / 2 = 3 each; bits 0..4 stored 0; halved.
  EXPECT_EQ(cell, makeCell(50, ((3 << 12) + (3 << 9) + (3 << 6)) >> 1));
  cell = makeCell(50, 0x0700);
  applyPixel<BlendMixed>(&cell, fragment(10), 0, 0x0700);
  EXPECT_EQ(cell, makeCell(50, 0x0700));  // equal fields stay
  cell = makeCell(50, 0x001F);
  applyPixel<BlendMixed>(&cell, fragment(10), fragment(1), 0x001F);
  EXPECT_EQ(cell, makeCell(50, (0x1F + 1) >> 1));  // low bits stored, shade added, halved
  cell = makeCell(50, 0x0700);
  applyPixel<BlendMixedKeyed>(&cell, fragment(10), 0, 0);
  EXPECT_EQ(cell, makeCell(50, 0x0700));  // keyed texel
  applyPixel<BlendMixed>(&cell, fragment(60), 0, 0);
  EXPECT_EQ(cell, makeCell(50, 0x0700));  // behind: depth test fails
}

TEST(PixelRule, OutOfRangeModesInTexturedFillers) {
  EXPECT_EQ(raster::texturedRule(-1), BlendKeyed);
  EXPECT_EQ(raster::texturedRule(INT32_MIN), BlendKeyed);
  EXPECT_EQ(raster::texturedRule(4), BlendMixedKeyed);
  EXPECT_EQ(raster::texturedRule(INT32_MAX), BlendMixedKeyed);
  for (int32_t mode = 0; mode <= 3; ++mode) EXPECT_EQ(raster::texturedRule(mode), mode);
}

}  // namespace
