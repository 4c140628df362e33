// The vertex pipeline with stand-in stages: a projection that copies camera
// x, y to the screen, a fixed shade, and a filler that records its calls.
#include <gtest/gtest.h>

#include <vector>

#include "core/mesh.h"
#include "core/render_context.h"
#include "core/surface.h"
#include "raster/raster_stage.h"
#include "raster/reciprocal_tables.h"
#include "render/depth_buckets.h"
#include "render/matrix.h"
#include "render/pipeline.h"
#include "render/projection.h"
#include "render/renderer.h"
#include "render/trig_tables.h"

namespace {

struct Filled {
  const MeshVertex *top, *middle, *bottom;
  int16_t topU, topV, middleU, bottomV;
  const SurfaceDescriptor* surface;
};
std::vector<Filled> filled;

void recordingFiller(const MeshVertex* top, int16_t topU, int16_t topV, const MeshVertex* middle, int16_t middleU,
                     int16_t, const MeshVertex* bottom, int16_t, int16_t bottomV, const SurfaceDescriptor* surface) {
  filled.push_back({top, middle, bottom, topU, topV, middleU, bottomV, surface});
}
void copyProjection(const Vec3s& camera, MeshVertex& out) {
  out.screenX = camera.x, out.screenY = camera.y, out.depth = static_cast<int16_t>(-camera.z);
}
constexpr int16_t kShade = 7;
int16_t fixedShade(int16_t, int16_t) { return kShade; }

MeshVertex at(int16_t x, int16_t y, int16_t depth = 100) {
  MeshVertex v{};
  v.screenX = x, v.screenY = y, v.depth = depth;
  return v;
}
MeshVertex modelAt(int16_t x, int16_t y, int16_t z) {
  MeshVertex v = at(-111, -222, 55);  // screen values a rejected vertex must keep
  v.model = {x, y, z}, v.shade = -333;
  return v;
}
MeshTriangle triangleOf(MeshVertex* a, MeshVertex* b, MeshVertex* c, SurfaceDescriptor* surface) {
  return MeshTriangle{{{a, 1, 2}, {b, 3, 4}, {c, 5, 6}}, surface};
}

class PipelineTest : public ::testing::Test {
 protected:
  RenderContext context{};
  SurfaceDescriptor culled{}, open{};
  void SetUp() override {
    buildTrigTables();
    buildReciprocalTables();
    matrixStackInit(matrixStack, 4);  // identity on top: camera = model
    bucketsReset(depthBuckets);
    filled.clear();
    context.projectFunction = copyProjection;
    context.shadeFunction = fixedShade;
    context.triangleFiller = recordingFiller;
    culled.cullBackFaces = 1;
  }
  void TearDown() override { matrixStackRelease(matrixStack); }
};

TEST_F(PipelineTest, DrawMeshProjectsInRangeSkipsInvisibleAndDroppedAndQueuesBlended) {
  MeshVertex v[] = {modelAt(0, 0, -100), modelAt(0, 50, -100), modelAt(50, 0, -100), modelAt(50, 50, -3000),
                    modelAt(25, 0, -100), modelAt(10, 20, -64), modelAt(10, 20, -65), modelAt(30, 40, -2999),
                    modelAt(10, 20, 500)};
  SurfaceDescriptor blended{};
  blended.blendMode = BlendMixed;
  MeshTriangle triangles[] = {
      triangleOf(&v[1], &v[0], &v[2], &open),     // visible, opaque: filled now
      triangleOf(&v[1], &v[2], &v[3], &open),     // one vertex too far: skipped
      triangleOf(&v[0], &v[4], &v[2], &open),     // on one row: dropped
      triangleOf(&v[0], &v[4], &v[2], &blended),  // on one row: not queued
      triangleOf(&v[0], &v[1], &v[2], &blended),  // mixed: queued
  };
  Mesh mesh{9, v, 5, triangles};
  drawMesh(context, mesh);
  // Depths 65..2999 are projected and shaded; a vertex outside gets depth 0 and keeps the rest.
  const int16_t depths[] = {100, 100, 100, 0, 100, 0, 65, 2999, 0};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(v[i].depth, depths[i]) << i;
    EXPECT_TRUE(depths[i] ? v[i].screenX == v[i].model.x && v[i].screenY == v[i].model.y && v[i].shade == kShade
                          : v[i].screenX == -111 && v[i].shade == -333) << i;
  }
  ASSERT_EQ(filled.size(), 1u);
  // Corners handed over in row order (y 50, 0, 0: order 18), each with its own u and v.
  const Filled& f = filled[0];
  EXPECT_TRUE(f.top == &v[2] && f.middle == &v[0] && f.bottom == &v[1] && f.surface == &open);
  EXPECT_EQ(f.topU * 10 + f.topV, 56);
  EXPECT_EQ(f.middleU * 10 + f.bottomV, 32);
  bucketsDrain(depthBuckets, context);
  ASSERT_EQ(filled.size(), 2u);
  EXPECT_EQ(filled[1].surface, &blended);
}

