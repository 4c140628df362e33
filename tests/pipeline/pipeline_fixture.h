// A render context with stand-in stages: a projection that copies camera x, y
// to the screen, a fixed shade, and a filler that records what it receives.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "raster/reciprocal_tables.h"
#include "raster/surface.h"
#include "render/depth_buckets.h"
#include "render/matrix.h"
#include "render/mesh.h"
#include "render/pipeline.h"
#include "render/render_context.h"
#include "render/trig_tables.h"

struct FilledTriangle {
  const MeshVertex* top;
  int16_t topU, topV;
  const MeshVertex* middle;
  int16_t middleU, middleV;
  const MeshVertex* bottom;
  int16_t bottomU, bottomV;
  const SurfaceDescriptor* surface;
};

inline std::vector<FilledTriangle> filled;

inline void recordingFiller(const MeshVertex* top, int16_t topU, int16_t topV, const MeshVertex* middle,
                            int16_t middleU, int16_t middleV, const MeshVertex* bottom, int16_t bottomU,
                            int16_t bottomV, const SurfaceDescriptor* surface) {
  filled.push_back({top, topU, topV, middle, middleU, middleV, bottom, bottomU, bottomV, surface});
}

inline void copyProjection(const Vec3s& camera, MeshVertex& out) {
  out.screenX = camera.x;
  out.screenY = camera.y;
  out.depth = static_cast<int16_t>(-camera.z);
}

constexpr int16_t kTestShade = 7;
inline int16_t fixedShade(int16_t, int16_t) { return kTestShade; }

class PipelineTest : public ::testing::Test {
 protected:
  RenderContext context{};
  SurfaceDescriptor culled{};
  SurfaceDescriptor open{};

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

inline MeshVertex at(int16_t x, int16_t y, int16_t depth = 100) {
  MeshVertex v{};
  v.screenX = x;
  v.screenY = y;
  v.depth = depth;
  return v;
}

inline MeshTriangle triangleOf(MeshVertex* a, MeshVertex* b, MeshVertex* c, SurfaceDescriptor* surface) {
  return MeshTriangle{{{a, 1, 2}, {b, 3, 4}, {c, 5, 6}}, surface};
}
