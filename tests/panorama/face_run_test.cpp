// The scene drawn run by run (a face's run wholly behind the eye rejected at
// once) fills the same triangles in the same order, with the same vertex
// results, as drawMesh on every tile, cell by cell and face by face.
#include <random>
#include <vector>

#include "panorama_test_files.h"
#include "render/depth_buckets.h"
#include "render/matrix.h"
#include "render/pipeline.h"
#include "render/render_context.h"
#include "shell/view_control.h"

namespace panorama_test {
namespace {

struct Fill {
  const MeshVertex *top, *middle, *bottom;
  int16_t corners[9];  // screenX, screenY, depth of each as the filler saw them
  int16_t u[3], v[3];
  const SurfaceDescriptor* surface;
  bool operator==(const Fill&) const = default;
};
std::vector<Fill> fills;

void recordFill(const MeshVertex* top, int16_t topU, int16_t topV, const MeshVertex* middle, int16_t middleU,
                int16_t middleV, const MeshVertex* bottom, int16_t bottomU, int16_t bottomV,
                const SurfaceDescriptor* surface) {
  fills.push_back({top, middle, bottom,
                   {top->screenX, top->screenY, top->depth, middle->screenX, middle->screenY, middle->depth,
                    bottom->screenX, bottom->screenY, bottom->depth},
                   {topU, middleU, bottomU}, {topV, middleV, bottomV}, surface});
}

std::vector<MeshVertex*> sceneVertices() {
  std::vector<MeshVertex*> all;
  for (uint32_t k = 0; k < tilesPerEdge * tilesPerEdge; ++k) {
    for (TileFace& face : tileCells[k].faces) {
      for (int32_t n = 0; n < face.mesh.vertexCount; ++n) all.push_back(&face.mesh.vertices[n]);
    }
  }
  return all;
}

class FaceRuns : public PanoramaFiles {};

TEST_F(FaceRuns, DrawTheTrianglesAndLeaveTheVertexResultsOfDrawMeshOnEveryTile) {
  std::mt19937 random(4242);
  auto uniform = [&](int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random); };
  int32_t bulkRejected = 0;
  // 16 tiles an edge (runs of half a row), and 5 (runs across rows, a short last run).
  for (const uint32_t faceSize : {512u, 160u}) {
    PanoramaImage image = patternImage(faceSize, 32);
    image.drawMode = faceSize == 512 ? 0 : BlendMixed;  // opaque: filled at once; mixed: queued, then drained
    writeStandalone(encodeContainer(image, false));
    ASSERT_TRUE(buildCubeScene());
    renderInit(renderContext);
    matrixStackInit(matrixStack, 4);
    renderContext.triangleFiller = recordFill;
    const std::vector<MeshVertex*> vertices = sceneVertices();
    for (int32_t view = 0; view < 60; ++view) {
      viewState = ViewState{uniform(0, 2047), uniform(-512, 512), 130, 0, 0, false, false};
      ASSERT_EQ(renderSetParameter(renderContext, kParameterZoom, uniform(64, 1024)), 1);
      for (MeshVertex* v : vertices) {  // last frame's values, which a rejected vertex keeps
        v->screenX = static_cast<int16_t>(uniform(-500, 500)), v->screenY = static_cast<int16_t>(uniform(-500, 500));
        v->shade = static_cast<int16_t>(uniform(0, 9)), v->camera = {1, 2, 3};
      }
      std::vector<MeshVertex> before;
      for (const MeshVertex* v : vertices) before.push_back(*v);

      fills.clear();
      updateFrame();
      bucketsDrain(depthBuckets, renderContext);
      const std::vector<Fill> runFills = fills;
      std::vector<MeshVertex> afterRuns;
      for (const MeshVertex* v : vertices) afterRuns.push_back(*v);
      ASSERT_FALSE(runFills.empty()) << "inside the cube some face always shows";

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

      ASSERT_EQ(runFills.size(), fills.size()) << "view " << view;
      for (size_t i = 0; i < fills.size(); ++i) ASSERT_TRUE(runFills[i] == fills[i]) << "view " << view << " fill " << i;
      for (size_t i = 0; i < vertices.size(); ++i) {
        const MeshVertex &a = afterRuns[i], &b = *vertices[i];
        ASSERT_TRUE(a.screenX == b.screenX && a.screenY == b.screenY && a.depth == b.depth && a.shade == b.shade)
            << "view " << view << " vertex " << i;
        if (a.camera.z == 3) ++bulkRejected;  // left unwritten: its run was rejected at once
      }
    }
    matrixStackRelease(matrixStack);
  }
  EXPECT_GT(bulkRejected, 60 * 6144 / 4) << "at any view, many runs lie wholly behind the eye";
}

}  // namespace
}  // namespace panorama_test