// The corners go to the filler by row, ties included; a triangle off the frame,
// on one row, or a back face (zero area too, culled) is dropped.
TEST_F(PipelineTest, CornersByRowAndRejections) {
  const struct { MeshVertex a, b, c; bool cull, drawn; } cases[] = {
      {at(0, 5), at(10, 5), at(20, 9), false, true}, {at(0, 9), at(10, 5), at(20, 5), false, true},
      {at(0, 1), at(10, 2), at(20, 3), false, true}, {at(0, 1), at(10, 3), at(20, 2), false, true},
      {at(0, 2), at(10, 3), at(20, 1), false, true}, {at(0, 2), at(10, 1), at(20, 3), false, true},
      {at(0, 3), at(10, 1), at(20, 2), false, true}, {at(0, 3), at(10, 2), at(20, 1), false, true},
      {at(0, 5), at(10, 3), at(20, 5), false, true}, {at(0, 5), at(10, 5), at(20, 3), false, true},
      {at(0, 3), at(10, 5), at(20, 3), false, true}, {at(0, 10), at(10, 10), at(20, 10), false, false},
      // Rows: entirely below or above the frame, or just reaching into it.
      {at(0, 240), at(10, 250), at(20, 300), false, false}, {at(0, 239), at(10, 250), at(20, 300), false, true},
      {at(0, -30), at(10, -1), at(20, -10), false, false}, {at(0, -30), at(10, 0), at(20, -10), false, true},
      // Columns: entirely left or right of the frame, or just reaching into it.
      {at(-5, 0), at(-1, 5), at(-20, 9), false, false}, {at(320, 0), at(330, 5), at(340, 9), false, false},
      {at(319, 0), at(400, 5), at(500, 9), false, true},
      // Clockwise on the frame is a back face when culled; so is a zero area.
      {at(0, 0), at(10, 0), at(0, 10), true, false}, {at(0, 0), at(0, 10), at(10, 0), true, true},
      {at(0, 0), at(10, 0), at(0, 10), false, true}, {at(0, 0), at(5, 5), at(10, 10), true, false},
      // The products wrap in 32 bits: 60000 * 50000 wraps negative, so this counter-clockwise
      // triangle counts as a back face.
      {at(-25000, -30000), at(-25000, 30000), at(25000, 0), true, false},
      {at(-25000, -30000), at(-25000, 30000), at(25000, 0), false, true},
  };
  for (const auto& t : cases) {
    MeshVertex a = t.a, b = t.b, c = t.c;
    const MeshTriangle triangle = triangleOf(&a, &b, &c, t.cull ? &culled : &open);
    filled.clear();
    drawTriangleNow(context, triangle);
    ASSERT_EQ(filled.size(), t.drawn ? 1u : 0u) << "case " << &t - cases;
    if (!t.drawn) continue;
    const Filled& f = filled[0];
    EXPECT_TRUE(f.top->screenY <= f.middle->screenY && f.middle->screenY <= f.bottom->screenY &&
                f.top != f.middle && f.middle != f.bottom && f.top != f.bottom) << "case " << &t - cases;
  }
}

// The pool holds 4096 triangles: the 4097th is dropped. The buckets drain far to
// near, in queueing order within a bucket, and work again after a drain.
TEST_F(PipelineTest, BucketsDrainFarToNearInQueueingOrderAndHold4096Triangles) {
  std::vector<MeshVertex> vertices(3 * (kBucketPoolSize + 1));
  std::vector<MeshTriangle> triangles(kBucketPoolSize + 1);
  for (int32_t round = 0; round < 2; ++round) {
    filled.clear();
    for (int32_t i = 0; i <= kBucketPoolSize; ++i) {
      const int16_t depth = static_cast<int16_t>(65 + (i * 7) % 2900);  // several per bucket
      MeshVertex* v = &vertices[3 * i];
      v[0] = at(0, 0, depth), v[1] = at(0, 10, depth), v[2] = at(10, 0, depth);
      queueTriangle(triangles[i] = triangleOf(&v[0], &v[1], &v[2], &open));
    }
    bucketsDrain(depthBuckets, context);
    ASSERT_EQ(filled.size(), static_cast<size_t>(kBucketPoolSize));
    int32_t previousBucket = kBucketCount;
    const MeshVertex* previousTop = nullptr;
    for (const Filled& t : filled) {
      EXPECT_NE(t.top, &vertices[3 * kBucketPoolSize]);
      // Corners by row (y 0, 10, 0: order 288), each with its own u.
      ASSERT_TRUE(t.middle == t.top + 2 && t.bottom == t.top + 1 && t.middleU == 5);
      const int32_t bucket = (t.top->depth + t.middle->depth + t.bottom->depth) >> 2;
      ASSERT_TRUE(bucket < previousBucket || (bucket == previousBucket && t.top > previousTop)) << bucket;
      previousBucket = bucket, previousTop = t.top;
    }
  }
}

}  // namespace
