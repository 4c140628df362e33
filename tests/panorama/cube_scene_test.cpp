// The cube scene: tile cells, surfaces, face geometry, names and triangles;
// whole frames of the scene: culling changes nothing, and a flat panorama
// covers the frame.
#include <algorithm>
#include <tuple>

#include "core/frame_buffer.h"
#include "panorama_test_files.h"
#include "raster/raster_stage.h"
#include "render/depth_buckets.h"
#include "render/matrix.h"
#include "render/pipeline.h"
#include "render/renderer.h"
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
  // The scene of a pattern (or flat) panorama, and the renderer as start-up leaves it.
  void build(uint32_t faceSize, uint32_t tileSize, int32_t drawMode = 2, bool flat = false) {
    PanoramaImage image = patternImage(faceSize, tileSize);
    if (flat) std::fill(image.pixels.begin(), image.pixels.end(), kFlatTexel);
    image.drawMode = drawMode;
    writeStandalone(encodeContainer(image, false));
    ASSERT_TRUE(buildCubeScene());
    renderInit(renderContext);
    matrixStackInit(matrixStack, 4);
  }
  static constexpr uint16_t kFlatTexel = 0x5A6C;
};

// Every tile's surface reads its own tile (the faces' placement and texture
// coordinates show in the golden screens), names are cut to their field, odd
// tile counts are centred, and a failed build leaves no scene.
TEST_F(CubeScene, EveryTileReadsItsOwnTexelsAndOddTileCountsAreCentred) {
  EXPECT_FALSE(buildCubeScene());  // neither an appended container nor the file
  EXPECT_EQ(tileCells, nullptr);
  build(512, 32);
  for (uint32_t k = 0; k < 256; ++k) {
    for (int32_t f = 0; f < kFaceCount; ++f) {
      const SurfaceDescriptor* surface = &tileCells[k].surfaces[f];
      const Mesh& mesh = tileCells[k].faces[f].mesh;
      EXPECT_EQ(surface->texels, panoramaContainer.tilePixels(f, int32_t(k % 16), int32_t(k / 16)));
      EXPECT_TRUE(mesh.triangles[0].surface == surface && mesh.triangles[1].surface == surface);
    }
  }
  EXPECT_STREQ(faceAt(5, 12, 11).name, "Demo Quarn down [12, 11");  // cut to the 24-byte field
  build(500, 32);  // 15 tiles of 32 and a remainder strip
  EXPECT_EQ(vertexAt(0, 0, 0, 0), (P{-240, -240, -240}));
  EXPECT_EQ(vertexAt(0, 14, 14, 2), (P{240, 240, -240}));
  build(4, 4);  // one tile per face: the faces stay 2 units from the centre
  EXPECT_EQ(vertexAt(4, 0, 0, 0), (P{-2, 2, -2}));
  EXPECT_EQ(vertexAt(4, 0, 0, 2), (P{2, 2, 2}));
}

// Every filler call of a frame folded into one hash (what the filler reads: the
// surface's texels and fields, then per corner the vertex's screen x, y, depth
// and shade, u and v; not where the records lie), and the triangle drawn as the viewer draws it.
uint64_t fillHash = 0;
int64_t fillCount = 0;
void hashAndFill(const MeshVertex* top, int16_t topU, int16_t topV, const MeshVertex* middle, int16_t middleU,
                 int16_t middleV, const MeshVertex* bottom, int16_t bottomU, int16_t bottomV,
                 const SurfaceDescriptor* surface) {
  auto mix = [](uint64_t value) { fillHash = (fillHash ^ value) * 1099511628211u; };
  mix(reinterpret_cast<uintptr_t>(surface->texels));
  for (const int32_t field : {surface->cullBackFaces, surface->vScale, surface->blendMode, surface->uMask, surface->vMask}) mix(uint64_t(field));
  for (const auto& [v, u, w] : {std::tuple{top, topU, topV}, {middle, middleU, middleV}, {bottom, bottomU, bottomV}}) {
    for (const int64_t value : {int64_t(v->screenX), int64_t(v->screenY), int64_t(v->depth), int64_t(v->shade),
                                int64_t(u), int64_t(w)}) mix(static_cast<uint64_t>(value));
  }
  ++fillCount;
  fillTriangleAffine(top, topU, topV, middle, middleU, middleV, bottom, bottomU, bottomV, surface);
}

struct FrameResult {
  uint64_t hash;
  int64_t fills;
  std::vector<int32_t> cells;
  bool operator==(const FrameResult&) const = default;
};

