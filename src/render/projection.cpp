#include "render/projection.h"

#include "render/fixed_point.h"
#include "render/mesh.h"

int32_t ProjectionTable[kProjectionEntries];

namespace {

constexpr int32_t kCentreRow = 120;
constexpr int32_t kCentreColumn = 160;

// Scale of a depth, 16.16. The pipeline only asks for 65..2999; a depth outside
// the table (a point behind the eye or beyond it) reads entry 0, which puts the
// point on the frame's centre instead of reading past the table.
int32_t scaleAt(int32_t depth) {
  return static_cast<uint32_t>(depth) < static_cast<uint32_t>(kProjectionEntries) ? ProjectionTable[depth] : 0;
}

// One camera coordinate scaled to frame-buffer cells, cut to 16 bits.
int16_t scaled(int16_t coordinate, int32_t scale) {
  return fx::cut16(fx::sar(fx::mul(coordinate, scale), 16));
}

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
}

void projectPortrait(const Vec3s& camera, MeshVertex& out) {
  const int32_t depth = -static_cast<int32_t>(camera.z);
  const int32_t scale = scaleAt(depth);
  out.screenY = fx::cut16(scaled(camera.x, scale) + kCentreRow);
  out.screenX = fx::cut16(scaled(camera.y, scale) + kCentreColumn);
  out.depth = fx::cut16(depth);
}

void projectLandscape(const Vec3s& camera, MeshVertex& out) {
  const int32_t depth = -static_cast<int32_t>(camera.z);
  const int32_t scale = scaleAt(depth);
  out.screenX = fx::cut16(scaled(camera.x, scale) + kCentreColumn);
  out.screenY = fx::cut16(kCentreRow - scaled(camera.y, scale));
  out.depth = fx::cut16(depth);
}
