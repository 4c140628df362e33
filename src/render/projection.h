// The projection table behind the zoom, and the two projection stages.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "core/mesh.h"
#include "render/matrix.h"

constexpr int32_t kProjectionEntries = 4608;

// Entry d = zoom * 65536 / d (single precision, rounded to nearest); entry 0 is 0.
extern int32_t ProjectionTable[kProjectionEntries];

// What the visibility test needs to know of the table over the visible depths
// 65..2999: every entry d there satisfies entry * d >= lowestScaleTimesDepth
// and entry <= highestScale. Both 0 until a table is built.
struct ProjectionScaleBounds {
  int64_t lowestScaleTimesDepth;
  int32_t highestScale;
};
extern ProjectionScaleBounds projectionScaleBounds;

// Floating point here is allowed: it runs at start-up and when the zoom changes.
// Also sets projectionScaleBounds.
void buildProjectionTable(int32_t zoom);
// Camera x along the frame-buffer rows (centre 120), y along the columns (centre 160).
void projectPortrait(const Vec3s& camera, MeshVertex& out);
void projectLandscape(const Vec3s& camera, MeshVertex& out);

namespace projection_detail {

constexpr int32_t kCentreRow = 120;
constexpr int32_t kCentreColumn = 160;

// Scale of a depth, 16.16. The pipeline only asks for 65..2999; a depth outside
// the table (a point behind the eye or beyond it) reads entry 0, which puts the
// point on the frame's centre instead of reading past the table.
inline int32_t scaleAt(int32_t depth) {
  return static_cast<uint32_t>(depth) < static_cast<uint32_t>(kProjectionEntries) ? ProjectionTable[depth] : 0;
}

// One camera coordinate scaled to frame-buffer cells, cut to 16 bits.
inline int16_t scaled(int16_t coordinate, int32_t scale) { return fx::cut16(fx::sar(fx::mul(coordinate, scale), 16)); }

}  // namespace projection_detail

// The bodies of the two stages, inline so the pipeline's loop can run them
// without a call when the context holds the matching stage.
inline void projectPortraitInline(const Vec3s& camera, MeshVertex& out) {
  using namespace projection_detail;
  const int32_t depth = -static_cast<int32_t>(camera.z);
  const int32_t scale = scaleAt(depth);
  out.screenY = fx::cut16(scaled(camera.x, scale) + kCentreRow);
  out.screenX = fx::cut16(scaled(camera.y, scale) + kCentreColumn);
  out.depth = fx::cut16(depth);
}

inline void projectLandscapeInline(const Vec3s& camera, MeshVertex& out) {
  using namespace projection_detail;
  const int32_t depth = -static_cast<int32_t>(camera.z);
  const int32_t scale = scaleAt(depth);
  out.screenX = fx::cut16(scaled(camera.x, scale) + kCentreColumn);
  out.screenY = fx::cut16(kCentreRow - scaled(camera.y, scale));
  out.depth = fx::cut16(depth);
}
