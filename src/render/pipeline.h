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
void drawTriangleNow(RenderContext& context, const MeshTriangle& triangle);
void queueTriangle(const MeshTriangle& triangle);
// Calls context.triangleFiller with the corners top, middle, bottom as cornerOrder names them.
void fillInCornerOrder(RenderContext& context, const MeshTriangle& triangle, int32_t cornerOrder);

