// Keeps the fillers inside their tables and their 32-bit slopes. A triangle
// is refused before any pixel is written when one of its spans would be 4096
// pixels wide or more, or when an x, u or v difference overflows its slope.
//
// Ordinary triangles are recognised with a few comparisons: corners in row
// order, no edge taller than 4095 rows and at most 4094 columns between the
// leftmost and rightmost corner. Every edge value then lies between its end
// points (less at most one unit per row, from the truncated reciprocal), so no
// span is wider than the column extent plus one and no x slope overflows. Only
// the rare triangle outside that shape walks its rows once more to measure its
// spans exactly as the filler will.
#pragma once

#include <algorithm>
#include <cstdint>

#include "raster/edge_walk.h"

namespace raster {

constexpr int32_t kLargestExtent = 4094;
// A difference below this, times any reciprocal (at most 2^18), fits 32 bits.
constexpr int32_t kSafeDifference = 8192;

struct CornerPosition {
  int32_t x, y;
};

inline bool ordinaryShape(CornerPosition top, CornerPosition middle, CornerPosition bottom) {
  const int32_t minX = std::min({top.x, middle.x, bottom.x});
  const int32_t maxX = std::max({top.x, middle.x, bottom.x});
  return top.y <= middle.y && middle.y <= bottom.y && bottom.y - top.y < kReciprocalEntries &&
         minX > INT16_MIN && maxX - minX <= kLargestExtent;
}

inline bool extentBelow(int32_t a, int32_t b, int32_t c, int32_t limit) {
  return std::max(std::max(a, b), c) - std::min(std::min(a, b), c) < limit;
}

// True when difference * reciprocal, the product behind a slope, fits 32 bits.
inline bool slopeProductFits(int32_t difference, int32_t reciprocal) {
  const int64_t product = static_cast<int64_t>(difference) * reciprocal;
  return product >= INT32_MIN && product <= INT32_MAX;
}

// The same for the three edges of one quantity given at the corners.
inline bool edgeProductsFit(int32_t top, int32_t middle, int32_t bottom, CornerPosition t,
                            CornerPosition m, CornerPosition b) {
  return slopeProductFits(bottom - top, edgeReciprocal(t.y, b.y)) &&
         slopeProductFits(middle - top, edgeReciprocal(t.y, m.y)) &&
         slopeProductFits(bottom - middle, edgeReciprocal(m.y, b.y));
}

// A span routine for walkTriangle that draws nothing and notes any span too wide.
template <bool Widened>
struct SpanWidthProbe {
  bool fits = true;
  void operator()(int32_t, const int32_t* left, const int32_t* right) {
    SpanEnds ends;
    const bool drawn = Widened ? widenedSpanEnds(left[0], right[0], ends) : truncatedSpanEnds(left[0], right[0], ends);
    if (drawn && ends.hi - ends.lo >= kReciprocalEntries) fits = false;
  }
};

template <bool Widened, int N>
inline bool spansFit(const TriangleEdges<N>& edges) {
  SpanWidthProbe<Widened> probe;
  walkTriangle(edges, probe);
  return probe.fits;
}

}  // namespace raster
