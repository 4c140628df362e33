#include "render/visibility.h"

#include <algorithm>
#include <cstdlib>
#include <cstdint>

#include "core/render_context.h"
#include "render/projection.h"

// How the bounds are conservative. A camera coordinate is c = floor(S / 2^14) + t,
// where S is the 32-bit sum of three products of the model point with one column
// of the rotation, t the translation, and the vertex stage cuts it to 16 bits.
// S is linear in the point, so over a box its exact range comes from the box's
// corners. Once that range shows that neither the sum nor a cut can wrap for
// any point inside, the stage's c is exactly floor(S / 2^14) + t, which lies in
// (S / 2^14 + t - 1, S / 2^14 + t]: each side's test below replaces c by the end
// of that interval that makes the point look as visible as possible.
//
// Depth d = -c_z. A projected coordinate is floor(c * scale(d) / 2^16) plus the
// frame centre, scale(d) the table entry. Over the visible depths every entry
// has scale(d) * d >= A (projectionScaleBounds), so for c < 0,
// c * scale(d) <= c * A / d, and for c > 0, c * scale(d) >= c * A / d. "Every
// point beyond the left side" (c * scale(d) < -P * 2^16) therefore follows from
// A * c + P * 2^16 * d < 0 at every point, a linear bound on the box whose
// largest value is again taken at a corner; d > 0 there forces c < 0. The
// projection's own product and cuts cannot wrap because |c| * highestScale stays
// below kProjectedLimit for every point of the box.

namespace {

constexpr int32_t kNearestZ = -65;     // camera z of visible vertices: -2999..-65
constexpr int32_t kFarthestZ = -2999;
constexpr int32_t kFractionBits = 14;  // of the rotation
constexpr int64_t kOne16 = 65536;
// |c * scale| below this keeps c * scale, its shift and the centre's offset inside their 32 and 16 bits.
constexpr int64_t kProjectedLimit = int64_t{32000} << 16;
// Larger scales would let the side forms leave int64 (renderer zooms are 64..1024: about 2^20 at most).
constexpr int32_t kLargestUsableScale = 1 << 22;

// One side of the frame: the projected coordinate of camera axis `axis`,
// floor(c * scale / 2^16), is below -bound (negative) or at least bound.
struct FrameSide {
  int axis;
  bool negative;
  int64_t bound;
};

// Triangle set-up drops a triangle whose three columns are < 0 or >= 320, or
// whose three rows are < 0 or >= 240; here as the projected values before the
// centre is added (column centre 160, row centre 120).
constexpr FrameSide kPortraitSides[4] = {
    {1, true, 160}, {1, false, 160},  // columns from camera y
    {0, true, 120}, {0, false, 120},  // rows from camera x
};
constexpr FrameSide kLandscapeSides[4] = {
    {0, true, 160}, {0, false, 160},  // columns from camera x
    {1, false, 121}, {1, true, 119},  // rows are 120 minus the value from camera y
};

// A box as the sums low + high and the extents |high - low| of its coordinates.
// Per axis max(f low, f high) = (f (low + high) + |f| |high - low|) / 2 and
// min(...) = (f (low + high) - |f| |high - low|) / 2, so twice a linear form's
// largest and smallest value over the box (each reached at a corner) come from
// two dot products shared by both ends, without a comparison. Each axis's term
// is at most |f| x 2 max(|low|, |high|) <= |f| x 2^16: the forms below stay
// under 2^44, so the doubled values stay far inside int64.
struct BoxSpan {
  int64_t sum[3];
  int64_t extent[3];
};

inline BoxSpan spanOf(const ModelBounds& box) {
  const auto extent = [](int32_t low, int32_t high) {
    return static_cast<int64_t>(high > low ? high - low : low - high);
  };
  return {{int64_t{box.low.x} + box.high.x, int64_t{box.low.y} + box.high.y, int64_t{box.low.z} + box.high.z},
          {extent(box.low.x, box.high.x), extent(box.low.y, box.high.y), extent(box.low.z, box.high.z)}};
}

// The form's value at the box's centre and its reach from there, both doubled:
// twice the largest value is centre + reach, twice the smallest centre - reach.
inline int64_t twiceCentre(const int64_t* form, const BoxSpan& span) {
  return form[0] * span.sum[0] + form[1] * span.sum[1] + form[2] * span.sum[2];
}
inline int64_t twiceReach(const int64_t* size, const BoxSpan& span) {
  return size[0] * span.extent[0] + size[1] * span.extent[1] + size[2] * span.extent[2];
}

// The exact range of one camera coordinate over the box; false when the
// vertex stage's sum or cuts could wrap for a point inside.
inline bool coordinateRange(const VisibilityTest& test, int axis, const BoxSpan& span, int64_t& low, int64_t& high) {
  const int64_t centre = twiceCentre(test.row[axis], span), reach = twiceReach(test.rowSize[axis], span);
  const int64_t twiceLowest = centre - reach, twiceHighest = centre + reach;
  if (twiceLowest < 2 * int64_t{INT32_MIN} || twiceHighest > 2 * int64_t{INT32_MAX}) return false;
  // floor(2 s / 2^15) = floor(s / 2^14).
  const int64_t lowShifted = twiceLowest >> (kFractionBits + 1), highShifted = twiceHighest >> (kFractionBits + 1);
  if (lowShifted < INT16_MIN || highShifted > INT16_MAX) return false;
  low = lowShifted + test.translation[axis];
  high = highShifted + test.translation[axis];
  return low >= INT16_MIN && high <= INT16_MAX;
}

}  // namespace

