// The cube scene: tile cells, surfaces, face geometry, names and triangles;
// and the scene drawn run by run (a face's run wholly behind the eye rejected
// at once) fills the same triangles in the same order, with the same vertex
// results, as drawMesh on every tile, cell by cell and face by face.
#include <array>
#include <random>
#include <tuple>
#include <vector>

#include "panorama_test_files.h"
#include "render/depth_buckets.h"
#include "render/matrix.h"
#include "render/pipeline.h"
#include "render/render_context.h"
#include "shell/view_control.h"

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
  void build(uint32_t faceSize, uint32_t tileSize, int32_t drawMode = 2) {
    PanoramaImage image = patternImage(faceSize, tileSize);
    image.drawMode = drawMode;
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

// Per fill: the surface, then per corner the vertex, its screen x, y and depth as the filler saw them, u and v.
std::vector<std::vector<intptr_t>> fills;
void recordFill(const MeshVertex* top, int16_t topU, int16_t topV, const MeshVertex* middle, int16_t middleU,
                int16_t middleV, const MeshVertex* bottom, int16_t bottomU, int16_t bottomV,
                const SurfaceDescriptor* surface) {
  std::vector<intptr_t> fill{reinterpret_cast<intptr_t>(surface)};
  for (const auto& [v, u, w] : {std::tuple{top, topU, topV}, {middle, middleU, middleV}, {bottom, bottomU, bottomV}}) {
    fill.insert(fill.end(), {reinterpret_cast<intptr_t>(v), v->screenX, v->screenY, v->depth, u, w});
  }
  fills.push_back(fill);
}

TEST_F(CubeScene, RunsDrawTheTrianglesAndLeaveTheVertexResultsOfDrawMeshOnEveryTile) {
  std::mt19937 random(4242);
  auto uniform = [&](int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random); };
  int32_t bulkRejected = 0;
  // 16 tiles an edge (runs of half a row), and 5 (runs across rows, a short last run).
  for (const uint32_t faceSize : {512u, 160u}) {
    build(faceSize, 32, faceSize == 512 ? 0 : BlendMixed);  // opaque: filled at once; mixed: queued, then drained
    renderInit(renderContext);
    matrixStackInit(matrixStack, 4);
    renderContext.triangleFiller = recordFill;
    std::vector<MeshVertex*> vertices;
    for (uint32_t k = 0; k < tilesPerEdge * tilesPerEdge; ++k) {
      for (TileFace& face : tileCells[k].faces) {
        for (int32_t n = 0; n < face.mesh.vertexCount; ++n) vertices.push_back(&face.mesh.vertices[n]);
      }
    }
    auto results = [&] {
      std::vector<std::array<int16_t, 4>> all;
      for (const MeshVertex* v : vertices) all.push_back({v->screenX, v->screenY, v->depth, v->shade});
      return all;
    };
    for (int32_t view = 0; view < 60; ++view) {
      viewState = ViewState{uniform(0, 2047), uniform(-512, 512), 130, 0, 0, false, false};
      ASSERT_EQ(renderSetParameter(renderContext, kParameterZoom, uniform(64, 1024)), 1);
      std::vector<MeshVertex> before;
      for (MeshVertex* v : vertices) {  // last frame's values, which a rejected vertex keeps
        v->screenX = static_cast<int16_t>(uniform(-500, 500)), v->screenY = static_cast<int16_t>(uniform(-500, 500));
        v->shade = static_cast<int16_t>(uniform(0, 9)), v->camera = {1, 2, 3};
        before.push_back(*v);
      }
      fills.clear();
      updateFrame();
      bucketsDrain(depthBuckets, renderContext);
      const auto runFills = fills;
      const auto runResults = results();
      ASSERT_FALSE(runFills.empty()) << "inside the cube some face always shows";
      for (const MeshVertex* v : vertices) bulkRejected += v->camera.z == 3;  // unwritten: its run was rejected at once

      for (size_t i = 0; i < vertices.size(); ++i) *vertices[i] = before[i];
      // The viewer's camera: pitch about x, then yaw about y, no translation.
      fills.clear();
      matrixStackPush(matrixStack);
      matrixRotationX(*matrixStack.top, viewState.pitch);
      matrixRotateY(*matrixStack.top, viewState.yaw);
      matrixStack.top->tx = matrixStack.top->ty = matrixStack.top->tz = 0;
      for (uint32_t k = 0; k < tilesPerEdge * tilesPerEdge; ++k) {
        for (TileFace& face : tileCells[k].faces) drawMesh(renderContext, face.mesh);
      }
      matrixStackPop(matrixStack);
      bucketsDrain(depthBuckets, renderContext);
      ASSERT_EQ(runFills, fills) << "view " << view;
      ASSERT_EQ(runResults, results()) << "view " << view;
    }
    matrixStackRelease(matrixStack);
  }
  EXPECT_GT(bulkRejected, 60 * 6144 / 4) << "at any view, many runs lie wholly behind the eye";
}

}  // namespace
}  // namespace panorama_test
