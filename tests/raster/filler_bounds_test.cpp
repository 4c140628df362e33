// The fillers refuse, before writing any pixel, the triangles that would run
// past their tables or overflow their slopes, and draw all others unchanged.
#include <gtest/gtest.h>

#include "filler_fixture.h"
#include "reference_filler.h"

namespace {

bool matchesModel(const Corner& a, const Corner& b, const Corner& c, const SurfaceDescriptor& surface, bool flat) {
  std::vector<int32_t> expected(kFrameCells, kClearCell);
  referenceFill(expected.data(), referenceCorner(a.vertex, a.u, a.v), referenceCorner(b.vertex, b.u, b.v),
                referenceCorner(c.vertex, c.u, c.v), surface, flat);
  return std::equal(expected.begin(), expected.end(), FrameBuffer);
}

TEST_F(FillerTest, RefusesTrianglesWithSpansOf4096OrMore) {
  TestTexture texture(16, 16);
  // Narrow near the top, but rows near 199 span more than 4096 columns: nothing may be written.
  const Corner top{screenVertex(160, 0)}, middle{screenVertex(-4000, 200)}, bottom{screenVertex(160, 239)};
  for (TriangleFiller filler : {fillTriangleAffine, fillTrianglePerspective, fillTriangleFlat}) {
    fill(filler, top, middle, bottom, texture.surface);
    EXPECT_EQ(touchedCells(), 0);
  }
  // A long thin sliver wider than 4094 columns overall keeps narrow spans: drawn as always.
  const Corner a{screenVertex(-3000, 0)}, b{screenVertex(3000, 238)}, c{screenVertex(3006, 239)};
  fill(fillTriangleAffine, a, b, c, texture.surface);
  EXPECT_GT(touchedCells(), 100);
  EXPECT_TRUE(matchesModel(a, b, c, texture.surface, false));
  clearFrame();
  fill(fillTriangleFlat, a, b, c, texture.surface);
  EXPECT_GT(touchedCells(), 100);
  EXPECT_TRUE(matchesModel(a, b, c, texture.surface, true));
  // Spans of 4095 columns are still drawn: flat top from -2000.0 to 2095.0.
  clearFrame();
  const Corner wideTop{screenVertex(-2000, 0)}, wideMiddle{screenVertex(2095, 0)}, wideBottom{screenVertex(2095, 3)};
  fill(fillTriangleFlat, wideTop, wideMiddle, wideBottom, texture.surface);
  EXPECT_EQ(touchedColumns(0).size(), 320u);
  EXPECT_TRUE(matchesModel(wideTop, wideMiddle, wideBottom, texture.surface, true));
  clearFrame();
  const Corner widerMiddle{screenVertex(2096, 0)}, widerBottom{screenVertex(2096, 3)};
  fill(fillTriangleFlat, wideTop, widerMiddle, widerBottom, texture.surface);
  EXPECT_EQ(touchedCells(), 0);
}

TEST_F(FillerTest, RefusesSlopeOverflow) {
  TestTexture texture(16, 16);
  // A u difference of 8192 sixteenths over a one-row edge overflows (8192 * 2^18 = 2^31), and so
  // does a v difference of -8193; 8191 and -8191 do not.
  const Corner top{screenVertex(10, 10), 0, 0}, bottom{screenVertex(30, 40), 0, 0};
  fill(fillTriangleAffine, top, {screenVertex(50, 11), 8192, 0}, bottom, texture.surface);
  EXPECT_EQ(touchedCells(), 0);
  fill(fillTriangleAffine, top, {screenVertex(50, 11), 0, -8193}, bottom, texture.surface);
  EXPECT_EQ(touchedCells(), 0);
  const Corner fits{screenVertex(50, 11), 8191, -8191};
  fill(fillTriangleAffine, top, fits, bottom, texture.surface);
  EXPECT_GT(touchedCells(), 100);
  EXPECT_TRUE(matchesModel(top, fits, bottom, texture.surface, false));
  // An x difference of 8192 over a one-row edge above the frame.
  clearFrame();
  fill(fillTriangleFlat, {screenVertex(0, -2)}, {screenVertex(8192, -1)}, {screenVertex(100, 100)},
       texture.surface);
  EXPECT_EQ(touchedCells(), 0);
}

TEST_F(FillerTest, PerspectiveRefusesUnusableDepths) {
  TestTexture texture(16, 16);
  const Corner middle{screenVertex(60, 40, 300)}, bottom{screenVertex(20, 80, 300)};
  for (int16_t depth : {int16_t{4096}, int16_t{-1}, int16_t{0}, int16_t{32767}}) {
    fill(fillTrianglePerspective, {screenVertex(30, 5, depth)}, middle, bottom, texture.surface);
    EXPECT_EQ(touchedCells(), 0) << depth;
  }
  // Depth 64 gives Q >> 8 = 4096 at the middle corner, which is the first pixel of its row.
  fill(fillTrianglePerspective, {screenVertex(30, 5, 300)}, {screenVertex(10, 40, 64)},
       {screenVertex(50, 80, 300)}, texture.surface);
  EXPECT_EQ(touchedCells(), 0);
  fill(fillTrianglePerspective, {screenVertex(30, 5, 65)}, middle, bottom, texture.surface);
  EXPECT_GT(touchedCells(), 100);
  clearFrame();
  fill(fillTrianglePerspective, {screenVertex(30, 5, 4095)}, middle, bottom, texture.surface);
  EXPECT_GT(touchedCells(), 100);
  // A near corner far off the frame is fine as long as the pixels drawn keep Q >> 8 below 4096.
  clearFrame();
  fill(fillTrianglePerspective, {screenVertex(30, -3000, 60)}, {screenVertex(60, 100, 3000)},
       {screenVertex(20, 200, 3000)}, texture.surface);
  EXPECT_GT(touchedCells(), 100);
}

}  // namespace
