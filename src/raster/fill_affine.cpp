// The affine textured filler: u and v stepped linearly in screen space.
#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "core/mesh.h"
#include "core/surface.h"
#include "raster/bounds_guard.h"
#include "raster/edge_walk.h"
#include "raster/in_frame_fill.h"
#include "raster/pixel_rule.h"
#include "raster/raster_stage.h"

namespace {

using namespace raster;

// Interpolants, all 16.16: x, depth, shade, u in texels, v in texels times vScale.
enum : int { kX, kDepth, kShade, kU, kV, kCount };

struct AffineCorner {
  int32_t x, y, depth, shade, u, v;
  int32_t start[kCount];
};

AffineCorner loadCorner(const MeshVertex& vertex, int16_t u, int16_t v, int32_t vScale) {
  AffineCorner c{vertex.screenX, vertex.screenY, vertex.depth, vertex.shade, u, v, {}};
  c.start[kX] = fx::shl(c.x, 16);
  c.start[kDepth] = fx::shl(c.depth, 16);
  c.start[kShade] = fx::shl(c.shade, 16);
  c.start[kU] = fx::shl(u, 12);
  c.start[kV] = fx::mul(fx::shl(v, 12), vScale);
  return c;
}

struct AffineSlopes {
  int32_t vScale;
  void operator()(const AffineCorner& a, const AffineCorner& b, int32_t reciprocal, int32_t* out) const {
    out[kX] = unitSlope(a.x, b.x, reciprocal);
    out[kDepth] = unitSlope(a.depth, b.depth, reciprocal);
    out[kShade] = unitSlope(a.shade, b.shade, reciprocal);
    out[kU] = fx::sar(fx::mul(b.u - a.u, reciprocal), 6);
    out[kV] = fx::mul(fx::sar(fx::mul(b.v - a.v, reciprocal), 6), vScale);
  }
};

// The guard's test without the edges: an ordinary shape and u, v differences that fit every slope.
bool quickBoundsHold(const AffineCorner& t, const AffineCorner& m, const AffineCorner& b) {
  return ordinaryShape({t.x, t.y}, {m.x, m.y}, {b.x, b.y}) && extentBelow(t.u, m.u, b.u, kSafeDifference) &&
         extentBelow(t.v, m.v, b.v, kSafeDifference);
}

// The whole guard, for triangles that fail the quick test.
bool withinBounds(const AffineCorner& t, const AffineCorner& m, const AffineCorner& b,
                  const TriangleEdges<kCount>& edges) {
  const CornerPosition tp{t.x, t.y}, mp{m.x, m.y}, bp{b.x, b.y};
  return edgeProductsFit(t.x, m.x, b.x, tp, mp, bp) && edgeProductsFit(t.u, m.u, b.u, tp, mp, bp) &&
         edgeProductsFit(t.v, m.v, b.v, tp, mp, bp) && spansFit<true>(edges);
}

inline uint16_t texelAt(const TextureAccess& texture, int32_t u, int32_t v) {
  return texture.texels[fx::sar(fx::add(u & texture.uMask, v & texture.vMask), 16)];
}

template <int32_t Rule>
void affineRun(int32_t* cell, const int32_t* end, AffinePixel at, const AffinePixel step,
               const TextureAccess texture) {
  for (; cell != end; ++cell) {
    applyPixel<Rule>(cell, at.depth, at.shade, texelAt(texture, at.u, at.v));
    at.depth = fx::add(at.depth, step.depth);
    at.shade = fx::add(at.shade, step.shade);
    at.u = fx::add(at.u, step.u);
    at.v = fx::add(at.v, step.v);
  }
}

// Where a span drawer finds its interpolants in the edge values; Shade < 0:
// the edges carry no shade and the span's shade and its step are 0.
template <int X, int Depth, int Shade, int U, int V>
struct SpanLayout {};

// A span's first cell and end, and its values at the first cell and per pixel.
struct AffineSpan {
  SpanCells cells;
  AffinePixel at;
  AffinePixel step;
};

// False: the row draws nothing.
template <int X, int Depth, int Shade, int U, int V>
inline bool startSpan(SpanLayout<X, Depth, Shade, U, V>, int32_t row, const int32_t* left, const int32_t* right,
                      AffineSpan& span) {
  SpanEnds ends;
  if (!widenedSpanEnds(left[X], right[X], ends)) return false;
  AffinePixel at{left[Depth], Shade >= 0 ? left[Shade] : 0, left[U], left[V]};
  if (ends.hi - ends.lo == 1) {  // one pixel, at the start values: no step is ever taken
    int32_t* cell = frameRow(row) + ends.lo;
    span = {{cell, cell + 1, 0}, at, {0, 0, 0, 0}};
    return true;
  }
  const int32_t widthReciprocal = ReciprocalTable[ends.hi - ends.lo];
  const AffinePixel step{spanStep(left[Depth], right[Depth], widthReciprocal),
                         Shade >= 0 ? spanStep(left[Shade], right[Shade], widthReciprocal) : 0,
                         spanStep(left[U], right[U], widthReciprocal), spanStep(left[V], right[V], widthReciprocal)};
  const SpanCells cells = clippedSpan(row, ends);
  if (cells.skipped > 0) {  // start at column 0 with the values the span has there
    at.depth = advanced(at.depth, step.depth, cells.skipped);
    at.shade = advanced(at.shade, step.shade, cells.skipped);
    at.u = advanced(at.u, step.u, cells.skipped);
    at.v = advanced(at.v, step.v, cells.skipped);
  }
  span = {cells, at, step};
  return true;
}

// Draws the rows of one triangle with one blend rule, chosen once per triangle.
template <int32_t Rule>
struct AffineSpans {
  TextureAccess texture;
  bool unsignedIndex;  // uMask and vMask non-negative with a sum inside int32

