// Cube orientation, the store order and the equirectangular conversion.

#include "qbzpack/equirect_to_cube.h"
#include "qbzpack/store_layout.h"
#include "test_files.h"

using namespace qbzpack_test;
using namespace qbzpack;

namespace {

bool same(Vec3 p, Vec3 q) { return p.x == q.x && p.y == q.y && p.z == q.z; }

}  // namespace

TEST(CubeGeometry, FacesLieWhereTheViewerDrawsThemAndShareTheirEdges) {
  // Centre and corner (0, 0), the bottom-left seen from inside, of front, right, back, left, up, down.
  const Vec3 centres[kFaceCount] = {{0, 0, -1}, {1, 0, 0}, {0, 0, 1}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
  const Vec3 origins[kFaceCount] = {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}, {-1, 1, -1}, {-1, -1, 1}};
  for (int face = 0; face < kFaceCount; ++face) {
    EXPECT_TRUE(same(faceDirection(face, 50, 50, 100), centres[face])) << kFaceNames[face];
    EXPECT_TRUE(same(faceDirection(face, 0, 0, 64), origins[face])) << kFaceNames[face];
  }
  for (double t : {0.0, 17.0, 64.0}) {
    for (int face = 0; face < 4; ++face) {  // right edge of each side face is the left edge of the next
      EXPECT_TRUE(same(faceDirection(face, 64, t, 64), faceDirection((face + 1) % 4, 0, t, 64))) << face;
    }
    EXPECT_TRUE(same(faceDirection(0, t, 64, 64), faceDirection(4, t, 0, 64)));
    EXPECT_TRUE(same(faceDirection(0, t, 0, 64), faceDirection(5, t, 64, 64)));
  }
}

TEST(StoreLayout, TilesAndTexelsRunBottomUpAndInvert) {
  // Face 1, tile column 2, row 3 of a 512/32 panorama starts at element 313344.
  EXPECT_EQ(storePosition(1, 64 + 5, 96 + 7, 512, 32), 313344u + 7 * 32 + 5);
  const uint32_t faceSize = 8, tileSize = 4;
  std::array<FaceIndices, kFaceCount> faces;
  for (uint32_t i = 0; i < kFaceCount * faceSize * faceSize; ++i) faces[i / 64].push_back(uint16_t(i));
  const std::vector<uint16_t> store = storeFromFaces(faces, faceSize, tileSize);
  // Picture row 0 is the top face row, so the store begins with picture row 7.
  EXPECT_EQ(store[4], faces[0][6 * faceSize + 0]);   // second texel row of tile (0, 0)
  EXPECT_EQ(store[16], faces[0][7 * faceSize + 4]);  // tile (1, 0) follows tile (0, 0)
  EXPECT_EQ(store[32], faces[0][3 * faceSize + 0]);  // tile row 1 is the upper half
  EXPECT_EQ(facesFromStore(store.data(), faceSize, tileSize), faces) << "every pixel has its own place";
}

TEST(EquirectConversion, EveryPixelShowsItsOwnDirectionAcrossSeamsAndPoles) {
  const uint32_t f = 32;
  const CubeFaces cube = cubeFromEquirect(directionPanorama(256), f);
  for (const RgbImage& picture : cube.faces) ASSERT_EQ(picture.samples.size(), size_t{f} * f * 3);
  // Edges and corners too, so neighbours across a seam agree (picture row y is face row f-1-y).
  for (uint32_t i = 0; i < kFaceCount * f * f; ++i) {
    const uint32_t face = i / (f * f), x = i % f, y = i / f % f;
    const Vec3 d = faceDirection(face, x + 0.5, (f - 1 - y) + 0.5, f);
    const int tolerance = (face >= 4 && x > 12 && x < 19 && y > 12 && y < 19) ? 6 : 3;  // near the poles
    expectNear(pixelAt(cube.faces[face], x, y), directionColour(d), tolerance,
               std::string(kFaceNames[face]) + " " + std::to_string(x) + "," + std::to_string(y));
  }
}
