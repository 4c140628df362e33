// The vertex pipeline: transform, reject, project and shade the vertices of a
// mesh, then cull, order and fill (or queue) its triangles.
#pragma once

#include <cstdint>

#include "core/mesh.h"
#include "core/screen.h"
#include "core/surface.h"
#include "raster/in_frame_fill.h"
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
void drawTileQuadByCalls(RenderContext& context, MeshVertex* v0, MeshVertex* v1, MeshVertex* v2, MeshVertex* v3,
                         int16_t last, SurfaceDescriptor* surface);
void fillInFrameTriangle(const MeshTriangle& triangle, const raster::TextureAccess& texture);
// A tile corner as the affine filler's in-frame path wants it: columns 1 ..
// kFrameColumns - 1, rows 0 .. kFrameRows, shade 1.
inline bool inFrameCorner(const MeshVertex& v) {
  return static_cast<uint32_t>(v.screenX) - 1 < uint32_t{kFrameColumns - 1} &&
         static_cast<uint32_t>(v.screenY) <= uint32_t{kFrameRows} && v.shade == 1;
}
// The two triangles of a run's tiles filled by fillTileInFrame, kept from
// tile to tile: only their corners and texels change.
struct InFrameTiles {
  MeshTriangle first, second;
  raster::TextureAccess texture;
};
inline InFrameTiles inFrameTiles(int16_t last, SurfaceDescriptor* surface) {
  return {{{{nullptr, 0, 0}, {nullptr, last, 0}, {nullptr, last, last}}, surface},
          {{{nullptr, 0, 0}, {nullptr, last, last}, {nullptr, 0, last}}, surface},
          {surface->texels, surface->uMask, surface->vMask}};
}
// drawTileQuad for a tile whose four corners are visible and inFrameCorner,
// with the given texels.
inline void fillTileInFrame(InFrameTiles& tiles, MeshVertex* v0, MeshVertex* v1, MeshVertex* v2, MeshVertex* v3,
                            const uint16_t* texels) {
  tiles.first.corners[0].vertex = v0;
  tiles.first.corners[1].vertex = v1;
  tiles.first.corners[2].vertex = v2;
  tiles.second.corners[0].vertex = v0;
  tiles.second.corners[1].vertex = v2;
  tiles.second.corners[2].vertex = v3;
  tiles.texture.texels = texels;
  fillInFrameTriangle(tiles.first, tiles.texture);
  fillInFrameTriangle(tiles.second, tiles.texture);
}
inline void drawTileQuad(RenderContext& context, MeshVertex* v0, MeshVertex* v1, MeshVertex* v2, MeshVertex* v3,
                         int16_t last, SurfaceDescriptor* surface, bool fillInline = false) {
  // Both triangles have corners v0 and v2: either one rejected hides both.
  if (v0->depth == 0 || v2->depth == 0) return;
  if (fillInline && inFrameCorner(*v0) && inFrameCorner(*v1) && inFrameCorner(*v2) && inFrameCorner(*v3)) {
    const raster::TextureAccess texture{surface->texels, surface->uMask, surface->vMask};
    if (v1->depth != 0) fillInFrameTriangle(MeshTriangle{{{v0, 0, 0}, {v1, last, 0}, {v2, last, last}}, surface}, texture);
    if (v3->depth != 0) fillInFrameTriangle(MeshTriangle{{{v0, 0, 0}, {v2, last, last}, {v3, 0, last}}, surface}, texture);
    return;
  }
  drawTileQuadByCalls(context, v0, v1, v2, v3, last, surface);
}
// Whether drawTileQuad may fill the tiles of a surface inline: the context's
// filler is the affine one, the surface is opaque with masks that allow the
// filler's unsigned texel index, and last is small enough for its slopes.
// The surface's texels may change between tiles, nothing else.
bool tilesFillInline(const RenderContext& context, const SurfaceDescriptor& surface, int16_t last);
void drawTriangleNow(RenderContext& context, const MeshTriangle& triangle);
void queueTriangle(const MeshTriangle& triangle);
// Calls context.triangleFiller with the corners top, middle, bottom as cornerOrder names them.
void fillInCornerOrder(RenderContext& context, const MeshTriangle& triangle, int32_t cornerOrder);