  void operator()(int32_t row, const int32_t* left, const int32_t* right) const {
    AffineSpan span;
    if (!startSpan(SpanLayout<kX, kDepth, kShade, kU, kV>{}, row, left, right, span)) return;
    if (Rule == BlendOpaque && span.step.shade == 0 && unsignedIndex) {
      opaqueRunOneShade(span.cells.cell, span.cells.end, span.at, span.step, texture,
                        static_cast<uint32_t>(fx::sar(span.at.shade, 16)));
    } else {
      affineRun<Rule>(span.cells.cell, span.cells.end, span.at, span.step, texture);
    }
  }
};

template <int32_t Rule>
void walkAffine(const TriangleEdges<kCount>& edges, const SurfaceDescriptor& surface) {
  const TextureAccess texture{surface.texels, surface.uMask, surface.vMask};
  walkTriangle(edges, AffineSpans<Rule>{texture, unsignedIndexFits(texture)});
}

// Opaque triangles whose three corners share one shade, with masks that allow
// the unsigned index: every tile of a panorama. The shade is then the same
// all over the triangle and all its steps are 0, so the row walk carries only
// x, depth, u and v.
TriangleEdges<kOneShadeCount> withoutShade(const TriangleEdges<kCount>& e) {
  TriangleEdges<kOneShadeCount> out;
  out.topY = e.topY;
  out.middleY = e.middleY;
  out.bottomY = e.bottomY;
  const auto pick = [](const int32_t* from, int32_t* to) {
    to[kOneShadeX] = from[kX];
    to[kOneShadeDepth] = from[kDepth];
    to[kOneShadeU] = from[kU];
    to[kOneShadeV] = from[kV];
  };
  pick(e.topValue, out.topValue);
  pick(e.middleValue, out.middleValue);
  pick(e.longSlope, out.longSlope);
  pick(e.upperSlope, out.upperSlope);
  pick(e.lowerSlope, out.lowerSlope);
  return out;
}

// A corner as the one-shade edges are built from it: its values without the shade.
struct OneShadeCorner {
  int32_t y;
  int32_t start[kOneShadeCount];
  const AffineCorner* corner;
};

OneShadeCorner withoutShade(const AffineCorner& c) {
  return {c.y, {c.start[kX], c.start[kDepth], c.start[kU], c.start[kV]}, &c};
}

// AffineSlopes without the shade: the same values for the other four.
struct OneShadeSlopes {
  int32_t vScale;
  void operator()(const OneShadeCorner& from, const OneShadeCorner& to, int32_t reciprocal, int32_t* out) const {
    const AffineCorner& a = *from.corner;
    const AffineCorner& b = *to.corner;
    out[kOneShadeX] = unitSlope(a.x, b.x, reciprocal);
    out[kOneShadeDepth] = unitSlope(a.depth, b.depth, reciprocal);
    out[kOneShadeU] = fx::sar(fx::mul(b.u - a.u, reciprocal), 6);
    out[kOneShadeV] = fx::mul(fx::sar(fx::mul(b.v - a.v, reciprocal), 6), vScale);
  }
};

// Inside: every corner of the triangle lies in columns 1 .. kFrameColumns and
// it passes the bounds guard's quick test (see insideColumns); no span then
// needs clipping. Shade 1 only.
template <class Shade, bool Inside = false>
struct OneShadeSpans {
  TextureAccess texture;
  Shade shade;  // whole units

