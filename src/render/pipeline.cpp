#include "render/pipeline.h"

#include <algorithm>

#include "core/fixed_point.h"
#include "core/frame_buffer.h"
#include "core/mesh.h"
#include "core/render_context.h"
#include "core/surface.h"
#include "raster/bounds_guard.h"
#include "raster/in_frame_fill.h"
#include "raster/raster_stage.h"
#include "render/depth_buckets.h"
#include "render/matrix.h"
#include "render/projection.h"
#include "render/renderer.h"
#include "render/tile_quad.h"

namespace {

// Camera z of visible vertices: -2999 to -65.
constexpr int16_t kNearestZ = -65;
constexpr int16_t kFarthestZ = -2999;

const TriangleCorner& cornerAt(const MeshTriangle& triangle, int32_t cornerOrder, int shift) {
  return triangle.corners[(cornerOrder >> shift) & 15];
}

}  // namespace

namespace {

// What shadeFunction0, 1 and 2 give for every input.
constexpr int16_t kUniformShade = 1;

bool givesUniformShade(ShadeFunction shade) {
  return shade == shadeFunction0 || shade == shadeFunction1 || shade == shadeFunction2;
}

// A vertex that passed the depth test: its camera x and y, projection and
// shade. With kCallFree (a known projection kProject and a uniform shade)
// there is no call; otherwise the context's stages are called.
template <bool kCallFree, ProjectFunction kProject>
inline void projectAndShade(const RenderContext& context, MeshVertex& vertex, const Vec3s& view) {
  vertex.camera.x = view.x;
  vertex.camera.y = view.y;
  if constexpr (kCallFree) {
    kProject(view, vertex);
    vertex.shade = kUniformShade;
  } else {
    context.projectFunction(vertex.camera, vertex);
    vertex.shade = context.shadeFunction(vertex.depth, vertex.baseLight);
  }
}

// The transform loop. The matrix is a local copy: the vertices and the matrix
// are both int16 arrays, so through a reference the compiler would reload the
// matrix after every store.
template <bool kCallFree, ProjectFunction kProject>
void transformLoop(const RenderContext& context, Mesh& mesh) {
  const Matrix camera = *matrixStack.top;
  MeshVertex* vertex = mesh.vertices;
  MeshVertex* const end = vertex + std::max(mesh.vertexCount, 0);
  for (; vertex != end; ++vertex) {
    // The depth alone first: a rejected vertex costs three multiplies.
    Vec3s view;
    transformDepth(camera, vertex->model, view);
    vertex->camera.z = view.z;
    if (view.z > kNearestZ || view.z < kFarthestZ) {
      vertex->depth = 0;
      continue;
    }
    transformXY(camera, vertex->model, view);
    projectAndShade<kCallFree, kProject>(context, *vertex, view);
  }
}

// transformLoop's values for points p0 + k x step. transformDepth and
// transformXY shift, cut and translate the wrapped sum of three products; that
// sum is the point's dot product with a column of the matrix modulo 2^32,
// which is linear in the point whatever wraps: sum(p0 + (k + 1) step) =
// sum(p0 + k step) + sum(step) modulo 2^32, sum(step) being the caller's
// stepSums, and fx::add adds modulo 2^32. So each vertex's three sums are the
// same 32-bit words as transformLoop's, and the same shift and cuts, applied
// after the sum, give the same coordinates. The x and y sums are stepped past
// rejected vertices too.
template <bool kCallFree, ProjectFunction kProject>
void evenRowLoop(const RenderContext& context, MeshVertex* vertex, int32_t count, const TransformSums& delta) {
  const Matrix camera = *matrixStack.top;
  MeshVertex* const end = vertex + std::max(count, 0);
  if (vertex == end) return;
  TransformSums sum = transformSums(camera, vertex->model.x, vertex->model.y, vertex->model.z);
  for (; vertex != end; ++vertex) {
    Vec3s view;
    view.z = matrix_detail::fromSum(sum.z, camera.tz);
    vertex->camera.z = view.z;
    if (view.z > kNearestZ || view.z < kFarthestZ) {
      vertex->depth = 0;
    } else {
      view.x = matrix_detail::fromSum(sum.x, camera.tx);
      view.y = matrix_detail::fromSum(sum.y, camera.ty);
      projectAndShade<kCallFree, kProject>(context, *vertex, view);
    }
    sum = TransformSums{fx::add(sum.x, delta.x), fx::add(sum.y, delta.y), fx::add(sum.z, delta.z)};
  }
}

enum class Stages { Called, Portrait, Landscape };

// Which loop suits the context: the call-free ones need a uniform shade and a known projection.
Stages stagesOf(const RenderContext& context) {
  if (!givesUniformShade(context.shadeFunction)) return Stages::Called;
  if (context.projectFunction == projectPortrait) return Stages::Portrait;
  if (context.projectFunction == projectLandscape) return Stages::Landscape;
  return Stages::Called;
}

}  // namespace

