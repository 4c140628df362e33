// The fillers: span and row rules, texel lookup, blending, the guard that
// refuses, before writing any pixel, triangles that would run past the tables
// or overflow the slopes, and comparisons with the plain model. Under the
// sanitizers, the random triangles show that no input reads or writes out of
// bounds or reaches undefined behaviour.
#include "filler_fixture.h"
#include "raster/lines.h"
#include "raster/pixel_rule.h"

namespace {

TEST(PixelRule, DepthFractionAndShade) {
  const struct { int32_t cell, depth, shade; uint16_t texel; int32_t result; } cases[] = {
      {kClearCell, 0x10000000, 0, 7, kClearCell},  // depth 4096.0 is never drawn
      // Equal integer depth: the fragment wins only with a fraction below the stored colour.
      {makeCell(100, 0x0800), 100 << 16 | 0x0800, 0, 9, makeCell(100, 0x0800)},
      {makeCell(100, 0x0800), 100 << 16 | 0x07FF, 0, 9, makeCell(100, 9)},
      {kClearCell, 100 << 16 | 0x8000, -(1 << 16), 0, makeCell(99, 0xFFFF)},  // the shade borrows
  };
  for (auto t : cases) {
    raster::applyPixel<BlendOpaque>(&t.cell, t.depth, t.shade, t.texel);
    EXPECT_EQ(t.cell, t.result) << std::hex << t.depth;
  }
}

// A flat-top triangle: row 0 runs from x = 10.0 (u) to 20.0 (uRight), narrowing to column 20 at row 10.
void fillWedge(TriangleFiller filler, const SurfaceDescriptor& surface, int16_t depth = 100, int16_t u = 0,
               int16_t v = 0, int16_t uRight = INT16_MIN) {
  if (uRight == INT16_MIN) uRight = u;
  fill(filler, {screenVertex(10, 0, depth), u, v}, {screenVertex(20, 0, depth), uRight, v},
       {screenVertex(20, 10, depth), uRight, v}, surface);
}

const TriangleFiller kFillers[] = {fillTriangleAffine, fillTrianglePerspective, fillTriangleFlat};

TEST_F(FillerTest, SpanEndsAffineWidenedOthersTruncated) {
  TestTexture texture(16, 16);
  const int32_t firstColumn[] = {9, 10, 10};
  for (int i = 0; i < 3; ++i) {
    clearFrame();
    fillWedge(kFillers[i], texture.surface);
    EXPECT_EQ(touchedInRow(0), 20 - firstColumn[i]) << "filler " << i;
    EXPECT_TRUE(cellAt(0, firstColumn[i]) != kClearCell && cellAt(0, 19) != kClearCell) << "filler " << i;
  }
  EXPECT_EQ(cellAt(0, 10), makeCell(100, 0x1234));  // the flat colour
}

TEST_F(FillerTest, RowRules) {
  TestTexture texture(16, 16);
  for (TriangleFiller filler : kFillers) {
    // Pointed top: the top corner's row and the bottom corner's row stay empty.
    clearFrame();
    fill(filler, {screenVertex(50, 10)}, {screenVertex(10, 30)}, {screenVertex(90, 50)}, texture.surface);
    EXPECT_EQ(touchedInRow(10) + touchedInRow(50), 0);
    EXPECT_TRUE(touchedInRow(11) > 0 && touchedInRow(49) > 0);
    // Flat top: the top row is drawn, the bottom row is not.
    clearFrame();
    fill(filler, {screenVertex(10, 20)}, {screenVertex(60, 20)}, {screenVertex(30, 40)}, texture.surface);
    EXPECT_GT(touchedInRow(20), 0);
    EXPECT_EQ(touchedInRow(19) + touchedInRow(40), 0);
    // Nothing for: one row; long and upper edge of equal computed slope (though the flat top
    // would cover row 10); the same collinear upper half above a real lower half.
    clearFrame();
    fill(filler, {screenVertex(10, 20)}, {screenVertex(60, 20)}, {screenVertex(30, 20)}, texture.surface);
    fill(filler, {screenVertex(10, 10)}, {screenVertex(11, 10)}, {screenVertex(11, 11)}, texture.surface);
    fill(filler, {screenVertex(0, 0)}, {screenVertex(5, 5)}, {screenVertex(10, 10)}, texture.surface);
    EXPECT_EQ(touchedCells(), 0);
  }
}

TEST_F(FillerTest, TexelLookupClipsWrapsAndDividesPerspective) {
  TestTexture texture(64, 1);
  // Row 0 runs from -10.0 (u = 0) to 30.0 (u = 40 texels).
  fill(fillTriangleAffine, {screenVertex(-10, 0), 0, 0}, {screenVertex(30, 0), 640, 0},
       {screenVertex(30, 20), 640, 0}, texture.surface);
  // Widened ends -11 and 30, width 41, u step (160 * (262144 / 41)) >> 4 = 63930.
  // Column 0 is pixel 11 of the span: u = 703230, texel 10.
  EXPECT_EQ(colourAt(0, 0), 11);
  EXPECT_EQ(colourAt(0, 29), ((29 + 11) * 63930 >> 16) + 1);
  TestTexture square(4, 4);  // texel (row r, column c) has colour 4r + c + 1
  clearFrame();
  fillWedge(fillTriangleAffine, square.surface, 100, 80, 96);  // first pixel (column 9): u 5, v 6
  EXPECT_EQ(colourAt(0, 9), 4 * 2 + 1 + 1);
  fillWedge(fillTriangleAffine, square.surface, 99, -16, -16);  // u -1 -> column 3, v -1 -> row 3
  EXPECT_EQ(colourAt(0, 9), 4 * 3 + 3 + 1);
  // Perspective at depth 100 with u = 160 (ten texels): R = 2621, E = 1600, U >> 10 = 409,
  // 1600 * 409 = 654400, so texel 9 at the first column 10; the affine filler has exactly 10.
  TestTexture strip(16, 1);
  clearFrame();
  fillWedge(fillTrianglePerspective, strip.surface, 100, 160, 0, 240);
  EXPECT_EQ(colourAt(0, 10), 9 + 1);
  fillWedge(fillTriangleAffine, strip.surface, 100, 160, 0, 240);
  EXPECT_EQ(colourAt(0, 9), 10 + 1);
}

TEST_F(FillerTest, BlendModesThroughTheFillers) {
  TestTexture texture(2, 1);
  texture.texels = {0, 0x0700};  // u 0: texel 0, the key; u 16: texel 0x0700
  texture.surface.texels = texture.texels.data();
  const TriangleFiller affine = fillTriangleAffine, perspective = fillTrianglePerspective, flat = fillTriangleFlat;
  const int32_t before = makeCell(500, 0x0042), kept = 0;  // kept: over the previous step's frame
  const struct { TriangleFiller filler; int32_t stored; int16_t depth, u; int32_t mode; uint16_t colour; int32_t result; } steps[] = {
      {affine, before, 50, 0, BlendKeyed, 0, before}, {perspective, before, 50, 0, BlendMixedKeyed, 0, before},
      {affine, before, 50, 0, -7, 0, before}, {perspective, before, 50, 0, 9, 0, before},  // outside 0..3: keyed
      {affine, before, 50, 0, BlendOpaque, 0, makeCell(50, 0)},
      {affine, before, 50, 0, BlendMixed, 0, makeCell(500, 0x0042 >> 1)},  // texel 0 mixed in: fields halve
      {affine, makeCell(500, 0x0700), 50, 16, 8, 0, makeCell(500, 0x0700)},  // above 3: mixed keyed
      {affine, kept, 50, 16, -3, 0, makeCell(50, 0x0700)},                   // negative: keyed opaque
      // The flat filler mixes for every non-zero mode, with no key; a mixed pixel keeps its depth,
      // so a later opaque one behind it but in front of the older depth still wins.
      {flat, makeCell(1000, 0x0100), 500, 0, BlendKeyed, 0x0300, makeCell(1000, 0x0200)},
      {flat, kept, 800, 0, BlendOpaque, 0x0055, makeCell(800, 0x0055)},
      {flat, kept, 1200, 0, BlendOpaque, 0x0066, makeCell(800, 0x0055)},
      {flat, kept, 500, 0, BlendMixedKeyed, 0, makeCell(800, 0x0055 >> 1)},
  };
  for (const auto& t : steps) {
    if (t.stored != kept) clearFrame(t.stored);
    texture.surface.blendMode = t.mode;
    texture.surface.flatColour = t.colour;
    fillWedge(t.filler, texture.surface, t.depth, t.u);
    EXPECT_EQ(cellAt(0, 12), t.result) << "mode " << t.mode << " depth " << t.depth;
    EXPECT_TRUE(t.result != before || touchedCells(before) == 0) << "mode " << t.mode;
  }
}

TEST_F(FillerTest, AffineAndFlatMatchThePlainModel) {
  // Random triangles whose values stay well inside 32 bits, through every blend mode.
  TestTexture texture(16, 16);
  for (uint16_t& t : texture.texels) t = static_cast<uint16_t>(in(0, 3) == 0 ? 0 : in(1, 0xFFFF));
  int32_t drawn = 0;
  for (int32_t n = 0; n < 600; ++n) {
    Corner c[3];
    for (Corner& corner : c)
      corner = {screenVertex(in(-300, 620), in(-200, 440), in(65, 2999), in(-3, 3)),
                in(-500, 800), in(-500, 800)};
    sortByRow(c);
    texture.surface.blendMode = in(-2, 5);
    const bool flat = n % 2 == 1;
    const std::vector<int32_t> before(FrameBuffer, FrameBuffer + kFrameCells);
    fill(flat ? fillTriangleFlat : fillTriangleAffine, c[0], c[1], c[2], texture.surface);
    drawn += !std::equal(before.begin(), before.end(), FrameBuffer);
    ASSERT_TRUE(matchesModel(c[0], c[1], c[2], texture.surface, flat, before)) << "triangle " << n;
  }
  EXPECT_GT(drawn, 100);
}

MeshVertex at(int16_t x, int16_t y, int16_t depth = 300) { return screenVertex(x, y, depth); }

TEST_F(FillerTest, GuardRefusesAtTheBoundsAndDrawsJustInside) {
  TestTexture texture(16, 16);
  const TriangleFiller affine = fillTriangleAffine, perspective = fillTrianglePerspective, flat = fillTriangleFlat;
  const MeshVertex middle = at(60, 40), bottom = at(20, 80);
  const struct { TriangleFiller filler; Corner top, middle, bottom; bool drawn; } cases[] = {
      // Narrow near the top, but rows near 199 span more than 4096 columns.
      {affine, {at(160, 0)}, {at(-4000, 200)}, {at(160, 239)}, false},
      {perspective, {at(160, 0)}, {at(-4000, 200)}, {at(160, 239)}, false},
      {flat, {at(160, 0)}, {at(-4000, 200)}, {at(160, 239)}, false},
      // A sliver wider than 4094 columns overall keeps narrow spans.
      {affine, {at(-3000, 0)}, {at(3000, 238)}, {at(3006, 239)}, true},
      {flat, {at(-3000, 0)}, {at(3000, 238)}, {at(3006, 239)}, true},
      // A flat top of 4095 columns, from -2000.0 to 2095.0, is drawn; of 4096 it is not.
      {flat, {at(-2000, 0)}, {at(2095, 0)}, {at(2095, 3)}, true},
      {flat, {at(-2000, 0)}, {at(2096, 0)}, {at(2096, 3)}, false},
      // A u difference of 8192 sixteenths over a one-row edge overflows (8192 * 2^18 = 2^31), so
      // does a v difference of -8193; 8191 and -8191 do not. Nor may x differ by 8192 in one row.
      {affine, {at(10, 10)}, {at(50, 11), 8192, 0}, {at(30, 40)}, false},
      {affine, {at(10, 10)}, {at(50, 11), 0, -8193}, {at(30, 40)}, false},
      {affine, {at(10, 10)}, {at(50, 11), 8191, -8191}, {at(30, 40)}, true},
      {flat, {at(0, -2)}, {at(8192, -1)}, {at(100, 100)}, false},
      // Perspective depths: usable from 65 to 4095. Depth 64 gives Q >> 8 = 4096 at the middle
      // corner, the first pixel of its row; a near corner far off the frame is fine.
      {perspective, {at(30, 5, 4096)}, {middle}, {bottom}, false}, {perspective, {at(30, 5, -1)}, {middle}, {bottom}, false},
      {perspective, {at(30, 5, 0)}, {middle}, {bottom}, false}, {perspective, {at(30, 5, 32767)}, {middle}, {bottom}, false},
      {perspective, {at(30, 5, 65)}, {middle}, {bottom}, true}, {perspective, {at(30, 5, 4095)}, {middle}, {bottom}, true},
      {perspective, {at(30, 5)}, {at(10, 40, 64)}, {at(50, 80)}, false},
      {perspective, {at(30, -3000, 60)}, {at(60, 100, 3000)}, {at(20, 200, 3000)}, true},
  };
  for (const auto& t : cases) {
    clearFrame();
    fill(t.filler, t.top, t.middle, t.bottom, texture.surface);
    const int32_t n = touchedCells();
    EXPECT_TRUE(t.drawn ? n > 100 : n == 0) << &t - cases << ": " << n << " cells";
    const bool modelled = t.drawn && t.filler != perspective;  // the model has no perspective filler
    EXPECT_TRUE(!modelled || matchesModel(t.top, t.middle, t.bottom, texture.surface, t.filler == flat)) << &t - cases;
  }
}

TEST_F(FillerTest, RandomTrianglesStayInBounds) {
  std::vector<TestTexture> textures;  // the sizes the scene uses
  for (int32_t size : {1, 2, 16, 32, 128}) textures.emplace_back(size, size);
  textures.emplace_back(128, 4);
  const TriangleFiller fillers[] = {fillTriangleAffine, fillTrianglePerspective, fillTriangleFlat, drawTriangleWire};
  // Coordinates on the frame, large, anything, near-degenerate; the other values anything from kind 2 on.
  const int32_t low[] = {-40, -6000, INT16_MIN, 100}, high[] = {360, 6000, INT16_MAX, 103};
  for (int32_t batch = 0; batch < 20; ++batch) {
    const int32_t background = batch % 2 ? 0x7FFFFFFF : kClearCell;
    clearFrame(background);
    for (int32_t n = 0; n < 5000; ++n) {
      const int32_t kind = in(0, 3);
      auto value = [&](int32_t lo, int32_t hi) { return kind >= 2 ? in(INT16_MIN, INT16_MAX) : in(lo, hi); };
      Corner c[3];
      for (Corner& corner : c)
        corner = {screenVertex(in(low[kind], high[kind]), in(low[kind], high[kind]), value(0, 4200), value(-8, 8)),
                  value(-3000, 3000), value(-3000, 3000)};
      if (in(0, 4) != 0) sortByRow(c);  // mostly in row order, as the pipeline hands them over
      TestTexture& texture = textures[static_cast<size_t>(in(0, 5))];
      texture.surface.blendMode = in(-2, 5);
      texture.surface.flatColour = static_cast<uint16_t>(in(0, 0xFFFF));
      fill(fillers[n % 4], c[0], c[1], c[2], texture.surface);
    }
    EXPECT_GT(touchedCells(background), 0) << "batch " << batch;
  }
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
    referenceFill(expected.data(), c[0], c[1], c[2], texture.surface, false);
    ASSERT_TRUE(std::equal(expected.begin(), expected.end(), FrameBuffer)) << "triangle " << n;
  }
  EXPECT_GT(drawn, 100);
}