void prepareVisibility(VisibilityTest& test, const Matrix& camera, const RenderContext& context) {
  for (int axis = 0; axis < 3; ++axis) {
    for (int k = 0; k < 3; ++k) {
      test.row[axis][k] = camera.m[3 * k + axis];
      test.rowSize[axis][k] = std::abs(test.row[axis][k]);
    }
  }
  test.translation[0] = camera.tx;
  test.translation[1] = camera.ty;
  test.translation[2] = camera.tz;

  const ProjectionScaleBounds bounds = projectionScaleBounds;
  const FrameSide* sides = context.projectFunction == projectPortrait    ? kPortraitSides
                           : context.projectFunction == projectLandscape ? kLandscapeSides
                                                                         : nullptr;
  test.frameSides = sides != nullptr && bounds.lowestScaleTimesDepth > 0 && bounds.highestScale > 0 &&
                    bounds.highestScale <= kLargestUsableScale;
  test.coordinateLimit = bounds.highestScale;
  if (!test.frameSides) return;
  const int64_t a = bounds.lowestScaleTimesDepth;
  const int64_t tz = test.translation[2];
  for (int s = 0; s < 4; ++s) {
    const FrameSide& side = sides[s];
    const int64_t b = side.bound * kOne16;
    const int64_t tc = test.translation[side.axis];
    // Below the side: hidden when max(a * S_c - b * S_z) + 2^14 * (a * t_c + b * (1 - t_z)) < 0.
    // At or beyond it: hidden when min(a * S_c + b * S_z) + 2^14 * (a * (t_c - 1) + b * (t_z - 1)) >= 0,
    // kept in the same "largest value below 0" shape by negating the form.
    for (int k = 0; k < 3; ++k) {
      const int64_t form = a * test.row[side.axis][k] + (side.negative ? -b : b) * test.row[2][k];
      test.sideForm[s][k] = side.negative ? form : -form;
      test.sideSize[s][k] = std::abs(form);
    }
    test.sideOffset[s] = side.negative ? (a * tc + b * (1 - tz)) << kFractionBits
                                       : -((a * (tc - 1) + b * (tz - 1)) << kFractionBits) - 1;
  }
}

BlockView blockView(const VisibilityTest& test, const ModelBounds& box) {
  uint32_t settled = 0;
  return blockView(test, box, settled);
}

BlockView blockView(const VisibilityTest& test, const ModelBounds& box, uint32_t& settled) {
  const BoxSpan span = spanOf(box);
  // Ranges that fit for an enclosing box fit for this one: its ranges lie within those.
  if ((settled & kDepthsInside) == 0) {
    int64_t lowZ = 0, highZ = 0;
    if (!coordinateRange(test, 2, span, lowZ, highZ)) return BlockView::Partial;
    if (lowZ > kNearestZ || highZ < kFarthestZ) return BlockView::Hidden;  // every point rejected by depth
    if (!test.frameSides) return BlockView::Partial;
    if (lowZ >= kFarthestZ && highZ <= kNearestZ) settled |= kDepthsInside;
  }
  if ((settled & kRangesFit) == 0) {
    int64_t lowX = 0, highX = 0, lowY = 0, highY = 0;
    if (!coordinateRange(test, 0, span, lowX, highX) || !coordinateRange(test, 1, span, lowY, highY)) {
      return BlockView::Partial;
    }
    const int64_t largest = std::max({-lowX, highX, -lowY, highY});
    if (largest * test.coordinateLimit >= kProjectedLimit) return BlockView::Partial;
    settled |= kRangesFit;
  }
  // A side form's smallest value over an enclosing box is at most its largest
  // here: a side that box lies inside cannot hide this one, which lies inside it too.
  for (int s = 0; s < 4; ++s) {
    const uint32_t bit = kSideInside << s;
    if ((settled & bit) != 0) continue;
    const int64_t centre = twiceCentre(test.sideForm[s], span) + 2 * test.sideOffset[s];
    const int64_t reach = twiceReach(test.sideSize[s], span);
    if (centre + reach < 0) return BlockView::Hidden;
    if (centre - reach >= 0) settled |= bit;
  }
  return settled == kAllInside ? BlockView::Inside : BlockView::Partial;
}

bool blockHidden(const VisibilityTest& test, const ModelBounds& box) {
  return blockView(test, box) == BlockView::Hidden;
}
