// A deliberately plain model of the affine and flat fillers for comparison:
// 64-bit arithmetic, every edge and span value computed directly from its
// start rather than stepped, the blend mode decided per pixel. Valid only
// for triangles whose values never leave 32 bits.
#pragma once

#include <cstdint>

#include "raster/surface.h"
#include "render/mesh.h"

struct ReferenceCorner {
  int64_t x, y, depth, shade, u, v;
};

inline ReferenceCorner referenceCorner(const MeshVertex& vertex, int16_t u, int16_t v) {
  return {vertex.screenX, vertex.screenY, vertex.depth, vertex.shade, u, v};
}

// Draws into cells (240 x 320). flat: the flat filler, else the affine one.
void referenceFill(int32_t* cells, ReferenceCorner top, ReferenceCorner middle, ReferenceCorner bottom,
                   const SurfaceDescriptor& surface, bool flat);
