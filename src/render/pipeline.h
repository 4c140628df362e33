// The vertex pipeline: transform, reject, project and shade the vertices of a
// mesh, then cull, order and fill (or queue) its triangles.
#pragma once

#include <cstdint>

#include "core/mesh.h"
#include "render/matrix.h"

struct RenderContext;

// Vertices that are transformed together (one block of storage, no triangles
// of their own), with a box that holds every one of them.
struct VertexBlock {
  Mesh vertices;
  ModelBounds bounds;
};

// cornerOrder codes: top corner in bits 0..3, middle in 4..7, bottom in 8..11,
// so the hex digits read bottom, middle, top.
constexpr int32_t kOrder012 = 0x210;
constexpr int32_t kOrder021 = 0x120;
constexpr int32_t kOrder201 = 0x102;
constexpr int32_t kOrder102 = 0x201;
constexpr int32_t kOrder120 = 0x021;
constexpr int32_t kOrder210 = 0x012;

// transformVertices, then drawTriangles.
void drawMesh(RenderContext& context, Mesh& mesh);
void transformVertices(RenderContext& context, Mesh& mesh);
// A step between model points in whole units; it may exceed 16 bits.
struct ModelStep {
  int32_t x, y, z;
};
// transformVertices on the `count` vertices from `first`, whose model points
// lie at even steps: vertex k's is vertex 0's plus k x step, computed as
// integers (no coordinate wrapped to 16 bits), and stepSums is
// transformSums(*matrixStack.top, step). The same values, but each vertex's
// sums are its neighbour's plus stepSums: no multiply per vertex.
void transformEvenRow(RenderContext& context, MeshVertex* first, int32_t count, const TransformSums& stepSums);
// Culls, orders and fills (or queues) the mesh's triangles whose corners are all
// visible; the vertices must have been transformed this frame.
void drawTriangles(RenderContext& context, const Mesh& mesh);
// The two triangles of a tile whose corners are v0..v3, as drawTriangles draws
// its mesh: (v0, v1, v2) and (v0, v2, v3), texel (0, 0) at v0 and u along
// v0-v1, `last` the last texel in sixteenths. Opaque surfaces only: nothing
// is queued, and the triangle records live only for the filler calls.
// fillInline (see tilesFillInline): a tile that lies inside the frame has its
// triangles drawn by the affine filler's in-frame path without a filler call
// each, the same cells as the calls would give.
void drawTileQuad(RenderContext& context, MeshVertex* v0, MeshVertex* v1, MeshVertex* v2, MeshVertex* v3, int16_t last,
                  SurfaceDescriptor* surface, bool fillInline = false);
// Whether drawTileQuad may fill the tiles of a surface inline: the context's
// filler is the affine one, the surface is opaque with masks that allow the
// filler's unsigned texel index, and last is small enough for its slopes.
// The surface's texels may change between tiles, nothing else.
bool tilesFillInline(const RenderContext& context, const SurfaceDescriptor& surface, int16_t last);
void drawTriangleNow(RenderContext& context, const MeshTriangle& triangle);
void queueTriangle(const MeshTriangle& triangle);
// Calls context.triangleFiller with the corners top, middle, bottom as cornerOrder names them.
void fillInCornerOrder(RenderContext& context, const MeshTriangle& triangle, int32_t cornerOrder);

