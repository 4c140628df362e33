// The row walk shared by the three fillers. A triangle arrives as three edges
// (long: top to bottom, upper: top to middle, lower: middle to bottom), each
// carrying N interpolants; interpolant 0 is always x in 16.16. The walk hands
// every visible row to a span routine with the left and right edge values.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/fixed_point.h"
#include "core/frame_buffer.h"
#include "raster/reciprocal_tables.h"

namespace raster {

template <int N>
struct TriangleEdges {
  int32_t topY, middleY, bottomY;
  int32_t topValue[N];     // the interpolants at the top corner
  int32_t middleValue[N];  // at the middle corner
  int32_t longSlope[N];    // per row, top to bottom
  int32_t upperSlope[N];   // top to middle
  int32_t lowerSlope[N];   // middle to bottom
};

// 2^18 / height of an edge; heights are taken modulo 4096.
inline int32_t edgeReciprocal(int32_t fromY, int32_t toY) {
  return ReciprocalTable[(toY - fromY) & (kReciprocalEntries - 1)];
}

// Slope per row of a value given at both ends as whole units: (difference * R) >> 2 in 16.16.
inline int32_t unitSlope(int32_t from, int32_t to, int32_t reciprocal) {
  return fx::sar(fx::mul(to - from, reciprocal), 2);
}

template <int N>
inline void edgeAtRow(const int32_t* start, const int32_t* slope, int32_t startRow, int32_t row,
                      int32_t* out) {
  const int32_t rows = row - startRow;
  for (int k = 0; k < N; ++k) out[k] = fx::add(start[k], fx::mul(slope[k], rows));
}

template <int N>
inline void stepEdge(int32_t* value, const int32_t* slope) {
  for (int k = 0; k < N; ++k) value[k] = fx::add(value[k], slope[k]);
}

// Builds the three edges from corners that carry .y and .start[N] (the
// interpolants at the corner); slopes(from, to, reciprocal, out) gives the per-row slopes.
template <int N, class Corner, class Slopes>
inline TriangleEdges<N> buildEdges(const Corner& top, const Corner& middle, const Corner& bottom,
                                   Slopes&& slopes) {
  TriangleEdges<N> e;
  e.topY = top.y;
  e.middleY = middle.y;
  e.bottomY = bottom.y;
  for (int k = 0; k < N; ++k) {
    e.topValue[k] = top.start[k];
    e.middleValue[k] = middle.start[k];
  }
  slopes(top, bottom, edgeReciprocal(top.y, bottom.y), e.longSlope);
  slopes(top, middle, edgeReciprocal(top.y, middle.y), e.upperSlope);
  slopes(middle, bottom, edgeReciprocal(middle.y, bottom.y), e.lowerSlope);
  return e;
}

// half(longIsLeft, first, end, longEdge, longSlope, shortEdge, shortSlope) is
// called for the upper and then the lower half of the triangle with the rows
// first..end-1 to draw and both edges' values at row first.
template <int N, class Half>
inline void walkTriangleHalves(const TriangleEdges<N>& e, Half&& half) {
  // Equal slopes of a real upper half: the middle corner sits on the long
  // edge; nothing is drawn. A flat top (middle on the top row) has no upper
  // edge to compare: its slope would come from a height of 0, and its lower
  // half decides its own left edge below.
  if (e.middleY > e.topY && e.longSlope[0] == e.upperSlope[0]) return;
  int32_t longEdge[N];
  int32_t shortEdge[N];

  // Upper half, without the top corner's own row.
  if (e.middleY > e.topY && e.middleY >= 0) {
    const int32_t first = std::max(e.topY + 1, 0);
    const int32_t end = std::min(e.middleY, kFrameRows);
    edgeAtRow<N>(e.topValue, e.longSlope, e.topY, first, longEdge);
    edgeAtRow<N>(e.topValue, e.upperSlope, e.topY, first, shortEdge);
    half(e.longSlope[0] < e.upperSlope[0], first, end, longEdge, e.longSlope, shortEdge, e.upperSlope);
  }
  if (e.middleY >= kFrameRows || e.bottomY <= e.middleY) return;

  // Lower half, from the middle corner's row (the top row itself for a flat top).
  const int32_t first = std::max(e.middleY, 0);
  const int32_t end = std::min(e.bottomY, kFrameRows);
  edgeAtRow<N>(e.topValue, e.longSlope, e.topY, first, longEdge);
  edgeAtRow<N>(e.middleValue, e.lowerSlope, e.middleY, first, shortEdge);
  if (longEdge[0] == shortEdge[0]) return;
  half(longEdge[0] < shortEdge[0], first, end, longEdge, e.longSlope, shortEdge, e.lowerSlope);
}

// span(row, left, right) is called for each drawn row, top to bottom.
template <int N, class Span>
inline void walkTriangle(const TriangleEdges<N>& e, Span&& span) {
  walkTriangleHalves(e, [&](bool longIsLeft, int32_t first, int32_t end, int32_t* longEdge, const int32_t* longSlope,
                            int32_t* shortEdge, const int32_t* shortSlope) {
    const int32_t* left = longIsLeft ? longEdge : shortEdge;
    const int32_t* right = longIsLeft ? shortEdge : longEdge;
    for (int32_t row = first; row < end; ++row) {
      span(row, left, right);
      stepEdge<N>(longEdge, longSlope);
      stepEdge<N>(shortEdge, shortSlope);
    }
  });
}

// The columns a span covers before clipping: lo inclusive, hi exclusive.
struct SpanEnds {
  int32_t lo;
  int32_t hi;
};

// Textured affine spans reach half a pixel beyond both edges. False: nothing to draw.
inline bool widenedSpanEnds(int32_t left, int32_t right, SpanEnds& ends) {
  if (!(right > left)) return false;
  ends.lo = fx::sar(fx::sub(left, 32768), 16);
  ends.hi = fx::sar(fx::add(right, 32768), 16);
  return ends.hi > 0 && ends.lo < kFrameColumns && ends.hi - ends.lo > 0;
}

// Perspective and flat spans cover the whole columns between the edges.
inline bool truncatedSpanEnds(int32_t left, int32_t right, SpanEnds& ends) {
  ends.lo = fx::sar(left, 16);
  ends.hi = fx::sar(right, 16);
  return ends.hi > 0 && ends.lo < kFrameColumns && ends.hi > ends.lo;
}

// The cells of a span once clipped to the frame; its values must first
// advance by skipped steps when the span starts left of column 0.
struct SpanCells {
  int32_t* cell;
  const int32_t* end;
  int32_t skipped;
};

// The first cell of a frame row (kFrameRows: one past the frame's last cell).
inline int32_t* frameRow(int32_t row) { return FrameBuffer + row * kFrameColumns; }

inline SpanCells clippedSpan(int32_t row, const SpanEnds& ends) {
  const int32_t first = std::max(ends.lo, 0);
  int32_t* rowCells = frameRow(row);
  return {rowCells + first, rowCells + std::min(ends.hi, kFrameColumns), first - ends.lo};
}

// A 16.16 value moved on by a number of per-pixel steps.
inline int32_t advanced(int32_t value, int32_t step, int32_t steps) { return fx::add(value, fx::mul(step, steps)); }

// Per-pixel step of a 16.16 interpolant across a span of width pixels (width
// < 4096), from the difference of its ends already shifted right by 14.
inline int32_t spanStepAcross(int32_t across, int32_t widthReciprocal) {
  return fx::sar(fx::mul(across, widthReciprocal), 4);
}

inline int32_t spanStep(int32_t start, int32_t end, int32_t widthReciprocal) {
  return spanStepAcross(fx::sar(fx::sub(end, start), 14), widthReciprocal);
}

}  // namespace raster
