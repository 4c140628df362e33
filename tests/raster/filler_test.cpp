#include <gtest/gtest.h>

#include "filler_fixture.h"
#include "raster/lines.h"
#include "reference_filler.h"

namespace {

std::vector<int32_t> range(int32_t first, int32_t last) {
  std::vector<int32_t> columns;
  for (int32_t k = first; k <= last; ++k) columns.push_back(k);
  return columns;
}

TEST_F(FillerTest, SpanEndsAffineWidenedOthersTruncated) {
  TestTexture texture(16, 16);
  // Row 0 is a flat top: its span runs from x = 10.0 (long edge) to 20.0 (right edge).
  const Corner top{screenVertex(10, 0)}, middle{screenVertex(20, 0)}, bottom{screenVertex(20, 10)};
  fill(fillTriangleAffine, top, middle, bottom, texture.surface);
  EXPECT_EQ(touchedColumns(0), range(9, 19));
  clearFrame();
  fill(fillTrianglePerspective, top, middle, bottom, texture.surface);
  EXPECT_EQ(touchedColumns(0), range(10, 19));
  clearFrame();
  fill(fillTriangleFlat, top, middle, bottom, texture.surface);
  EXPECT_EQ(touchedColumns(0), range(10, 19));
  EXPECT_EQ(colourAt(0, 10), 0x1234);
  EXPECT_EQ(cellDepth(cellAt(0, 10)), 100);
}

TEST_F(FillerTest, RowRules) {
  TestTexture texture(16, 16);
  for (TriangleFiller filler : {fillTriangleAffine, fillTrianglePerspective, fillTriangleFlat}) {
    clearFrame();
    // Pointed top: the top corner's row and the bottom corner's row stay empty.
    fill(filler, {screenVertex(50, 10)}, {screenVertex(10, 30)}, {screenVertex(90, 50)}, texture.surface);
    EXPECT_TRUE(touchedColumns(10).empty());
    EXPECT_FALSE(touchedColumns(11).empty());
    EXPECT_FALSE(touchedColumns(49).empty());
    EXPECT_TRUE(touchedColumns(50).empty());

    // Flat top: the top row is drawn, the bottom row is not.
    clearFrame();
    fill(filler, {screenVertex(10, 20)}, {screenVertex(60, 20)}, {screenVertex(30, 40)}, texture.surface);
    EXPECT_FALSE(touchedColumns(20).empty());
    EXPECT_TRUE(touchedColumns(19).empty());
    EXPECT_TRUE(touchedColumns(40).empty());

    // All on one row: nothing.
    clearFrame();
    fill(filler, {screenVertex(10, 20)}, {screenVertex(60, 20)}, {screenVertex(30, 20)}, texture.surface);
    EXPECT_EQ(touchedCells(), 0);

    // Long edge and upper edge with the same computed slope (65536 per row both):
    // nothing at all, although the flat top would cover row 10.
    fill(filler, {screenVertex(10, 10)}, {screenVertex(11, 10)}, {screenVertex(11, 11)}, texture.surface);
    EXPECT_EQ(touchedCells(), 0);
    // Same collinear upper half over several rows, with a real lower half below it.
    fill(filler, {screenVertex(0, 0)}, {screenVertex(5, 5)}, {screenVertex(10, 10)}, texture.surface);
    EXPECT_EQ(touchedCells(), 0);
  }
}

TEST_F(FillerTest, ClipsAboveAndLeftWithAdvancedValues) {
  // Texel c of a 64 x 1 texture has colour c + 1; shade 0 leaves the colour as it is.
  TestTexture texture(64, 1);
  // Row 0: the span runs from -10.0 (u = 0) to 30.0 (u = 40 texels).
  const Corner top{screenVertex(-10, 0), 0, 0}, middle{screenVertex(30, 0), 640, 0},
      bottom{screenVertex(30, 20), 640, 0};
  fill(fillTriangleAffine, top, middle, bottom, texture.surface);
  // Widened ends: lo = -11, hi = 30, width 41, u step (160 * (262144 / 41)) >> 4 = 63930.
  // Column 0 is pixel 11 of the span: u = 703230, texel 10.
  EXPECT_EQ(colourAt(0, 0), 11);
  EXPECT_EQ(colourAt(0, 29), ((29 + 11) * 63930 >> 16) + 1);

  // A triangle from row -20: row 0 carries the edge values of row 0, equal to the plain model.
  clearFrame();
  std::vector<int32_t> expected(FrameBuffer, FrameBuffer + kFrameCells);
  const Corner high{screenVertex(100, -20, 300, 2), 0, 0}, left{screenVertex(-40, 60, 900, -1), 400, 200},
      low{screenVertex(200, 120, 150, 0), 800, 900};
  TestTexture tiled(16, 16);
  fill(fillTriangleAffine, high, left, low, tiled.surface);
  referenceFill(expected.data(), referenceCorner(high.vertex, 0, 0), referenceCorner(left.vertex, 400, 200),
                referenceCorner(low.vertex, 800, 900), tiled.surface, false);
  EXPECT_FALSE(touchedColumns(0).empty());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), FrameBuffer));
  // The depth at row 0, column 0 is that of the edge walk there, not that of a corner.
  EXPECT_GT(cellDepth(cellAt(0, 100)), 300);
}

