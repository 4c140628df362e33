// The perspective-correct textured filler: Q = 2^26 / depth, U = u * Q >> 8 and
// V are stepped linearly; each pixel recovers u and v with one reciprocal
// look-up and two multiplications.
#include <algorithm>

#include "core/mesh.h"
#include "core/surface.h"
#include "raster/bounds_guard.h"
#include "raster/edge_walk.h"
#include "raster/pixel_rule.h"
#include "raster/raster_stage.h"

namespace {

using namespace raster;

enum : int { kX, kDepth, kShade, kQ, kU, kV, kCount };

// Q >> 8 indexes PerspectiveReciprocalTable; Q itself must stay below this.
constexpr int64_t kQLimit = int64_t{kReciprocalEntries} << 8;
// Corners nearer than this have Q >> 8 of 4096 or more.
constexpr int32_t kNearestSafeDepth = 65;

struct PerspectiveCorner {
  int32_t x, y, depth, shade;
  int32_t depthReciprocal, u, v;  // u and v already carry the reciprocal
  int32_t start[kCount];
};

// depth must lie in 0..4095.
PerspectiveCorner loadCorner(const MeshVertex& vertex, int16_t u, int16_t v, int32_t vScale) {
  const int32_t r = ReciprocalTable[vertex.depth];
  PerspectiveCorner c{vertex.screenX, vertex.screenY, vertex.depth, vertex.shade,
                      r, fx::mul(u, r), fx::mul(fx::sar(fx::mul(v, vScale), 4), r), {}};
  c.start[kX] = fx::shl(c.x, 16);
  c.start[kDepth] = fx::shl(c.depth, 16);
  c.start[kShade] = fx::shl(c.shade, 16);
  c.start[kQ] = fx::shl(r, 8);
  c.start[kU] = c.u;
  c.start[kV] = c.v;
  return c;
}

void perspectiveSlopes(const PerspectiveCorner& a, const PerspectiveCorner& b, int32_t reciprocal,
                       int32_t* out) {
  out[kX] = unitSlope(a.x, b.x, reciprocal);
  out[kDepth] = unitSlope(a.depth, b.depth, reciprocal);
  out[kShade] = unitSlope(a.shade, b.shade, reciprocal);
  out[kQ] = fx::sar(fx::mul(b.depthReciprocal - a.depthReciprocal, reciprocal), 10);
  out[kU] = fx::sar(fx::mul(fx::sar(fx::sub(b.u, a.u), 8), reciprocal), 10);
  out[kV] = fx::sar(fx::mul(fx::sar(fx::sub(b.v, a.v), 8), reciprocal), 10);
}

int32_t qStep(int32_t start, int32_t end, int32_t widthReciprocal) {
  return fx::sar(fx::mul(fx::sar(fx::sub(end, start), 6), widthReciprocal), 12);
}

int32_t uvStep(int32_t start, int32_t end, int32_t widthReciprocal) {
  return fx::sar(fx::mul(fx::sar(fx::sub(end, start), 8), widthReciprocal), 10);
}

// Measures every span as spanPerspective will, and checks Q at the first and
// last pixel drawn: Q is linear along a span, so both ends in range means all are.
struct PerspectiveProbe {
  bool fits = true;
  void operator()(int32_t, const int32_t* left, const int32_t* right) {
    SpanEnds ends;
    if (!truncatedSpanEnds(left[kX], right[kX], ends)) return;
    const int32_t width = ends.hi - ends.lo;
    if (width >= kReciprocalEntries) {
      fits = false;
      return;
    }
    const int64_t step = qStep(left[kQ], right[kQ], ReciprocalTable[width]);
    const int64_t first = left[kQ] + step * std::max(0, -ends.lo);
    const int64_t last = left[kQ] + step * (std::min(ends.hi, kFrameColumns) - 1 - ends.lo);
    if (first < 0 || first >= kQLimit || last < 0 || last >= kQLimit) fits = false;
  }
};

// The U and V slopes multiply (B - A) >> 8 by the edge reciprocal.
bool scaledSlopeFits(int32_t from, int32_t to, int32_t fromY, int32_t toY) {
  return slopeProductFits(fx::sar(fx::sub(to, from), 8), edgeReciprocal(fromY, toY));
}

bool scaledSlopesFit(const PerspectiveCorner& t, const PerspectiveCorner& m, const PerspectiveCorner& b) {
  return scaledSlopeFits(t.u, b.u, t.y, b.y) && scaledSlopeFits(t.u, m.u, t.y, m.y) &&
         scaledSlopeFits(m.u, b.u, m.y, b.y) && scaledSlopeFits(t.v, b.v, t.y, b.y) &&
         scaledSlopeFits(t.v, m.v, t.y, m.y) && scaledSlopeFits(m.v, b.v, m.y, b.y);
}

bool depthUsable(const MeshVertex& v) { return v.depth >= 0 && v.depth < kReciprocalEntries; }

bool withinBounds(const PerspectiveCorner& t, const PerspectiveCorner& m, const PerspectiveCorner& b,
                  int32_t nearestDepth, const TriangleEdges<kCount>& edges) {
  const CornerPosition tp{t.x, t.y}, mp{m.x, m.y}, bp{b.x, b.y};
  // U and V reach far beyond u and v, so their slopes are checked exactly for every triangle.
  if (!scaledSlopesFit(t, m, b)) return false;
  // In the ordinary shape with corner depths of 65 or more, Q >> 8 stays within 0..4032.
  if (ordinaryShape(tp, mp, bp) && nearestDepth >= kNearestSafeDepth) return true;
  if (!edgeProductsFit(t.x, m.x, b.x, tp, mp, bp) ||
      !edgeProductsFit(t.depthReciprocal, m.depthReciprocal, b.depthReciprocal, tp, mp, bp)) {
    return false;
  }
  PerspectiveProbe probe;
  walkTriangle(edges, probe);
  return probe.fits;
}

struct PerspectivePixel {
  int32_t depth, shade, q, u, v;
};

template <int32_t Rule>
void perspectiveRun(int32_t* cell, const int32_t* end, PerspectivePixel at, const PerspectivePixel step,
                    const SurfaceDescriptor& surface) {
  const uint16_t* texels = surface.texels;
  const int32_t uMask = surface.uMask;
  const int32_t vMask = surface.vMask;
  for (; cell != end; ++cell) {
    const int32_t e = PerspectiveReciprocalTable[fx::sar(at.q, 8)];  // about 16 * depth
    const int32_t u = fx::mul(e, fx::sar(at.u, 10));                 // u in 16.16 texels
    const int32_t v = fx::mul(e, fx::sar(at.v, 6));                  // v * vScale in 16.16
    const uint16_t texel = texels[fx::sar(fx::add(u & uMask, v & vMask), 16)];
    applyPixel<Rule>(cell, at.depth, at.shade, texel);
    at.depth = fx::add(at.depth, step.depth);
    at.shade = fx::add(at.shade, step.shade);
    at.q = fx::add(at.q, step.q);
    at.u = fx::add(at.u, step.u);
    at.v = fx::add(at.v, step.v);
  }
}

void spanPerspective(int32_t row, const int32_t* left, const int32_t* right, const SurfaceDescriptor& surface,
                     int32_t rule) {
  SpanEnds ends;
  if (!truncatedSpanEnds(left[kX], right[kX], ends)) return;
  const int32_t widthReciprocal = ReciprocalTable[ends.hi - ends.lo];
  const PerspectivePixel step{spanStep(left[kDepth], right[kDepth], widthReciprocal),
                              spanStep(left[kShade], right[kShade], widthReciprocal),
                              qStep(left[kQ], right[kQ], widthReciprocal),
                              uvStep(left[kU], right[kU], widthReciprocal),
                              uvStep(left[kV], right[kV], widthReciprocal)};
  PerspectivePixel at{left[kDepth], left[kShade], left[kQ], left[kU], left[kV]};
  const SpanCells cells = clippedSpan(row, ends);
  if (cells.skipped > 0) {
    at.depth = advanced(at.depth, step.depth, cells.skipped);
    at.shade = advanced(at.shade, step.shade, cells.skipped);
    at.q = advanced(at.q, step.q, cells.skipped);
    at.u = advanced(at.u, step.u, cells.skipped);
    at.v = advanced(at.v, step.v, cells.skipped);
  }
  int32_t* cell = cells.cell;
  const int32_t* end = cells.end;
  switch (rule) {
    case BlendOpaque: perspectiveRun<BlendOpaque>(cell, end, at, step, surface); break;
    case BlendKeyed: perspectiveRun<BlendKeyed>(cell, end, at, step, surface); break;
    case BlendMixed: perspectiveRun<BlendMixed>(cell, end, at, step, surface); break;
    default: perspectiveRun<BlendMixedKeyed>(cell, end, at, step, surface); break;
  }
}

}  // namespace

void fillTrianglePerspective(const MeshVertex* top, int16_t topU, int16_t topV, const MeshVertex* middle,
                             int16_t middleU, int16_t middleV, const MeshVertex* bottom, int16_t bottomU,
                             int16_t bottomV, const SurfaceDescriptor* surface) {
  // The corner depths index ReciprocalTable directly.
  if (!depthUsable(*top) || !depthUsable(*middle) || !depthUsable(*bottom)) return;
  const int32_t vScale = surface->vScale;
  const PerspectiveCorner t = loadCorner(*top, topU, topV, vScale);
  const PerspectiveCorner m = loadCorner(*middle, middleU, middleV, vScale);
  const PerspectiveCorner b = loadCorner(*bottom, bottomU, bottomV, vScale);
  const TriangleEdges<kCount> edges = buildEdges<kCount>(t, m, b, perspectiveSlopes);
  const int32_t nearestDepth = std::min({top->depth, middle->depth, bottom->depth});
  if (!withinBounds(t, m, b, nearestDepth, edges)) return;
  const int32_t rule = texturedRule(surface->blendMode);
  walkTriangle(edges, [&](int32_t row, const int32_t* left, const int32_t* right) {
    spanPerspective(row, left, right, *surface, rule);
  });
}
