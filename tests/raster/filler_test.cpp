// The fillers: span and row rules, the perspective texel and blending, the guard that
// refuses, before writing any pixel, triangles that would run past the tables
// or overflow the slopes, and comparisons with the plain model. Under the
// sanitizers, the random triangles show that no input reads or writes out of
// bounds or reaches undefined behaviour.
#include "filler_fixture.h"
#include "raster/lines.h"

namespace {

// A flat-top triangle: row 0 runs from x = 10.0 (u) to 20.0 (u + du), narrowing to column 20 at row 10.
void fillWedge(TriangleFiller filler, const SurfaceDescriptor& surface, int16_t depth = 100, int16_t u = 0,
               int16_t v = 0, int16_t du = 0) {
  fill(filler, {screenVertex(10, 0, depth), u, v}, {screenVertex(20, 0, depth), int16_t(u + du), v},
       {screenVertex(20, 10, depth), int16_t(u + du), v}, surface);
}

const TriangleFiller affine = fillTriangleAffine, perspective = fillTrianglePerspective, flat = fillTriangleFlat;
const TriangleFiller kFillers[] = {affine, perspective, flat};

TEST_F(FillerTest, SpanAndRowRules) {
  TestTexture texture(16, 16);
  const int32_t firstColumn[] = {9, 10, 10};  // span ends: the affine filler's widened, the others truncated
  for (int i = 0; i < 3; ++i) {
    const TriangleFiller filler = kFillers[i];
    clearFrame();
    fillWedge(filler, texture.surface);
    EXPECT_EQ(touchedInRow(0), 20 - firstColumn[i]) << "filler " << i;
    EXPECT_TRUE(cellAt(0, firstColumn[i]) != kClearCell && cellAt(0, 19) != kClearCell) << "filler " << i;
    EXPECT_TRUE(filler != flat || cellAt(0, 10) == makeCell(100, 0x1234));  // the flat colour
    // Pointed top: the top corner's row and the bottom corner's row stay empty. Flat top: the top
    // row is drawn, the bottom row is not.
    clearFrame();
    fill(filler, {screenVertex(50, 10)}, {screenVertex(10, 30)}, {screenVertex(90, 50)}, texture.surface);
    fill(filler, {screenVertex(10, 60)}, {screenVertex(60, 60)}, {screenVertex(30, 80)}, texture.surface);
    EXPECT_EQ(touchedInRow(10) + touchedInRow(50) + touchedInRow(59) + touchedInRow(80), 0);
    EXPECT_TRUE(touchedInRow(11) > 0 && touchedInRow(49) > 0 && touchedInRow(60) > 0);
    // Nothing for: one row; a middle corner on the long edge, which drops its lower half too.
    clearFrame();
    fill(filler, {screenVertex(10, 20)}, {screenVertex(60, 20)}, {screenVertex(30, 20)}, texture.surface);
    fill(filler, {screenVertex(0, 0)}, {screenVertex(5, 5)}, {screenVertex(10, 10)}, texture.surface);
    EXPECT_EQ(touchedCells(), 0);
    // A flat top as wide as the long edge's step per row (the fine tilings' tiles) is drawn:
    // its top edge has no slope to compare. One row here, two rows below.
    fill(filler, {screenVertex(10, 10)}, {screenVertex(11, 10)}, {screenVertex(11, 11)}, texture.surface);
    fill(filler, {screenVertex(40, 20)}, {screenVertex(42, 20)}, {screenVertex(44, 22)}, texture.surface);
    EXPECT_TRUE(touchedInRow(10) > 0 && touchedInRow(20) > 0 && touchedInRow(21) > 0) << "filler " << i;
  }
}

// The affine and flat fillers' texel lookup and blending are held to the plain
// model below; the perspective filler, which it does not cover, is checked here.
TEST_F(FillerTest, PerspectiveTexelDivisionAndBlendModes) {
  // At depth 100 with u = 160 (ten texels): R = 2621, E = 1600, U >> 10 = 409,
  // 1600 * 409 = 654400, so texel 9 at the first column 10.
  TestTexture strip(16, 1);
  fillWedge(perspective, strip.surface, 100, 160, 0, 80);
  EXPECT_EQ(colourAt(0, 10), 9 + 1);
  TestTexture texture(2, 1);
  texture.texels = {0, 0x0700};  // u 0: texel 0, the key; u 16: texel 0x0700
  texture.surface.texels = texture.texels.data();
  const int32_t before = makeCell(500, 0x0042), kept = 0;  // kept: over the previous step's frame
  const struct { int32_t stored; int16_t u; int32_t mode; int32_t result; } steps[] = {
      {before, 0, BlendMixedKeyed, before}, {before, 0, 9, before},  // outside 0..3: keyed
      {makeCell(500, 0x0700), 24, 8, makeCell(500, 0x0700)},         // above 3: mixed keyed
      {kept, 24, -3, makeCell(100, 0x0700)},                         // negative: keyed opaque
  };
  for (const auto& t : steps) {
    if (t.stored != kept) clearFrame(t.stored);
    texture.surface.blendMode = t.mode;
    fillWedge(perspective, texture.surface, 100, t.u);
    EXPECT_EQ(cellAt(0, 12), t.result) << "mode " << t.mode;
    EXPECT_TRUE(t.result != before || touchedCells(before) == 0) << "mode " << t.mode;
  }
}

MeshVertex at(int16_t x, int16_t y, int16_t depth = 300) { return screenVertex(x, y, depth); }

TEST_F(FillerTest, GuardRefusesAtTheBoundsAndDrawsJustInside) {
  TestTexture texture(16, 16);
  const MeshVertex middle = at(60, 40), bottom = at(20, 80);
  const struct { TriangleFiller filler; Corner top, middle, bottom; bool drawn; } cases[] = {
      // Narrow near the top, but rows near 199 span more than 4096 columns.
      {affine, {at(160, 0)}, {at(-4000, 200)}, {at(160, 239)}, false}, {flat, {at(160, 0)}, {at(-4000, 200)}, {at(160, 239)}, false},
      {perspective, {at(160, 0)}, {at(-4000, 200)}, {at(160, 239)}, false},
      // A sliver wider than 4094 columns overall keeps narrow spans.
      {affine, {at(-3000, 0)}, {at(3000, 238)}, {at(3006, 239)}, true}, {flat, {at(-3000, 0)}, {at(3000, 238)}, {at(3006, 239)}, true},
      // A flat top of 4095 columns, from -2000.0 to 2095.0, is drawn; of 4096 it is not.
      {flat, {at(-2000, 0)}, {at(2095, 0)}, {at(2095, 3)}, true}, {flat, {at(-2000, 0)}, {at(2096, 0)}, {at(2096, 3)}, false},
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
      // Depth 4096.0, the cleared cell's, is never drawn.
      {affine, {at(30, 5, 4096)}, {at(60, 40, 4096)}, {at(20, 80, 4096)}, false},
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

TEST_F(FillerTest, RandomTrianglesMatchThePlainModelAndStayInBounds) {
  std::vector<TestTexture> textures;  // of the sizes the scene uses
  for (int32_t size : {1, 2, 16, 32, 128}) textures.emplace_back(size, size);
  textures.emplace_back(128, 4);
  for (TestTexture& texture : textures)
    for (uint16_t& t : texture.texels) t = static_cast<uint16_t>(in(0, 3) == 0 ? 0 : in(1, 0xFFFF));
  // Kind 0: values well inside 32 bits through the affine or flat filler, compared with the model
  // over the cells already drawn; every third the scene's own case, which has a loop of its own:
  // opaque, every corner the same shade. The others, under the sanitizers, show that no input reads
  // or writes out of bounds: coordinates on the frame, large, anything, near-degenerate; the other
  // values anything from kind 3 on.
  const int32_t low[] = {-300, -40, -6000, INT16_MIN, 100}, high[] = {620, 360, 6000, INT16_MAX, 103};
  const TriangleFiller fillers[] = {affine, flat, perspective, drawTriangleWire};
  int32_t modelled = 0;
  for (int32_t batch = 0; batch < 20; ++batch) {
    const int32_t background = batch % 2 ? 0x7FFFFFFF : kClearCell;
    clearFrame(background);
    for (int32_t n = 0; n < 5000; ++n) {
      const int32_t kind = n % 100 == 0 ? 0 : in(1, 4);
      const bool oneShade = n % 300 == 0;
      const int16_t shade = in(-3, 3);
      auto value = [&](int32_t lo, int32_t hi) { return kind >= 3 ? in(INT16_MIN, INT16_MAX) : in(lo, hi); };
      auto texel = [&] { return kind == 0 ? in(-500, 2100) : value(-3000, 3000); };
      const bool tiny = kind == 0 && n % 400 == 200;  // a few pixels: the short path of no row or one
      const bool inFrame = n % 600 == 0;               // one shade, unclipped: the scene's commonest triangle
      const int32_t lo = tiny ? 100 : inFrame ? 0 : low[kind], hi = tiny ? 103 : inFrame ? 240 : high[kind];
      Corner c[3];
      for (Corner& corner : c)  // braced lists evaluate left to right
        corner = {screenVertex(in(lo, hi), in(lo, hi),
                               kind == 0 ? in(65, 2999) : value(0, 4200), oneShade ? shade : value(-8, 8)),
                  texel(), texel()};
      if (kind == 0 || in(0, 4) != 0)  // mostly in row order, as the pipeline hands them over
        std::sort(c, c + 3, [](const Corner& a, const Corner& b) { return a.vertex.screenY < b.vertex.screenY; });
      TestTexture& texture = textures[static_cast<size_t>(in(0, 5))];
      texture.surface.blendMode = oneShade ? int32_t{BlendOpaque} : in(-2, 5);
      texture.surface.flatColour = static_cast<uint16_t>(in(0, 0xFFFF));
      const TriangleFiller filler = fillers[kind == 0 ? (n / 100) % 3 % 2 : n % 4];
      std::vector<int32_t> before;
      if (kind == 0) before.assign(FrameBuffer, FrameBuffer + kFrameCells);
      fill(filler, c[0], c[1], c[2], texture.surface);
      if (kind != 0) continue;
      modelled += !std::equal(before.begin(), before.end(), FrameBuffer);
      ASSERT_TRUE(matchesModel(c[0], c[1], c[2], texture.surface, filler == flat, before)) << batch << ", " << n;
    }
    EXPECT_GT(touchedCells(background), 0) << "batch " << batch;
  }
  EXPECT_GT(modelled, 200);
}

}  // namespace
