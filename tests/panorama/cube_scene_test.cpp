// The cube scene: tile cells, surfaces, face geometry, names and triangles.
#include <array>

#include "panorama_test_files.h"

namespace panorama_test {
namespace {

using P = std::array<int32_t, 3>;

const TileFace& faceAt(int32_t f, uint32_t column, uint32_t row) { return tileCells[row * tilesPerEdge + column].faces[f]; }
P vertexAt(int32_t f, uint32_t column, uint32_t row, int32_t n) {
  const Vec3s& p = faceAt(f, column, row).mesh.vertices[n].model;
  return {p.x, p.y, p.z};
}

class CubeScene : public PanoramaFiles {
 protected:
  void build(uint32_t faceSize, uint32_t tileSize) {
    PanoramaImage image = patternImage(faceSize, tileSize);
    image.drawMode = 2;
    writeStandalone(encodeContainer(image, false));
    ASSERT_TRUE(buildCubeScene());
  }
};

TEST_F(CubeScene, ShippedSizeSurfacesTrianglesNamesAndGeometry) {
  build(512, 32);
  EXPECT_TRUE(tilesPerEdge == 16u && halfEdge == 256);
  for (uint32_t k = 0; k < 256; ++k) {
    for (int32_t f = 0; f < kFaceCount; ++f) {
      const TileFace& face = tileCells[k].faces[f];
      EXPECT_TRUE(face.mesh.vertexCount == 4 && face.mesh.triangleCount == 2 && face.flag == 1);
      EXPECT_EQ(tileCells[k].surfaces[f].texels, panoramaContainer.tilePixels(f, int32_t(k % 16), int32_t(k / 16)));
      // Two triangles on the diagonal 0-2 share the surface; texel (0, 0) at vertex 0, u along the column.
      std::array<int64_t, 18> corners{};  // vertex, u and v of the six corners
      for (int32_t n = 0; n < 6; ++n) {
        const auto& corner = face.mesh.triangles[n / 3].corners[n % 3];
        corners[3 * n] = corner.vertex - face.mesh.vertices, corners[3 * n + 1] = corner.u, corners[3 * n + 2] = corner.v;
      }
      EXPECT_EQ(corners, (std::array<int64_t, 18>{0, 0, 0, 1, 496, 0, 2, 496, 496, 0, 0, 0, 2, 496, 496, 3, 0, 496}));
      EXPECT_TRUE(face.mesh.triangles[0].surface == &tileCells[k].surfaces[f] &&
                  face.mesh.triangles[1].surface == &tileCells[k].surfaces[f]);
    }
  }
  // Face 1, column 2, row 3 reads element 262144 + (3 x 16 + 2) x 1024; vScale is the row length.
  const SurfaceDescriptor& s = tileCells[3 * 16 + 2].surfaces[1];
  EXPECT_EQ(s.texels - panoramaContainer.pixels, 313344);
  const std::array<int32_t, 8> fields{s.cullBackFaces, s.vScale, s.vExtent, s.blendMode, s.uMask, s.vMask, s.reserved, s.flatColour};
  EXPECT_EQ(fields, (std::array<int32_t, 8>{1, 32, 31, 2, 31 << 16, 31 * 32 << 16, 0, 0}));
  EXPECT_STREQ(faceAt(0, 3, 4).name, "Demo Quarn front [3, 4]");
  EXPECT_STREQ(faceAt(5, 12, 11).name, "Demo Quarn down [12, 11");  // cut to the 24-byte field

  // Face 0 spans -256..256 in x and y at z = -256.
  EXPECT_EQ(vertexAt(0, 0, 0, 0), (P{-256, -256, -256}));
  EXPECT_EQ(vertexAt(0, 15, 15, 2), (P{256, 256, -256}));
  // Face 2 (back), column 0, row 0: from (+H, -H, +H) towards -x.
  EXPECT_EQ((std::array{vertexAt(2, 0, 0, 0), vertexAt(2, 0, 0, 1), vertexAt(2, 0, 0, 2), vertexAt(2, 0, 0, 3)}),
            (std::array{P{256, -256, 256}, P{224, -256, 256}, P{224, -224, 256}, P{256, -224, 256}}));
  // Tiles of other faces, worked out from their planes and directions.
  EXPECT_EQ(vertexAt(3, 1, 0, 1), (P{-256, -256, 256 - 64}));
  EXPECT_EQ(vertexAt(4, 2, 1, 3), (P{-256 + 64, 256, -256 + 64}));
  EXPECT_EQ(vertexAt(5, 2, 1, 2), (P{-256 + 96, -256, 256 - 64}));
}

TEST_F(CubeScene, OddTileCountsAreCentredAndRebuildsStartAfresh) {
  EXPECT_FALSE(buildCubeScene());  // neither an appended container nor the file
  EXPECT_EQ(tileCells, nullptr);
  build(500, 32);  // 15 tiles of 32 and a remainder strip
  EXPECT_EQ(vertexAt(0, 0, 0, 0), (P{-240, -240, -240}));
  EXPECT_EQ(vertexAt(0, 14, 14, 2), (P{240, 240, -240}));
  build(4, 4);  // one tile per face: the faces stay 2 units from the centre
  EXPECT_EQ(vertexAt(4, 0, 0, 0), (P{-2, 2, -2}));
  EXPECT_EQ(vertexAt(4, 0, 0, 2), (P{2, 2, 2}));
  EXPECT_EQ(faceAt(4, 0, 0).mesh.triangles[0].corners[2].u, 48);
}

}  // namespace
}  // namespace panorama_test