TEST_F(FillerTest, TextureCoordinatesWrap) {
  // 4 x 4 texture: texel (row r, column c) has colour 4r + c + 1.
  TestTexture texture(4, 4);
  // First pixel of row 0 (column 9 for the widened affine span) gets the top corner's u, v.
  const Corner top{screenVertex(10, 0), 80, 96}, middle{screenVertex(20, 0), 80, 96},
      bottom{screenVertex(20, 10), 80, 96};
  fill(fillTriangleAffine, top, middle, bottom, texture.surface);
  EXPECT_EQ(colourAt(0, 9), 4 * 2 + 1 + 1);  // u 5 -> column 1, v 6 -> row 2
  clearFrame();
  const Corner negative{screenVertex(10, 0), -16, -16}, negativeMiddle{screenVertex(20, 0), -16, -16},
      negativeBottom{screenVertex(20, 10), -16, -16};
  fill(fillTriangleAffine, negative, negativeMiddle, negativeBottom, texture.surface);
  EXPECT_EQ(colourAt(0, 9), 4 * 3 + 3 + 1);  // u -1 -> column 3, v -1 -> row 3
}

TEST_F(FillerTest, PerspectiveWorkedExample) {
  // Texel c of a 16 x 1 texture has colour c + 1. Corner at depth 100 with u = 160 (ten texels).
  TestTexture texture(16, 1);
  const Corner top{screenVertex(10, 0, 100), 160, 0}, middle{screenVertex(20, 0, 100), 240, 0},
      bottom{screenVertex(20, 10, 100), 240, 0};
  fill(fillTrianglePerspective, top, middle, bottom, texture.surface);
  // R = 2621, E = 1600, U >> 10 = 409, 1600 * 409 = 654400: texel 9 at the span's first column 10.
  EXPECT_EQ(colourAt(0, 10), 9 + 1);
  clearFrame();
  fill(fillTriangleAffine, top, middle, bottom, texture.surface);
  // 160 << 12 is exactly 10.0 texels: texel 10 at the affine span's first column 9.
  EXPECT_EQ(colourAt(0, 9), 10 + 1);
}

