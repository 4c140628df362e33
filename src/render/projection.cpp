#include "render/projection.h"

#include <algorithm>
#include <cstdint>

#include "core/fixed_point.h"
#include "core/mesh.h"

int32_t ProjectionTable[kProjectionEntries];
ProjectionScaleBounds projectionScaleBounds{0, 0};

namespace {

constexpr int32_t kFirstVisibleDepth = 65;
constexpr int32_t kLastVisibleDepth = 2999;

}  // namespace

void buildProjectionTable(int32_t zoom) {
  // Every step in single precision, so the table is the same on every machine.
  // The product wraps like the int32 it is; for any zoom it stays a multiple of
  // 65536 and so converts back without leaving the int32 range.
  const float z = static_cast<float>(fx::mul(zoom, 65536));
  ProjectionTable[0] = 0;
  for (int32_t d = 1; d < kProjectionEntries; ++d) {
    ProjectionTable[d] = static_cast<int32_t>(z / static_cast<float>(d) + 0.5f);
  }
  ProjectionScaleBounds bounds{INT64_MAX, INT32_MIN};
  for (int32_t d = kFirstVisibleDepth; d <= kLastVisibleDepth; ++d) {
    bounds.lowestScaleTimesDepth = std::min(bounds.lowestScaleTimesDepth, int64_t{ProjectionTable[d]} * d);
    bounds.highestScale = std::max(bounds.highestScale, ProjectionTable[d]);
  }
  projectionScaleBounds = bounds;
}

void projectPortrait(const Vec3s& camera, MeshVertex& out) { projectPortraitInline(camera, out); }

void projectLandscape(const Vec3s& camera, MeshVertex& out) { projectLandscapeInline(camera, out); }