void transformVertices(RenderContext& context, Mesh& mesh) {
  switch (stagesOf(context)) {
    case Stages::Portrait:
      return transformLoop<true, projectPortraitInline>(context, mesh);
    case Stages::Landscape:
      return transformLoop<true, projectLandscapeInline>(context, mesh);
    case Stages::Called:
      break;
  }
  transformLoop<false, nullptr>(context, mesh);
}

void transformEvenRow(RenderContext& context, MeshVertex* first, int32_t count, const TransformSums& stepSums) {
  switch (stagesOf(context)) {
    case Stages::Portrait:
      return evenRowLoop<true, projectPortraitInline>(context, first, count, stepSums);
    case Stages::Landscape:
      return evenRowLoop<true, projectLandscapeInline>(context, first, count, stepSums);
    case Stages::Called:
      break;
  }
  evenRowLoop<false, nullptr>(context, first, count, stepSums);
}

namespace {

// Only counter-clockwise corners (x right, y down) face the eye; zero area is dropped too.
inline bool facesAway(const MeshVertex& v0, const MeshVertex& v1, const MeshVertex& v2) {
  const int32_t a = fx::mul(v1.screenX - v0.screenX, v2.screenY - v0.screenY);
  const int32_t b = fx::mul(v1.screenY - v0.screenY, v2.screenX - v0.screenX);
  return a >= b;
}

// The cornerOrder code of corners on rows ya, yb and yc.
inline int32_t rowOrder(int32_t ya, int32_t yb, int32_t yc) {
  if (ya > yb) return yc >= ya ? kOrder102 : yc > yb ? kOrder120 : kOrder210;
  return yb <= yc ? kOrder012 : yc >= ya ? kOrder021 : kOrder201;
}

// The shared set-up: 0 when the triangle is dropped (back face, off the frame,
// one row), else its cornerOrder code.
inline int32_t setUp(const MeshTriangle& triangle) {
  const MeshVertex& v0 = *triangle.corners[0].vertex;
  const MeshVertex& v1 = *triangle.corners[1].vertex;
  const MeshVertex& v2 = *triangle.corners[2].vertex;
  if (triangle.surface->cullBackFaces != 0 && facesAway(v0, v1, v2)) return 0;
  if (std::max({v0.screenX, v1.screenX, v2.screenX}) < 0) return 0;
  if (std::min({v0.screenX, v1.screenX, v2.screenX}) >= kFrameColumns) return 0;
  const int32_t order = rowOrder(v0.screenY, v1.screenY, v2.screenY);
  const int32_t topY = cornerAt(triangle, order, 0).vertex->screenY;
  const int32_t bottomY = cornerAt(triangle, order, 8).vertex->screenY;
  if (topY >= kFrameRows || bottomY < 0 || bottomY == topY) return 0;
  return order;
}

}  // namespace

void fillInCornerOrder(RenderContext& context, const MeshTriangle& triangle, int32_t cornerOrder) {
  const TriangleCorner& top = cornerAt(triangle, cornerOrder, 0);
  const TriangleCorner& middle = cornerAt(triangle, cornerOrder, 4);
  const TriangleCorner& bottom = cornerAt(triangle, cornerOrder, 8);
  context.triangleFiller(top.vertex, top.u, top.v, middle.vertex, middle.u, middle.v, bottom.vertex, bottom.u,
                         bottom.v, triangle.surface);
}