class SceneFrames : public CubeScene {
 protected:
  void TearDown() override {
    sceneCulling = true;
    CubeScene::TearDown();
  }
  // One frame at the view, as the main loop makes it (the frame buffer read before the blit clears it).
  // filler: hashAndFill sees every filler call; with fillTriangleAffine itself
  // the grid tiles inside the frame are filled without calls.
  FrameResult frame(int32_t yaw, int32_t pitch, int32_t zoom, bool culling, TriangleFiller filler = hashAndFill) {
    viewState = ViewState{yaw, pitch, static_cast<uint32_t>(zoom), 0, 0, false, false};
    EXPECT_EQ(renderSetParameter(renderContext, kParameterZoom, zoom), 1);
    renderContext.triangleFiller = filler;
    sceneCulling = culling;
    fillHash = 1469598103934665603u, fillCount = 0;
    std::fill(FrameBuffer, FrameBuffer + kFrameCells, kClearCell);
    updateFrame();
    if (depthBuckets.queuedCount != 0) bucketsDrain(depthBuckets, renderContext);
    return {fillHash, fillCount, std::vector<int32_t>(FrameBuffer, FrameBuffer + kFrameCells)};
  }
};

// Culling skips only what triangle set-up drops: over a turn at several
// pitches and zooms, the same filler calls (each tile's own texels) in the same
// order and the same picture as drawing every tile. The panorama is flat, so
// every cell must be painted: the fine tilings draw triangles of a few pixels,
// and at 256/4 see-through more triangles are queued than the smallest bucket
// pool holds. Every 8th frame of the auto-rotation turn (every 64th at 2048/8,
// whose frames without culling are slow under the sanitizers and qemu).
TEST_F(SceneFrames, CullingLeavesEveryFrameAsDrawingEverythingAndAFlatPanoramaCoversIt) {
  const struct { uint32_t faceSize, tileSize; int32_t drawMode, sampleEvery; } scenes[] = {
      {512, 32, 0, 8}, {2048, 32, 0, 8}, {2048, 8, 0, 64}, {256, 4, BlendMixed, 8}};
  for (const auto& scene : scenes) {
    build(scene.faceSize, scene.tileSize, scene.drawMode, true);
    // The zoom setter takes 64..1024 and refuses what lies beyond.
    EXPECT_EQ(renderSetParameter(renderContext, kParameterZoom, 63) + renderSetParameter(renderContext, kParameterZoom, 1025), 0);
    int64_t drawn = 0;
    for (const int32_t zoom : {130, 300}) {
      const int32_t step = 2048 / zoom * scene.sampleEvery;  // the turning speed, times the frames skipped
      for (const int32_t pitch : {-512, -230, 0, 140, 400, 512}) {
        for (int32_t yaw = 0; yaw < 2048; yaw += step) {
          const FrameResult culled = frame(yaw, pitch, zoom, true);
          const std::string where = std::to_string(scene.faceSize) + "/" + std::to_string(scene.tileSize) + " yaw " +
                                    std::to_string(yaw) + " pitch " + std::to_string(pitch) + " zoom " + std::to_string(zoom);
          ASSERT_TRUE(culled == frame(yaw, pitch, zoom, false)) << where;
          // Opaque: the texel plus the shade 1 everywhere; see-through: mixed into every cleared cell.
          ASSERT_EQ(std::count_if(culled.cells.begin(), culled.cells.end(), [&](int32_t cell) {
            return scene.drawMode == 0 ? cellColour(cell) != kFlatTexel + 1 : cell == kClearCell;
          }), 0) << where;
          drawn += culled.fills;
        }
      }
    }
    EXPECT_GT(drawn, 0);
  }
}

// The grid tiles that lie inside the frame are filled without a filler call
// per triangle: every cell as the calls give it, on a patterned panorama
// (each texel its own colour) over a turn at several pitches.
TEST_F(SceneFrames, TilesFilledWithoutCallsDrawWhatTheFillerDraws) {
  for (const uint32_t faceSize : {512u, 2048u}) {
    build(faceSize, 32, 0);
    for (const int32_t zoom : {130, 350}) {
      for (const int32_t pitch : {-512, -200, 0, 300}) {
        for (int32_t yaw = 0; yaw < 2048; yaw += 157) {
          const FrameResult inline_ = frame(yaw, pitch, zoom, true, fillTriangleAffine);
          ASSERT_EQ(inline_.cells, frame(yaw, pitch, zoom, true).cells)
              << faceSize << " yaw " << yaw << " pitch " << pitch << " zoom " << zoom;
        }
      }
    }
  }
}

}  // namespace
}  // namespace panorama_test
