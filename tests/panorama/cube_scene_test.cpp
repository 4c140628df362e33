// The cube scene: tile cells, surfaces, face geometry, names and triangles.
#include <algorithm>
#include <set>

#include "panorama_test_files.h"

namespace panorama_test {
namespace {

bool samePoint(const Vec3s& a, int32_t x, int32_t y, int32_t z) { return a.x == x && a.y == y && a.z == z; }
bool samePoint(const Vec3s& a, const Vec3s& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

const TileFace& faceAt(int32_t f, uint32_t column, uint32_t row) {
  return tileCells[row * tilesPerEdge + column].faces[f];
}

class CubeScene : public PanoramaFiles {
 protected:
  void build(uint32_t faceSize, uint32_t tileSize, int32_t drawMode = 0) {
    writeStandalone(encodeContainer(patternImage(faceSize, tileSize, 0, 1, drawMode), false));
    ASSERT_TRUE(buildCubeScene());
  }
};

TEST_F(CubeScene, ShippedSizeCountsAndSurfaces) {
  build(512, 32, 2);
  EXPECT_EQ(tilesPerEdge, 16u);
  EXPECT_EQ(halfEdge, 256);
  size_t meshes = 0;
  for (uint32_t k = 0; k < 256; ++k) {
    for (int32_t f = 0; f < kFaceCount; ++f) {
      const TileFace& face = tileCells[k].faces[f];
      if (face.mesh.vertexCount == 4 && face.mesh.triangleCount == 2 && face.flag == 1) ++meshes;
    }
  }
  EXPECT_EQ(meshes, 1536u);

  for (int32_t f = 0; f < kFaceCount; ++f) {
    for (uint32_t j = 0; j < 16; j += 5) {
      for (uint32_t i = 0; i < 16; i += 3) {
        const SurfaceDescriptor& s = tileCells[j * 16 + i].surfaces[f];
        EXPECT_EQ(s.cullBackFaces, 1);
        EXPECT_EQ(s.vScale, 32);  // the row length, so every texel row shows
        EXPECT_EQ(s.vExtent, 31);
        EXPECT_EQ(s.blendMode, 2);
        EXPECT_EQ(s.uMask, 31 << 16);
        EXPECT_EQ(s.vMask, 31 * 32 << 16);
        EXPECT_EQ(s.texels, panoramaContainer.tilePixels(f, static_cast<int32_t>(i), static_cast<int32_t>(j)));
        EXPECT_EQ(s.reserved, 0);
        EXPECT_EQ(s.flatColour, 0);
      }
    }
  }
  // Face 1, column 2, row 3 reads element 262144 + (3 x 16 + 2) x 1024.
  EXPECT_EQ(tileCells[3 * 16 + 2].surfaces[1].texels - panoramaContainer.pixels, 313344);
}

TEST_F(CubeScene, FacesLieOnTheCubeAroundTheViewer) {
  build(512, 32);
  // Face 0 spans -256..256 in x and y at z = -256.
  int32_t lowX = 0, highX = 0, lowY = 0, highY = 0;
  bool flat = true;
  for (uint32_t k = 0; k < 256; ++k) {
    const Mesh& mesh = tileCells[k].faces[0].mesh;
    for (int32_t n = 0; n < 4; ++n) {
      const Vec3s& p = mesh.vertices[n].model;
      lowX = std::min<int32_t>(lowX, p.x);
      highX = std::max<int32_t>(highX, p.x);
      lowY = std::min<int32_t>(lowY, p.y);
      highY = std::max<int32_t>(highY, p.y);
      flat = flat && p.z == -256;
      EXPECT_EQ(mesh.vertices[n].baseLight, 1);
    }
  }
  EXPECT_EQ(lowX, -256);
  EXPECT_EQ(highX, 256);
  EXPECT_EQ(lowY, -256);
  EXPECT_EQ(highY, 256);
  EXPECT_TRUE(flat);

  // Face 2 (back), column 0, row 0: from (+H, -H, +H) towards -x.
  const Mesh& back = faceAt(2, 0, 0).mesh;
  EXPECT_TRUE(samePoint(back.vertices[0].model, 256, -256, 256));
  EXPECT_TRUE(samePoint(back.vertices[1].model, 224, -256, 256));
  EXPECT_TRUE(samePoint(back.vertices[2].model, 224, -224, 256));
  EXPECT_TRUE(samePoint(back.vertices[3].model, 256, -224, 256));
  // One tile of each other face, worked out from its plane and directions.
  EXPECT_TRUE(samePoint(faceAt(0, 3, 4).mesh.vertices[2].model, -256 + 4 * 32, -256 + 5 * 32, -256));
  EXPECT_TRUE(samePoint(faceAt(1, 1, 2).mesh.vertices[1].model, 256, -256 + 64, -256 + 64));
  EXPECT_TRUE(samePoint(faceAt(3, 1, 0).mesh.vertices[1].model, -256, -256, 256 - 64));
  EXPECT_TRUE(samePoint(faceAt(4, 2, 1).mesh.vertices[3].model, -256 + 64, 256, -256 + 64));
  EXPECT_TRUE(samePoint(faceAt(5, 2, 1).mesh.vertices[2].model, -256 + 96, -256, 256 - 64));
}

TEST_F(CubeScene, TilesAndFacesMeetWithoutSeams) {
  build(128, 32);
  const uint32_t n = tilesPerEdge;
  ASSERT_EQ(n, 4u);
  for (int32_t f = 0; f < kFaceCount; ++f) {
    for (uint32_t j = 0; j < n; ++j) {
      for (uint32_t i = 0; i + 1 < n; ++i) {
        EXPECT_TRUE(samePoint(faceAt(f, i, j).mesh.vertices[1].model, faceAt(f, i + 1, j).mesh.vertices[0].model));
        EXPECT_TRUE(samePoint(faceAt(f, j, i).mesh.vertices[3].model, faceAt(f, j, i + 1).mesh.vertices[0].model));
      }
    }
  }
  for (uint32_t j = 0; j < n; ++j) {
    // The side faces follow each other around the cube: 0, 1, 2, 3, 0.
    for (int32_t f = 0; f < 4; ++f) {
      EXPECT_TRUE(samePoint(faceAt(f, n - 1, j).mesh.vertices[1].model, faceAt((f + 1) % 4, 0, j).mesh.vertices[0].model))
          << f;
    }
    // The top face's first row meets the front's top edge, the bottom face's last row the front's bottom edge.
    EXPECT_TRUE(samePoint(faceAt(4, j, 0).mesh.vertices[0].model, faceAt(0, j, n - 1).mesh.vertices[3].model));
    EXPECT_TRUE(samePoint(faceAt(5, j, n - 1).mesh.vertices[3].model, faceAt(0, j, 0).mesh.vertices[0].model));
  }
}

TEST_F(CubeScene, TrianglesShareTheDiagonalAndTheSurface) {
  build(512, 32);
  std::set<int32_t> cornerValues;
  for (uint32_t k = 0; k < 256; k += 17) {
    for (int32_t f = 0; f < kFaceCount; ++f) {
      const Mesh& mesh = tileCells[k].faces[f].mesh;
      const MeshTriangle& a = mesh.triangles[0];
      const MeshTriangle& b = mesh.triangles[1];
      EXPECT_EQ(a.corners[0].vertex, &mesh.vertices[0]);
      EXPECT_EQ(a.corners[1].vertex, &mesh.vertices[1]);
      EXPECT_EQ(a.corners[2].vertex, &mesh.vertices[2]);
      EXPECT_EQ(b.corners[0].vertex, &mesh.vertices[0]);
      EXPECT_EQ(b.corners[1].vertex, &mesh.vertices[2]);
      EXPECT_EQ(b.corners[2].vertex, &mesh.vertices[3]);
      EXPECT_EQ(a.surface, &tileCells[k].surfaces[f]);
      EXPECT_EQ(b.surface, a.surface);
      // Texel (0, 0) at vertex 0, u along the column, v along the row.
      EXPECT_EQ(a.corners[0].u, 0);
      EXPECT_EQ(a.corners[0].v, 0);
      EXPECT_EQ(a.corners[1].u, 496);
      EXPECT_EQ(a.corners[1].v, 0);
      EXPECT_EQ(a.corners[2].u, 496);
      EXPECT_EQ(a.corners[2].v, 496);
      EXPECT_EQ(b.corners[1].u, a.corners[2].u);
      EXPECT_EQ(b.corners[1].v, a.corners[2].v);
      EXPECT_EQ(b.corners[2].u, 0);
      EXPECT_EQ(b.corners[2].v, 496);
      for (const MeshTriangle* t : {&a, &b}) {
        for (const TriangleCorner& c : t->corners) {
          cornerValues.insert(c.u);
          cornerValues.insert(c.v);
        }
      }
    }
  }
  EXPECT_EQ(cornerValues, (std::set<int32_t>{0, 496}));
}

TEST_F(CubeScene, NamesFlagsAndTransforms) {
  build(512, 32);
  EXPECT_STREQ(faceAt(0, 3, 4).name, "Demo Quarn front [3, 4]");
  EXPECT_STREQ(faceAt(4, 2, 0).name, "Demo Quarn up [2, 0]");
  EXPECT_STREQ(faceAt(2, 10, 9).name, "Demo Quarn back [10, 9]");
  // Two two-digit positions overrun the 24-byte field: cut to 23 characters.
  EXPECT_STREQ(faceAt(0, 15, 15).name, "Demo Quarn front [15, 1");
  EXPECT_STREQ(faceAt(3, 15, 15).name, "Demo Quarn left [15, 15");
  EXPECT_STREQ(faceAt(5, 12, 11).name, "Demo Quarn down [12, 11");
  EXPECT_STREQ(faceAt(1, 15, 14).name, "Demo Quarn right [15, 1");
  const TileFace& face = faceAt(1, 7, 8);
  EXPECT_EQ(face.flag, 1);
  const Matrix identity{{16384, 0, 0, 0, 16384, 0, 0, 0, 16384}, 0, 0, 0};
  EXPECT_TRUE(std::equal(std::begin(face.transform.m), std::end(face.transform.m), std::begin(identity.m)));
  EXPECT_EQ(face.transform.tx, 0);
  EXPECT_EQ(face.transform.tz, 0);
}

TEST_F(CubeScene, OddTileCountsAreCentred) {
  build(480, 32);  // 15 tiles of 32
  EXPECT_EQ(tilesPerEdge, 15u);
  EXPECT_EQ(halfEdge, 240);
  EXPECT_TRUE(samePoint(faceAt(0, 0, 0).mesh.vertices[0].model, -240, -240, -240));
  EXPECT_TRUE(samePoint(faceAt(0, 14, 14).mesh.vertices[2].model, 240, 240, -240));
  EXPECT_TRUE(samePoint(faceAt(2, 0, 0).mesh.vertices[0].model, 240, -240, 240));
  releaseCubeScene();

  build(500, 32);  // a remainder strip: still 15 tiles, the same cube
  EXPECT_EQ(halfEdge, 240);
  releaseCubeScene();

  build(4, 4);  // one tile per face: the faces stay 2 units from the centre
  EXPECT_EQ(halfEdge, 2);
  EXPECT_TRUE(samePoint(faceAt(4, 0, 0).mesh.vertices[0].model, -2, 2, -2));
  EXPECT_TRUE(samePoint(faceAt(4, 0, 0).mesh.vertices[2].model, 2, 2, 2));
  EXPECT_EQ(faceAt(4, 0, 0).mesh.triangles[0].corners[2].u, 48);
}

TEST_F(CubeScene, FailureAllocatesNothingAndReleaseAllowsARebuild) {
  EXPECT_FALSE(buildCubeScene());  // neither an appended container nor the file
  EXPECT_EQ(tileCells, nullptr);
  EXPECT_EQ(tilesPerEdge, 0u);

  build(64, 16);
  EXPECT_EQ(tilesPerEdge, 4u);
  releaseCubeScene();
  EXPECT_EQ(tileCells, nullptr);
  EXPECT_EQ(tilesPerEdge, 0u);
  EXPECT_EQ(halfEdge, 0);
  build(32, 16);  // building again starts from nothing
  EXPECT_EQ(tilesPerEdge, 2u);
  ASSERT_TRUE(buildCubeScene());  // and a second build replaces the first
  EXPECT_EQ(halfEdge, 16);
}

}  // namespace
}  // namespace panorama_test