void drawTriangleNow(RenderContext& context, const MeshTriangle& triangle) {
  const int32_t order = setUp(triangle);
  if (order != 0) fillInCornerOrder(context, triangle, order);
}

void queueTriangle(const MeshTriangle& triangle) {
  const int32_t order = setUp(triangle);
  if (order != 0) bucketsPush(depthBuckets, &triangle, order);
}

void drawMesh(RenderContext& context, Mesh& mesh) {
  transformVertices(context, mesh);
  drawTriangles(context, mesh);
}

void drawTriangles(RenderContext& context, const Mesh& mesh) {
  const MeshTriangle* const end = mesh.triangles + std::max(mesh.triangleCount, 0);
  for (const MeshTriangle* triangle = mesh.triangles; triangle != end; ++triangle) {
    // No near or far clipping: one rejected vertex hides the whole triangle.
    if (triangle->corners[0].vertex->depth == 0 || triangle->corners[1].vertex->depth == 0 ||
        triangle->corners[2].vertex->depth == 0) {
      continue;
    }
    const int32_t order = setUp(*triangle);
    if (order == 0) continue;
    if (triangle->surface->blendMode >= BlendMixed) {
      bucketsPush(depthBuckets, triangle, order);
    } else {
      fillInCornerOrder(context, *triangle, order);
    }
  }
}

bool tilesFillInline(const RenderContext& context, const SurfaceDescriptor& surface, int16_t last) {
  // What fillTriangleAffine's in-frame path asks of the surface and of u and v, which are 0 or last.
  return context.triangleFiller == fillTriangleAffine && surface.blendMode == BlendOpaque &&
         raster::unsignedIndexFits({surface.texels, surface.uMask, surface.vMask}) &&
         raster::extentBelow(0, last, last, raster::kSafeDifference);
}

void drawTileQuadByCalls(RenderContext& context, MeshVertex* v0, MeshVertex* v1, MeshVertex* v2, MeshVertex* v3,
                         int16_t last, SurfaceDescriptor* surface) {
  const TileTriangles triangles = tileTriangles(v0, v1, v2, v3, last, surface);
  if (v1->depth != 0) {
    const int32_t order = setUp(triangles.first);
    if (order != 0) fillInCornerOrder(context, triangles.first, order);
  }
  if (v3->depth != 0) {
    const int32_t order = setUp(triangles.second);
    if (order != 0) fillInCornerOrder(context, triangles.second, order);
  }
}

// One triangle of a tile whose corners are all inFrameCorner, drawn as setUp
// and fillTriangleAffine draw it. Of setUp's tests only the back face and the
// single row can drop it: every column is in 0 .. kFrameColumns - 1, and a top
// row at kFrameRows puts all three corners on that one row. The filler's own
// tests then pass but for the size (the caller checked the surface), and its
// in-frame paths draw it.
void fillInFrameTriangle(const MeshTriangle& triangle, const raster::TextureAccess& texture) {
  const SurfaceDescriptor& surface = *triangle.surface;
  if (surface.cullBackFaces != 0 &&
      facesAway(*triangle.corners[0].vertex, *triangle.corners[1].vertex, *triangle.corners[2].vertex)) {
    return;
  }
  const int32_t order = rowOrder(triangle.corners[0].vertex->screenY, triangle.corners[1].vertex->screenY,
                                 triangle.corners[2].vertex->screenY);
  const TriangleCorner& top = cornerAt(triangle, order, 0);
  const TriangleCorner& middle = cornerAt(triangle, order, 4);
  const TriangleCorner& bottom = cornerAt(triangle, order, 8);
  const int32_t topY = top.vertex->screenY, middleY = middle.vertex->screenY, bottomY = bottom.vertex->screenY;
  if (bottomY == topY) return;
  if (raster::fewRows(topY, middleY, bottomY)) {
    raster::fillOneRowInFrame(*top.vertex, top.u, top.v, *middle.vertex, middle.u, middle.v, *bottom.vertex, bottom.u,
                              bottom.v, surface.vScale, texture);
    return;
  }
  raster::fillInFrame(*top.vertex, top.u, top.v, *middle.vertex, middle.u, middle.v, *bottom.vertex, bottom.u,
                      bottom.v, surface.vScale, texture);
}
