// The two triangles of a grid tile, drawn as drawTriangles draws a tile's
// mesh, without the triangle records a mesh keeps. The tiles that lie inside
// the frame, the bulk of a finely tiled panorama, are filled by the affine
// filler's in-frame path straight away.
#pragma once

#include <cstdint>

#include "core/frame_buffer.h"
#include "core/mesh.h"
#include "core/render_context.h"
#include "core/surface.h"
#include "raster/in_frame_fill.h"

// Whether drawTileQuad may fill the tiles of a surface inline: the context's
// filler is the affine one, the surface is opaque with masks that allow the
// filler's unsigned texel index, and last is small enough for its slopes.
// The surface's texels may change between tiles, nothing else.
bool tilesFillInline(const RenderContext& context, const SurfaceDescriptor& surface, int16_t last);

// A tile corner as the affine filler's in-frame path wants it: columns 1 ..
// kFrameColumns - 1, rows 0 .. kFrameRows, shade 1.
inline bool inFrameCorner(const MeshVertex& v) {
  return static_cast<uint32_t>(v.screenX) - 1 < uint32_t{kFrameColumns - 1} &&
         static_cast<uint32_t>(v.screenY) <= uint32_t{kFrameRows} && v.shade == 1;
}

// The two triangles of a tile whose corners are v0..v3: (v0, v1, v2) and
// (v0, v2, v3), texel (0, 0) at v0 and u along v0-v1, `last` the last texel in
// sixteenths.
struct TileTriangles {
  MeshTriangle first, second;
};
inline TileTriangles tileTriangles(MeshVertex* v0, MeshVertex* v1, MeshVertex* v2, MeshVertex* v3, int16_t last,
                                   SurfaceDescriptor* surface) {
  return {{{{v0, 0, 0}, {v1, last, 0}, {v2, last, last}}, surface},
          {{{v0, 0, 0}, {v2, last, last}, {v3, 0, last}}, surface}};
}

// One triangle of a tile of such a surface whose corners are all visible and
// inFrameCorner, drawn as triangle set-up and fillTriangleAffine draw it.
void fillInFrameTriangle(const MeshTriangle& triangle, const raster::TextureAccess& texture);
// drawTileQuad's path through triangle set-up and the context's filler.
void drawTileQuadByCalls(RenderContext& context, MeshVertex* v0, MeshVertex* v1, MeshVertex* v2, MeshVertex* v3,
                         int16_t last, SurfaceDescriptor* surface);

// A tile's triangles (tileTriangles) as drawTriangles draws a tile's mesh.
// Opaque surfaces only: nothing is queued. fillInline (see tilesFillInline):
// a tile that lies inside the frame has its triangles drawn by the affine
// filler's in-frame path without a filler call each, the same cells as the
// calls would give.
inline void drawTileQuad(RenderContext& context, MeshVertex* v0, MeshVertex* v1, MeshVertex* v2, MeshVertex* v3,
                         int16_t last, SurfaceDescriptor* surface, bool fillInline = false) {
  // Both triangles have corners v0 and v2: either one rejected hides both.
  if (v0->depth == 0 || v2->depth == 0) return;
  if (fillInline && inFrameCorner(*v0) && inFrameCorner(*v1) && inFrameCorner(*v2) && inFrameCorner(*v3)) {
    const TileTriangles triangles = tileTriangles(v0, v1, v2, v3, last, surface);
    const raster::TextureAccess texture{surface->texels, surface->uMask, surface->vMask};
    if (v1->depth != 0) fillInFrameTriangle(triangles.first, texture);
    if (v3->depth != 0) fillInFrameTriangle(triangles.second, texture);
    return;
  }
  drawTileQuadByCalls(context, v0, v1, v2, v3, last, surface);
}

// The triangles of a run of tiles whose corners are all visible and
// inFrameCorner, kept from tile to tile: only the corners and the texels
// change, so a tile costs a few stores instead of two whole records.
struct InFrameTiles {
  TileTriangles triangles;
  raster::TextureAccess texture;
};

// For tiles of a surface that tilesFillInline accepts.
inline InFrameTiles inFrameTiles(int16_t last, SurfaceDescriptor* surface) {
  return {tileTriangles(nullptr, nullptr, nullptr, nullptr, last, surface),
          {surface->texels, surface->uMask, surface->vMask}};
}

// drawTileQuad for such a tile with the given texels.
inline void fillTileInFrame(InFrameTiles& tiles, MeshVertex* v0, MeshVertex* v1, MeshVertex* v2, MeshVertex* v3,
                            const uint16_t* texels) {
  MeshTriangle& first = tiles.triangles.first;
  MeshTriangle& second = tiles.triangles.second;
  first.corners[0].vertex = v0;
  first.corners[1].vertex = v1;
  first.corners[2].vertex = v2;
  second.corners[0].vertex = v0;
  second.corners[1].vertex = v2;
  second.corners[2].vertex = v3;
  tiles.texture.texels = texels;
  fillInFrameTriangle(first, tiles.texture);
  fillInFrameTriangle(second, tiles.texture);
}
