// The vertex pipeline: transform, reject, project and shade the vertices of a
// mesh, then cull, order and fill (or queue) its triangles.
#pragma once

#include <cstdint>

struct Mesh;
struct MeshTriangle;
struct RenderContext;

// cornerOrder codes: top corner in bits 0..3, middle in 4..7, bottom in 8..11.
constexpr int32_t kOrder012 = 528;
constexpr int32_t kOrder021 = 288;
constexpr int32_t kOrder201 = 258;
constexpr int32_t kOrder102 = 513;
constexpr int32_t kOrder120 = 33;
constexpr int32_t kOrder210 = 18;

void drawMesh(RenderContext& context, Mesh& mesh);
void transformVertices(RenderContext& context, Mesh& mesh);
void drawTriangleNow(RenderContext& context, const MeshTriangle& triangle);
void queueTriangle(const MeshTriangle& triangle);
// Calls context.triangleFiller with the corners top, middle, bottom as cornerOrder names them.
void fillInCornerOrder(RenderContext& context, const MeshTriangle& triangle, int32_t cornerOrder);

// The shared set-up: 0 when the triangle is dropped (back face, off the frame,
// one row), else its cornerOrder code.
int32_t triangleSetup(const MeshTriangle& triangle);
