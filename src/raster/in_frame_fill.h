// The affine filler's path for the bulk of a panorama's triangles: opaque,
// shade 1 at every corner, inside the frame. Such a triangle is set up
// straight from its three vertices and its spans need no clipping. Inline, so
// that a caller which has made the path's checks once for a whole tile (see
// drawTileQuad) draws the tile's triangles without a filler call each.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/fixed_point.h"
#include "core/frame_buffer.h"
#include "core/mesh.h"
#include "raster/edge_walk.h"
#include "raster/reciprocal_tables.h"

namespace raster {

// The texture as one span reads it.
struct TextureAccess {
  const uint16_t* texels;
  int32_t uMask;
  int32_t vMask;
};

// uMask and vMask non-negative with a sum inside int32: the masked sum is never negative.
inline bool unsignedIndexFits(const TextureAccess& texture) {
  return texture.uMask >= 0 && texture.vMask >= 0 && texture.uMask <= INT32_MAX - texture.vMask;
}

// A span's values at one pixel, or their steps per pixel; all 16.16.
struct AffinePixel {
  int32_t depth, shade, u, v;
};

// The common case, opaque with one shade along the whole span and masks
// whose sum cannot reach the sign bit: the masked sum is never negative, so the
// index is taken unsigned, and the shade (whole units) is added once into the
// written value. Shade is uint32_t, or a constant the compiler folds in.
// NonEmpty: the caller knows the span has a cell, so the loop tests its end
// only after each pixel.
template <class Shade, bool NonEmpty = false>
inline void opaqueRunOneShade(int32_t* cell, const int32_t* end, AffinePixel at, const AffinePixel step,
                              const TextureAccess texture, const Shade shade) {
  const uint16_t* texels = texture.texels;
  const uint32_t uMask = static_cast<uint32_t>(texture.uMask);
  const uint32_t vMask = static_cast<uint32_t>(texture.vMask);
  int32_t depth = at.depth;
  uint32_t u = static_cast<uint32_t>(at.u);
  uint32_t v = static_cast<uint32_t>(at.v);
  const uint32_t du = static_cast<uint32_t>(step.u);
  const uint32_t dv = static_cast<uint32_t>(step.v);
  if (!NonEmpty && cell == end) return;
  for (;;) {
    const uint32_t texel = texels[((u & uMask) + (v & vMask)) >> 16];
    if (depth < *cell) *cell = static_cast<int32_t>((static_cast<uint32_t>(depth) & 0xFFFF0000u) + texel + shade);
    depth = fx::add(depth, step.depth);
    u += du;
    v += dv;
    if (++cell == end) return;
  }
}

// The edge values of a triangle without a shade: x, depth, u in texels and v
// in texels times vScale, all 16.16; the lane order of EdgeLanes and of the
// general path's one-shade arrays.
enum : int { kOneShadeX, kOneShadeDepth, kOneShadeU, kOneShadeV, kOneShadeCount };

// An edge's one-shade values at a row, or their steps per row, as one vector:
// a row's step is then one vector add, and a span's differences one vector
// subtraction. Unsigned lanes, so that the adds wrap; lane() reads one back.
using EdgeLanes = uint32_t __attribute__((vector_size(16)));
using SignedLanes = int32_t __attribute__((vector_size(16)));

inline int32_t lane(EdgeLanes values, int k) { return static_cast<int32_t>(values[k]); }

// A vertex's one-shade values; u and v in 12.4 texels.
inline EdgeLanes edgeStart(const MeshVertex& vertex, int32_t u, int32_t v, int32_t vScale) {
  const auto put = [](int32_t value) { return static_cast<uint32_t>(value); };
  return EdgeLanes{put(fx::shl(vertex.screenX, 16)), put(fx::shl(vertex.depth, 16)), put(fx::shl(u, 12)),
                   put(fx::mul(fx::shl(v, 12), vScale))};
}

// The per-row slopes of an edge from a to b of the one-shade values.
inline EdgeLanes edgeSlopes(const MeshVertex& a, int32_t au, int32_t av, const MeshVertex& b, int32_t bu, int32_t bv,
                            int32_t vScale) {
  const auto put = [](int32_t value) { return static_cast<uint32_t>(value); };
  const int32_t reciprocal = edgeReciprocal(a.screenY, b.screenY);
  return EdgeLanes{put(unitSlope(a.screenX, b.screenX, reciprocal)), put(unitSlope(a.depth, b.depth, reciprocal)),
                   put(fx::sar(fx::mul(bu - au, reciprocal), 6)),
                   put(fx::mul(fx::sar(fx::mul(bv - av, reciprocal), 6), vScale))};
}

// One span of a triangle that needs no clipping, shade 1. The widened span
// (half a pixel beyond both edges) then has lo >= 0, hi <= kFrameColumns and,
// as right > left without wrapping, hi - lo >= 1 (a one-pixel span never takes
// its steps). Its steps are spanStep's, the differences shifted in all lanes
// at once.
inline void insideSpan(int32_t* rowCells, EdgeLanes left, EdgeLanes right, const TextureAccess texture) {
  if (!(lane(right, kOneShadeX) > lane(left, kOneShadeX))) return;
  // Unsigned: lo >= 0 and the width >= 1 here, and as indices they then need no widening.
  const uint32_t lo = static_cast<uint32_t>(fx::sar(fx::sub(lane(left, kOneShadeX), 32768), 16));
  const uint32_t width = static_cast<uint32_t>(fx::sar(fx::add(lane(right, kOneShadeX), 32768), 16)) - lo;
  const int32_t widthReciprocal = ReciprocalTable[width];
  const SignedLanes across = __builtin_convertvector(right - left, SignedLanes) >> 14;
  const auto step = [&across, widthReciprocal](int k) { return spanStepAcross(across[k], widthReciprocal); };
  const AffinePixel at{lane(left, kOneShadeDepth), 0, lane(left, kOneShadeU), lane(left, kOneShadeV)};
  int32_t* cell = rowCells + lo;
  opaqueRunOneShade<std::integral_constant<uint32_t, 1>, true>(
      cell, cell + width, at, {step(kOneShadeDepth), 0, step(kOneShadeU), step(kOneShadeV)}, texture, {});
}

// The same span from the general path's one-shade arrays.
inline void insideSpan(int32_t row, const int32_t* left, const int32_t* right, const TextureAccess& texture) {
  EdgeLanes leftLanes, rightLanes;
  std::memcpy(&leftLanes, left, sizeof leftLanes);
  std::memcpy(&rightLanes, right, sizeof rightLanes);
  insideSpan(frameRow(row), leftLanes, rightLanes, texture);
}

// A vertex's one-shade values into such an array.
inline void oneShadeStart(const MeshVertex& vertex, int32_t u, int32_t v, int32_t vScale, int32_t* out) {
  const EdgeLanes start = edgeStart(vertex, u, v, vScale);
  std::memcpy(out, &start, sizeof start);
}

// True when no span of the triangle needs clipping to the frame's columns:
// its corners lie in columns 1 .. kFrameColumns, and it passes the bounds
// guard's quick test. An edge's x at k rows from its start (k below its
// height h) is x0 + k * floor(dx * R / 4) with R = floor(2^18 / h), which
// lies between the ends' x, less at most k / 65536 < 1/16 pixel when dx < 0;
// the values never wrap. So a widened span's lo = (left - 1/2) >> 16 is at
// least the leftmost corner's column less 1, and its hi = (right + 1/2) >> 16
// at most the rightmost corner's column.
inline bool insideColumns(int32_t x0, int32_t x1, int32_t x2) {
  const auto inside = [](int32_t x) { return static_cast<uint32_t>(x) - 1 < uint32_t{kFrameColumns}; };
  return inside(x0) && inside(x1) && inside(x2);
}

// The spans of rows row .. end - 1 between the long and the short edge, both
// given at row; the long edge's values at end are returned.
template <bool LongIsLeft>
inline EdgeLanes insideRows(int32_t row, int32_t end, EdgeLanes longEdge, EdgeLanes longSlope, EdgeLanes shortEdge,
                            EdgeLanes shortSlope, const TextureAccess texture) {
  int32_t* const endCells = frameRow(end);
  for (int32_t* rowCells = frameRow(row); rowCells < endCells; rowCells += kFrameColumns) {
    if constexpr (LongIsLeft) {
      insideSpan(rowCells, longEdge, shortEdge, texture);
    } else {
      insideSpan(rowCells, shortEdge, longEdge, texture);
    }
    longEdge += longSlope;
    shortEdge += shortSlope;
  }
  return longEdge;
}

// Draws an opaque triangle of shade 1 whose rows are in order within 0 ..
// kFrameRows and cover more than smallTriangle takes (a flat top of two rows
// or more, a pointed top of three or more), whose corners lie in columns 1 ..
// kFrameColumns, with u and v extents below kSafeDifference and masks that
// allow the unsigned index. Its edges are built straight from the vertices,
// with the values the general path's corners and slopes have, and walked as
// walkTriangle walks them: no row is clipped, the upper half starts one step
// below the top corner, and the long edge goes on into the lower half with
// the value walkTriangle computes there (the same sum modulo 2^32).
inline void fillInFrame(const MeshVertex& top, int16_t topU, int16_t topV, const MeshVertex& middle, int16_t middleU,
                        int16_t middleV, const MeshVertex& bottom, int16_t bottomU, int16_t bottomV, int32_t vScale,
                        const TextureAccess& texture) {
  const int32_t topY = top.screenY, middleY = middle.screenY, bottomY = bottom.screenY;
  const EdgeLanes longSlope = edgeSlopes(top, topU, topV, bottom, bottomU, bottomV, vScale);
  EdgeLanes longEdge = edgeStart(top, topU, topV, vScale);
  if (middleY > topY) {
    const EdgeLanes shortSlope = edgeSlopes(top, topU, topV, middle, middleU, middleV, vScale);
    const int32_t longX = lane(longSlope, kOneShadeX), shortX = lane(shortSlope, kOneShadeX);
    // Equal slopes: the middle corner sits on the long edge; nothing is drawn.
    if (longX == shortX) return;
    // The top corner's own row has an empty span (both edges meet there):
    // start one step below it, with the values walkTriangle starts with.
    const EdgeLanes shortEdge = longEdge + shortSlope;
    longEdge += longSlope;
    const int32_t row = topY + 1;
    longEdge = longX < shortX ? insideRows<true>(row, middleY, longEdge, longSlope, shortEdge, shortSlope, texture)
                              : insideRows<false>(row, middleY, longEdge, longSlope, shortEdge, shortSlope, texture);
    if (bottomY <= middleY) return;
  }
  const EdgeLanes shortEdge = edgeStart(middle, middleU, middleV, vScale);
  const int32_t longX = lane(longEdge, kOneShadeX), shortX = lane(shortEdge, kOneShadeX);
  if (longX == shortX) return;
  const EdgeLanes shortSlope = edgeSlopes(middle, middleU, middleV, bottom, bottomU, bottomV, vScale);
  if (longX < shortX) {
    insideRows<true>(middleY, bottomY, longEdge, longSlope, shortEdge, shortSlope, texture);
  } else {
    insideRows<false>(middleY, bottomY, longEdge, longSlope, shortEdge, shortSlope, texture);
  }
}

// The triangles fillInFrame does not take for their size: a pointed top over
// two rows or fewer, a flat top over one or none.
inline bool fewRows(int32_t topY, int32_t middleY, int32_t bottomY) {
  return bottomY - topY <= (middleY == topY ? 1 : 2);
}

// The triangles of fewRows, but for the size the kind fillInFrame takes: they
// cover one row at most, and it is drawn with the values the general path
// finds for it. A flat top over one row spans its top corners' own values; a
// pointed top over two rows covers row top + 1, where the long edge has taken
// one step; that row belongs to the upper half when the middle corner is on
// the bottom row, else to the lower half, which starts at the middle corner's
// own values. Nothing else covers a row. Out of line: inlined next to
// fillInFrame, it crowds the registers of the larger triangles' path.
[[gnu::noinline]] inline void fillOneRowInFrame(const MeshVertex& top, int16_t topU, int16_t topV,
                                                const MeshVertex& middle, int16_t middleU, int16_t middleV,
                                                const MeshVertex& bottom, int16_t bottomU, int16_t bottomV,
                                                int32_t vScale, const TextureAccess& texture) {
  const int32_t topY = top.screenY, middleY = middle.screenY, bottomY = bottom.screenY;
  const EdgeLanes atTop = edgeStart(top, topU, topV, vScale);
  if (middleY == topY) {
    if (bottomY != topY + 1 || top.screenX == middle.screenX) return;
    const EdgeLanes atMiddle = edgeStart(middle, middleU, middleV, vScale);
    const bool topIsLeft = top.screenX < middle.screenX;
    insideSpan(frameRow(topY), topIsLeft ? atTop : atMiddle, topIsLeft ? atMiddle : atTop, texture);
    return;
  }
  if (bottomY != topY + 2) return;
  const EdgeLanes longSlope = edgeSlopes(top, topU, topV, bottom, bottomU, bottomV, vScale);
  const EdgeLanes upperSlope = edgeSlopes(top, topU, topV, middle, middleU, middleV, vScale);
  if (lane(longSlope, kOneShadeX) == lane(upperSlope, kOneShadeX)) return;  // the middle corner on the long edge
  const EdgeLanes longEdge = atTop + longSlope;
  EdgeLanes other;
  bool longIsLeft;
  if (middleY == bottomY) {
    other = atTop + upperSlope;
    longIsLeft = lane(longSlope, kOneShadeX) < lane(upperSlope, kOneShadeX);
  } else {
    other = edgeStart(middle, middleU, middleV, vScale);
    if (lane(longEdge, kOneShadeX) == lane(other, kOneShadeX)) return;
    longIsLeft = lane(longEdge, kOneShadeX) < lane(other, kOneShadeX);
  }
  insideSpan(frameRow(topY + 1), longIsLeft ? longEdge : other, longIsLeft ? other : longEdge, texture);
}

}  // namespace raster