  void operator()(int32_t row, const int32_t* left, const int32_t* right) const {
    if constexpr (Inside) {
      static_assert(std::is_same_v<Shade, std::integral_constant<uint32_t, 1>>, "inside spans have shade 1");
      insideSpan(row, left, right, texture);
    } else {
      AffineSpan span;
      if (!startSpan(SpanLayout<kOneShadeX, kOneShadeDepth, -1, kOneShadeU, kOneShadeV>{}, row, left, right, span)) {
        return;
      }
      opaqueRunOneShade(span.cells.cell, span.cells.end, span.at, span.step, texture, shade);
    }
  }
};

// The one row a small triangle covers, with both edges' values there; false
// when the triangle covers more rows than one. Triangles whose corners are in
// row order and that pass the bounds guard's quick test only; the values are
// those the full edge walk would reach, and no row is still drawn nothing.
struct OneRow {
  bool drawn;  // false: the triangle covers no row of the frame
  int32_t row;
  int32_t left[kCount];
  int32_t right[kCount];
};

bool smallTriangle(const AffineCorner& t, const AffineCorner& m, const AffineCorner& b, int32_t vScale, OneRow& out) {
  const int32_t height = b.y - t.y;
  out.drawn = false;
  if (m.y == t.y) {  // flat top: rows t.y .. b.y - 1, from the corners' own values
    if (height > 1) return false;
    out.row = t.y;
    if (height == 0 || t.x == m.x || out.row < 0 || out.row >= kFrameRows) return true;
    const bool longIsLeft = t.x < m.x;
    std::copy(t.start, t.start + kCount, longIsLeft ? out.left : out.right);
    std::copy(m.start, m.start + kCount, longIsLeft ? out.right : out.left);
    out.drawn = true;
    return true;
  }
  // Pointed top: rows t.y + 1 .. b.y - 1.
  if (height > 2) return false;
  if (height < 2) return true;
  const AffineSlopes slopes{vScale};
  int32_t longSlope[kCount], upperSlope[kCount];
  slopes(t, b, edgeReciprocal(t.y, b.y), longSlope);
  slopes(t, m, edgeReciprocal(t.y, m.y), upperSlope);
  if (longSlope[kX] == upperSlope[kX]) return true;  // the middle corner on the long edge
  out.row = t.y + 1;
  if (out.row < 0 || out.row >= kFrameRows) return true;
  int32_t longEdge[kCount], shortEdge[kCount];
  edgeAtRow<kCount>(t.start, longSlope, t.y, out.row, longEdge);
  bool longIsLeft;
  if (m.y == b.y) {  // the row belongs to the upper half
    edgeAtRow<kCount>(t.start, upperSlope, t.y, out.row, shortEdge);
    longIsLeft = longSlope[kX] < upperSlope[kX];
  } else {  // to the lower half, which starts at the middle corner's own values
    std::copy(m.start, m.start + kCount, shortEdge);
    if (longEdge[kX] == shortEdge[kX]) return true;
    longIsLeft = longEdge[kX] < shortEdge[kX];
  }
  std::copy(longEdge, longEdge + kCount, longIsLeft ? out.left : out.right);
  std::copy(shortEdge, shortEdge + kCount, longIsLeft ? out.right : out.left);
  out.drawn = true;
  return true;
}

int32_t* pickOneShade(const int32_t* from, int32_t* to) {
  to[kOneShadeX] = from[kX];
  to[kOneShadeDepth] = from[kDepth];
  to[kOneShadeU] = from[kU];
  to[kOneShadeV] = from[kV];
  return to;
}

// A flat top over one row, the other common triangle of a tile of a pixel or
// two, when it is opaque with one shade and passes the bounds guard's quick
// test: its row is the top row, its span runs between the top corners' own
// values. True when handled here (drawn, or found to cover no cell); false
// leaves it to the general path, which gives these same values and span.
inline bool flatTopRow(const MeshVertex& top, int16_t topU, int16_t topV, const MeshVertex& middle, int16_t middleU,
                       int16_t middleV, const MeshVertex& bottom, int16_t bottomU, int16_t bottomV,
                       const SurfaceDescriptor& surface, const TextureAccess& texture) {
  // The quick test; the rows are in order and one apart.
  const int32_t minX = std::min({top.screenX, middle.screenX, bottom.screenX});
  const int32_t maxX = std::max({top.screenX, middle.screenX, bottom.screenX});
  if (!(minX > INT16_MIN && maxX - minX <= kLargestExtent && extentBelow(topU, middleU, bottomU, kSafeDifference) &&
        extentBelow(topV, middleV, bottomV, kSafeDifference))) {
    return false;
  }
  const int32_t row = top.screenY;
  if (top.screenX == middle.screenX || row < 0 || row >= kFrameRows) return true;
  int32_t atTop[kOneShadeCount], atMiddle[kOneShadeCount];
  oneShadeStart(top, topU, topV, surface.vScale, atTop);
  oneShadeStart(middle, middleU, middleV, surface.vScale, atMiddle);
  const bool topIsLeft = top.screenX < middle.screenX;
  const int32_t* left = topIsLeft ? atTop : atMiddle;
  const int32_t* right = topIsLeft ? atMiddle : atTop;
  const uint32_t shade = static_cast<uint32_t>(int32_t{top.shade});
  if (shade == 1) {
    OneShadeSpans<std::integral_constant<uint32_t, 1>>{texture, {}}(row, left, right);
  } else {
    OneShadeSpans<uint32_t>{texture, shade}(row, left, right);
  }
  return true;
}

// Opaque one-shade triangles over more rows than smallTriangle takes, inside
// the frame, go to fillInFrame when they pass its checks (the bounds guard's
// quick test holds once their u and v extents do). False leaves the triangle
// to the general path.
bool inFrameRows(const MeshVertex& top, int16_t topU, int16_t topV, const MeshVertex& middle, int16_t middleU,
                 int16_t middleV, const MeshVertex& bottom, int16_t bottomU, int16_t bottomV,
                 const SurfaceDescriptor& surface) {
  const int32_t topY = top.screenY, middleY = middle.screenY, bottomY = bottom.screenY;
  if (!(0 <= topY && topY <= middleY && middleY <= bottomY && bottomY <= kFrameRows) ||
      fewRows(topY, middleY, bottomY)) {
    return false;
  }
  const TextureAccess texture{surface.texels, surface.uMask, surface.vMask};
  if (surface.blendMode != BlendOpaque || top.shade != 1 || middle.shade != 1 || bottom.shade != 1 ||
      !unsignedIndexFits(texture) || !insideColumns(top.screenX, middle.screenX, bottom.screenX) ||
      !extentBelow(topU, middleU, bottomU, kSafeDifference) || !extentBelow(topV, middleV, bottomV, kSafeDifference)) {
    return false;
  }
  fillInFrame(top, topU, topV, middle, middleU, middleV, bottom, bottomU, bottomV, surface.vScale, texture);
  return true;
}

// Out of line: inlined, its set-up would crowd the common path's registers.
[[gnu::noinline]] void fillGeneral(const MeshVertex& top, int16_t topU, int16_t topV, const MeshVertex& middle,
                                   int16_t middleU, int16_t middleV, const MeshVertex& bottom, int16_t bottomU,
                                   int16_t bottomV, const SurfaceDescriptor& surface);

}  // namespace

