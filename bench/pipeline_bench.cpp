// The vertex pipeline over the 1536 tile meshes of a cube 512 texels on a
// side cut into 32 x 32 tiles: transform, reject, project, shade, cull and
// order every triangle; once with a filler that does nothing, once with the
// affine filler for a whole frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "display/frame_buffer.h"
#include "raster/fillers.h"
#include "raster/reciprocal_tables.h"
#include "raster/surface.h"
#include "render/depth_buckets.h"
#include "render/matrix.h"
#include "render/mesh.h"
#include "render/pipeline.h"
#include "render/projection.h"
#include "render/render_context.h"
#include "render/trig_tables.h"

namespace {

constexpr int32_t kHalfSide = 256;
constexpr int32_t kTilesPerSide = 32;
constexpr int32_t kTileTexels = 512 / kTilesPerSide;
constexpr int16_t kTexelEnd = 16 * (kTileTexels - 1);

struct Axis {
  int32_t x, y, z;
};

// Each face: its outward normal and two tile axes whose cross product points
// inward, so that every triangle runs counter-clockwise seen from the centre.
struct Face {
  Axis normal, a, b;
};
constexpr Face kFaces[6] = {
    {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}},
    {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},  {{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},  {{0, -1, 0}, {0, 0, 1}, {1, 0, 0}},
};

struct Cube {
  std::vector<MeshVertex> vertices;
  std::vector<MeshTriangle> triangles;
  std::vector<SurfaceDescriptor> surfaces;
  std::vector<Mesh> meshes;
  std::vector<uint16_t> texels;

  Cube() {
    const int32_t meshCount = 6 * kTilesPerSide * kTilesPerSide;
    vertices.resize(4 * meshCount);
    triangles.resize(2 * meshCount);
    surfaces.resize(meshCount);
    meshes.resize(meshCount);
    texels.resize(kTileTexels * kTileTexels);
    for (size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<uint16_t>(0x2000 + 97 * i);
    int32_t m = 0;
    for (const Face& face : kFaces)
      for (int32_t j = 0; j < kTilesPerSide; ++j)
        for (int32_t i = 0; i < kTilesPerSide; ++i, ++m) buildTile(m, face, i, j);
  }

  void buildTile(int32_t m, const Face& f, int32_t i, int32_t j) {
    MeshVertex* v = &vertices[4 * m];
    for (int32_t corner = 0; corner < 4; ++corner) {
      const int32_t ci = i + (corner == 1 || corner == 2), cj = j + (corner >= 2);
      const int32_t s = ci * kTileTexels - kHalfSide, t = cj * kTileTexels - kHalfSide;
      v[corner] = MeshVertex{};
      v[corner].model = {static_cast<int16_t>(kHalfSide * f.normal.x + s * f.a.x + t * f.b.x),
                         static_cast<int16_t>(kHalfSide * f.normal.y + s * f.a.y + t * f.b.y),
                         static_cast<int16_t>(kHalfSide * f.normal.z + s * f.a.z + t * f.b.z)};
      v[corner].baseLight = 1;
    }
    SurfaceDescriptor& surface = surfaces[m];
    surface.cullBackFaces = 1;
    surface.vScale = kTileTexels;
    surface.vExtent = kTileTexels - 1;
    surface.uMask = (kTileTexels - 1) << 16;
    surface.vMask = ((kTileTexels - 1) * kTileTexels) << 16;
    surface.texels = texels.data();
    // Corners 0 (0,0), 1 (1,0), 2 (1,1), 3 (0,1) in tile steps.
    triangles[2 * m] = {{{&v[0], 0, 0}, {&v[1], kTexelEnd, 0}, {&v[2], kTexelEnd, kTexelEnd}}, &surface};
    triangles[2 * m + 1] = {{{&v[0], 0, 0}, {&v[2], kTexelEnd, kTexelEnd}, {&v[3], 0, kTexelEnd}}, &surface};
    meshes[m] = Mesh{4, v, 2, &triangles[2 * m]};
  }
};

int64_t trianglesFilled = 0;
void countingFiller(const MeshVertex*, int16_t, int16_t, const MeshVertex*, int16_t, int16_t, const MeshVertex*,
                    int16_t, int16_t, const SurfaceDescriptor*) {
  ++trianglesFilled;
}

void prepareRenderer(RenderContext& context, TriangleFiller filler) {
  buildTrigTables();
  buildReciprocalTables();
  renderInit(context);
  buildProjectionTable(350);
  context.projectFunction = projectPortrait;
  context.shadeFunction = shadeFunction0;
  context.triangleFiller = filler;
  matrixStackInit(matrixStack, 4);
}

// One frame's submission, as the frame update does it: camera over the stack top, every mesh.
void submitFrame(RenderContext& context, Cube& cube, int32_t pitch, int32_t yaw) {
  matrixStackPush(matrixStack);
  matrixRotationX(*matrixStack.top, pitch);
  matrixRotateY(*matrixStack.top, yaw);
  for (Mesh& mesh : cube.meshes) drawMesh(context, mesh);
  matrixStackPop(matrixStack);
  if (depthBuckets.queuedCount != 0) bucketsDrain(depthBuckets, context);
}

void BM_VertexPipeline(benchmark::State& state) {
  RenderContext context{};
  prepareRenderer(context, countingFiller);
  Cube cube;
  trianglesFilled = 0;
  int32_t yaw = 0;
  for (auto _ : state) {
    submitFrame(context, cube, 60, yaw);
    yaw = (yaw + 13) & kAngleMask;
  }
  state.counters["meshes"] = benchmark::Counter(static_cast<double>(state.iterations()) * cube.meshes.size(),
                                                benchmark::Counter::kIsRate);
  state.counters["filled/frame"] = static_cast<double>(trianglesFilled) / static_cast<double>(state.iterations());
  matrixStackRelease(matrixStack);
}
BENCHMARK(BM_VertexPipeline);

void BM_FrameAffine(benchmark::State& state) {
  RenderContext context{};
  prepareRenderer(context, fillTriangleAffine);
  Cube cube;
  int32_t yaw = 0;
  for (auto _ : state) {
    std::fill(FrameBuffer, FrameBuffer + kFrameCells, kClearCell);  // what presentation leaves
    submitFrame(context, cube, 60, yaw);
    yaw = (yaw + 13) & kAngleMask;
    benchmark::ClobberMemory();
  }
  matrixStackRelease(matrixStack);
}
BENCHMARK(BM_FrameAffine);

}  // namespace