TEST_F(FillerTest, BlendModesThroughTheFillers) {
  // Texel 0 of a 2 x 1 texture is 0 (transparent when keyed), texel 1 is 0x0700.
  TestTexture texture(2, 1);
  texture.texels = {0, 0x0700};
  texture.surface.texels = texture.texels.data();
  // u = 0 everywhere: every pixel fetches texel 0.
  const Corner top{screenVertex(10, 0, 50)}, middle{screenVertex(20, 0, 50)}, bottom{screenVertex(20, 10, 50)};
  const int32_t before = makeCell(500, 0x0042);
  for (int32_t mode : {1, 3, -1, -7, 4, 9}) {
    clearFrame(before);
    texture.surface.blendMode = mode;
    fill(fillTriangleAffine, top, middle, bottom, texture.surface);
    fill(fillTrianglePerspective, top, middle, bottom, texture.surface);
    EXPECT_EQ(touchedCells(before), 0) << "mode " << mode;
  }
  clearFrame(before);
  texture.surface.blendMode = BlendOpaque;
  fill(fillTriangleAffine, top, middle, bottom, texture.surface);
  EXPECT_EQ(cellAt(0, 12), makeCell(50, 0));
  clearFrame(before);
  texture.surface.blendMode = BlendMixed;  // texel 0 is mixed in: the stored fields halve
  fill(fillTriangleAffine, top, middle, bottom, texture.surface);
  EXPECT_EQ(cellAt(0, 12), makeCell(500, 0x0042 >> 1));

  // Modes above 3 mix with the key: texel 0x0700 over 0x0700 keeps 0x0700, depth stays 500.
  const Corner keyedTop{screenVertex(10, 0, 50), 16, 0}, keyedMiddle{screenVertex(20, 0, 50), 16, 0},
      keyedBottom{screenVertex(20, 10, 50), 16, 0};
  clearFrame(makeCell(500, 0x0700));
  texture.surface.blendMode = 8;
  fill(fillTriangleAffine, keyedTop, keyedMiddle, keyedBottom, texture.surface);
  EXPECT_EQ(cellAt(0, 12), makeCell(500, 0x0700));
  // Negative modes write as opaque where the texel is not 0.
  texture.surface.blendMode = -3;
  fill(fillTriangleAffine, keyedTop, keyedMiddle, keyedBottom, texture.surface);
  EXPECT_EQ(cellAt(0, 12), makeCell(50, 0x0700));
}

TEST_F(FillerTest, MixedPixelKeepsDepthSoLaterOpaqueStillWins) {
  TestTexture texture(2, 2);
  auto flatAt = [&](int16_t depth, uint16_t colour, int32_t mode) {
    texture.surface.flatColour = colour;
    texture.surface.blendMode = mode;
    fill(fillTriangleFlat, {screenVertex(10, 0, depth)}, {screenVertex(40, 0, depth)},
         {screenVertex(40, 20, depth)}, texture.surface);
  };
  flatAt(1000, 0x0100, BlendOpaque);
  EXPECT_EQ(cellAt(5, 30), makeCell(1000, 0x0100));
  flatAt(500, 0x0300, BlendKeyed);  // the flat filler mixes for every non-zero mode
  EXPECT_EQ(cellAt(5, 30), makeCell(1000, 0x0200));  // bits 8..10: (1 + 3) / 2 = 2; depth kept
  flatAt(800, 0x0055, BlendOpaque);  // behind the mixed pixel, in front of depth 1000
  EXPECT_EQ(cellAt(5, 30), makeCell(800, 0x0055));
  flatAt(1200, 0x0066, BlendOpaque);
  EXPECT_EQ(cellAt(5, 30), makeCell(800, 0x0055));
  flatAt(500, 0, BlendMixedKeyed);  // no key in the flat filler: colour 0 mixes too
  EXPECT_EQ(cellAt(5, 30), makeCell(800, 0x0055 >> 1));
}

TEST_F(FillerTest, ShadeIsAddedAndInterpolated) {
  TestTexture texture(2, 2);
  texture.surface.flatColour = 0x0100;
  // Shade 5 on every corner: every opaque pixel gets colour + 5; shade -1 borrows from the depth.
  fill(fillTriangleFlat, {screenVertex(10, 0, 60, 5)}, {screenVertex(40, 0, 60, 5)},
       {screenVertex(40, 20, 60, 5)}, texture.surface);
  EXPECT_EQ(cellAt(3, 35), makeCell(60, 0x0105));
  texture.surface.flatColour = 0;
  fill(fillTriangleFlat, {screenVertex(10, 0, 50, -1)}, {screenVertex(40, 0, 50, -1)},
       {screenVertex(40, 20, 50, -1)}, texture.surface);
  EXPECT_EQ(cellAt(3, 35), makeCell(49, 0xFFFF));
}