void fillTriangleAffine(const MeshVertex* top, int16_t topU, int16_t topV, const MeshVertex* middle,
                        int16_t middleU, int16_t middleV, const MeshVertex* bottom, int16_t bottomU,
                        int16_t bottomV, const SurfaceDescriptor* surface) {
  // A pointed top whose other corners share the next row covers rows
  // top + 1 .. bottom - 1: none (the commonest triangle of a tile of a pixel or two).
  if (middle->screenY == top->screenY + 1 && bottom->screenY == middle->screenY) return;
  if (inFrameRows(*top, topU, topV, *middle, middleU, middleV, *bottom, bottomU, bottomV, *surface)) return;
  const TextureAccess texture{surface->texels, surface->uMask, surface->vMask};
  if (middle->screenY == top->screenY && bottom->screenY == top->screenY + 1 &&
      texturedRule(surface->blendMode) == BlendOpaque && top->shade == middle->shade &&
      middle->shade == bottom->shade && unsignedIndexFits(texture) &&
      flatTopRow(*top, topU, topV, *middle, middleU, middleV, *bottom, bottomU, bottomV, *surface, texture)) {
    return;
  }
  fillGeneral(*top, topU, topV, *middle, middleU, middleV, *bottom, bottomU, bottomV, *surface);
}

