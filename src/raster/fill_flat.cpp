// The flat filler: one colour from the surface, depth and shade stepped.
#include <algorithm>

#include "core/mesh.h"
#include "core/surface.h"
#include "raster/bounds_guard.h"
#include "raster/edge_walk.h"
#include "raster/pixel_rule.h"
#include "raster/raster_stage.h"

namespace {

using namespace raster;

// Interpolants, all 16.16.
enum : int { kX, kDepth, kShade, kCount };

struct FlatCorner {
  int32_t x, y, depth, shade;
  int32_t start[kCount];
};

FlatCorner loadCorner(const MeshVertex& vertex) {
  FlatCorner c{vertex.screenX, vertex.screenY, vertex.depth, vertex.shade, {}};
  c.start[kX] = fx::shl(c.x, 16);
  c.start[kDepth] = fx::shl(c.depth, 16);
  c.start[kShade] = fx::shl(c.shade, 16);
  return c;
}

void flatSlopes(const FlatCorner& a, const FlatCorner& b, int32_t reciprocal, int32_t* out) {
  out[kX] = unitSlope(a.x, b.x, reciprocal);
  out[kDepth] = unitSlope(a.depth, b.depth, reciprocal);
  out[kShade] = unitSlope(a.shade, b.shade, reciprocal);
}

bool withinBounds(const FlatCorner& t, const FlatCorner& m, const FlatCorner& b,
                  const TriangleEdges<kCount>& edges) {
  const CornerPosition tp{t.x, t.y}, mp{m.x, m.y}, bp{b.x, b.y};
  if (ordinaryShape(tp, mp, bp)) return true;
  return edgeProductsFit(t.x, m.x, b.x, tp, mp, bp) && spansFit<false>(edges);
}

template <int32_t Rule>
void flatRun(int32_t* cell, const int32_t* end, int32_t depth, int32_t shade, int32_t depthStep,
             int32_t shadeStep, uint16_t colour) {
  for (; cell != end; ++cell) {
    applyPixel<Rule>(cell, depth, shade, colour);
    depth = fx::add(depth, depthStep);
    shade = fx::add(shade, shadeStep);
  }
}

void spanFlat(int32_t row, const int32_t* left, const int32_t* right, uint16_t colour, int32_t blendMode) {
  SpanEnds ends;
  if (!truncatedSpanEnds(left[kX], right[kX], ends)) return;
  const int32_t widthReciprocal = ReciprocalTable[ends.hi - ends.lo];
  const int32_t depthStep = spanStep(left[kDepth], right[kDepth], widthReciprocal);
  const int32_t shadeStep = spanStep(left[kShade], right[kShade], widthReciprocal);
  int32_t depth = left[kDepth];
  int32_t shade = left[kShade];
  const SpanCells cells = clippedSpan(row, ends);
  if (cells.skipped > 0) {
    depth = advanced(depth, depthStep, cells.skipped);
    shade = advanced(shade, shadeStep, cells.skipped);
  }
  int32_t* cell = cells.cell;
  const int32_t* end = cells.end;
  // No colour key here: every mode but opaque mixes.
  if (blendMode == BlendOpaque) {
    flatRun<BlendOpaque>(cell, end, depth, shade, depthStep, shadeStep, colour);
  } else {
    flatRun<BlendMixed>(cell, end, depth, shade, depthStep, shadeStep, colour);
  }
}

}  // namespace

void fillTriangleFlat(const MeshVertex* top, int16_t, int16_t, const MeshVertex* middle, int16_t, int16_t,
                      const MeshVertex* bottom, int16_t, int16_t, const SurfaceDescriptor* surface) {
  const FlatCorner t = loadCorner(*top);
  const FlatCorner m = loadCorner(*middle);
  const FlatCorner b = loadCorner(*bottom);
  const TriangleEdges<kCount> edges = buildEdges<kCount>(t, m, b, flatSlopes);
  if (!withinBounds(t, m, b, edges)) return;
  const uint16_t colour = surface->flatColour;
  const int32_t blendMode = surface->blendMode;
  walkTriangle(edges, [&](int32_t row, const int32_t* left, const int32_t* right) {
    spanFlat(row, left, right, colour, blendMode);
  });
}