TEST_F(FillerTest, AffineAndFlatMatchThePlainModel) {
  // Random triangles whose values stay well inside 32 bits, through every blend mode.
  uint32_t seed = 12345;
  auto next = [&](int32_t lo, int32_t hi) {
    seed = seed * 1664525u + 1013904223u;
    return lo + static_cast<int32_t>((seed >> 8) % static_cast<uint32_t>(hi - lo + 1));
  };
  TestTexture texture(16, 16);
  for (uint16_t& t : texture.texels) t = static_cast<uint16_t>(next(0, 3) == 0 ? 0 : next(1, 0xFFFF));
  std::vector<int32_t> expected(kFrameCells);
  int32_t drawn = 0;
  for (int32_t n = 0; n < 600; ++n) {
    Corner c[3];
    for (Corner& corner : c) {
      corner.vertex = screenVertex(static_cast<int16_t>(next(-300, 620)), static_cast<int16_t>(next(-200, 440)),
                                   static_cast<int16_t>(next(65, 2999)), static_cast<int16_t>(next(-3, 3)));
      corner.u = static_cast<int16_t>(next(-500, 800));
      corner.v = static_cast<int16_t>(next(-500, 800));
    }
    std::sort(std::begin(c), std::end(c), [](const Corner& a, const Corner& b) { return a.vertex.screenY < b.vertex.screenY; });
    texture.surface.blendMode = next(-2, 5);
    const bool flat = n % 2 == 1;
    std::copy(FrameBuffer, FrameBuffer + kFrameCells, expected.begin());
    fill(flat ? fillTriangleFlat : fillTriangleAffine, c[0], c[1], c[2], texture.surface);
    drawn += !std::equal(expected.begin(), expected.end(), FrameBuffer);
    referenceFill(expected.data(), referenceCorner(c[0].vertex, c[0].u, c[0].v),
                  referenceCorner(c[1].vertex, c[1].u, c[1].v), referenceCorner(c[2].vertex, c[2].u, c[2].v),
                  texture.surface, flat);
    ASSERT_TRUE(std::equal(expected.begin(), expected.end(), FrameBuffer)) << "triangle " << n;
  }
  EXPECT_GT(drawn, 100);
}

}  // namespace

TEST_F(FillerTest, OpaqueSpansOfOneShadeMatchThePlainModel) {
  // The scene's own case, which has a loop of its own: opaque, every corner
  // the same shade, textures of the scene's sizes, over cells already drawn.
  uint32_t seed = 777;
  auto next = [&](int32_t lo, int32_t hi) {
    seed = seed * 1664525u + 1013904223u;
    return lo + static_cast<int32_t>((seed >> 8) % static_cast<uint32_t>(hi - lo + 1));
  };
  std::vector<TestTexture> textures;
  for (int32_t size : {1, 16, 32}) textures.emplace_back(size, size);
  textures.emplace_back(128, 4);
  for (TestTexture& texture : textures) {
    for (uint16_t& t : texture.texels) t = static_cast<uint16_t>(next(0, 0xFFFF));
  }
  std::vector<int32_t> expected(kFrameCells);
  int32_t drawn = 0;
  for (int32_t n = 0; n < 400; ++n) {
    const int16_t shade = static_cast<int16_t>(next(-2, 3));
    Corner c[3];
    for (Corner& corner : c) {
      corner.vertex = screenVertex(static_cast<int16_t>(next(-100, 420)), static_cast<int16_t>(next(-60, 300)),
                                   static_cast<int16_t>(next(65, 2999)), shade);
      corner.u = static_cast<int16_t>(next(-300, 2100));
      corner.v = static_cast<int16_t>(next(-300, 2100));
    }
    std::sort(std::begin(c), std::end(c), [](const Corner& a, const Corner& b) { return a.vertex.screenY < b.vertex.screenY; });
    TestTexture& texture = textures[static_cast<size_t>(n) % textures.size()];
    texture.surface.blendMode = BlendOpaque;
    std::copy(FrameBuffer, FrameBuffer + kFrameCells, expected.begin());
    fill(fillTriangleAffine, c[0], c[1], c[2], texture.surface);
    drawn += !std::equal(expected.begin(), expected.end(), FrameBuffer);
    referenceFill(expected.data(), referenceCorner(c[0].vertex, c[0].u, c[0].v),
                  referenceCorner(c[1].vertex, c[1].u, c[1].v), referenceCorner(c[2].vertex, c[2].u, c[2].v),
                  texture.surface, false);
    ASSERT_TRUE(std::equal(expected.begin(), expected.end(), FrameBuffer)) << "triangle " << n;
  }
  EXPECT_GT(drawn, 100);
}