namespace {

// Every other triangle.
void fillGeneral(const MeshVertex& top, int16_t topU, int16_t topV, const MeshVertex& middle, int16_t middleU,
                 int16_t middleV, const MeshVertex& bottom, int16_t bottomU, int16_t bottomV,
                 const SurfaceDescriptor& surface) {
  const int32_t vScale = surface.vScale;
  const TextureAccess texture{surface.texels, surface.uMask, surface.vMask};
  const AffineCorner t = loadCorner(top, topU, topV, vScale);
  const AffineCorner m = loadCorner(middle, middleU, middleV, vScale);
  const AffineCorner b = loadCorner(bottom, bottomU, bottomV, vScale);
  const int32_t rule = texturedRule(surface.blendMode);
  const bool oneShade = rule == BlendOpaque && t.shade == m.shade && m.shade == b.shade && unsignedIndexFits(texture);
  // Every shade function gives shade 1, so that value has loops with it built in.
  const uint32_t shade = static_cast<uint32_t>(fx::sar(t.start[kShade], 16));
  const bool quickBounds = quickBoundsHold(t, m, b);

  // Triangles of a few pixels (a fine tiling seen from afar) cover no row or
  // one: that row is found without building the three edges.
  OneRow one;
  if (quickBounds && smallTriangle(t, m, b, vScale, one)) {
    if (!one.drawn) return;
    if (oneShade) {
      int32_t left[kOneShadeCount], right[kOneShadeCount];
      pickOneShade(one.left, left), pickOneShade(one.right, right);
      if (shade == 1) {
        OneShadeSpans<std::integral_constant<uint32_t, 1>>{texture, {}}(one.row, left, right);
      } else {
        OneShadeSpans<uint32_t>{texture, shade}(one.row, left, right);
      }
      return;
    }
    const bool unsignedIndex = unsignedIndexFits(texture);
    switch (rule) {
      case BlendOpaque: AffineSpans<BlendOpaque>{texture, unsignedIndex}(one.row, one.left, one.right); break;
      case BlendKeyed: AffineSpans<BlendKeyed>{texture, unsignedIndex}(one.row, one.left, one.right); break;
      case BlendMixed: AffineSpans<BlendMixed>{texture, unsignedIndex}(one.row, one.left, one.right); break;
      default: AffineSpans<BlendMixedKeyed>{texture, unsignedIndex}(one.row, one.left, one.right); break;
    }
    return;
  }

  if (oneShade && quickBounds) {  // the edges without the shade, built directly
    const TriangleEdges<kOneShadeCount> edges =
        buildEdges<kOneShadeCount>(withoutShade(t), withoutShade(m), withoutShade(b), OneShadeSlopes{vScale});
    if (shade == 1 && insideColumns(t.x, m.x, b.x)) {
      walkTriangle(edges, OneShadeSpans<std::integral_constant<uint32_t, 1>, true>{texture, {}});
    } else if (shade == 1) {
      walkTriangle(edges, OneShadeSpans<std::integral_constant<uint32_t, 1>>{texture, {}});
    } else {
      walkTriangle(edges, OneShadeSpans<uint32_t>{texture, shade});
    }
    return;
  }
  const TriangleEdges<kCount> edges = buildEdges<kCount>(t, m, b, AffineSlopes{vScale});
  if (!quickBounds && !withinBounds(t, m, b, edges)) return;
  if (oneShade) {
    if (shade == 1) {
      walkTriangle(withoutShade(edges), OneShadeSpans<std::integral_constant<uint32_t, 1>>{texture, {}});
    } else {
      walkTriangle(withoutShade(edges), OneShadeSpans<uint32_t>{texture, shade});
    }
    return;
  }
  switch (rule) {
    case BlendOpaque: walkAffine<BlendOpaque>(edges, surface); break;
    case BlendKeyed: walkAffine<BlendKeyed>(edges, surface); break;
    case BlendMixed: walkAffine<BlendMixed>(edges, surface); break;
    default: walkAffine<BlendMixedKeyed>(edges, surface); break;
  }
}

}  // namespace
