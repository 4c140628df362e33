#include "qbzpack/cube_geometry.h"

namespace qbzpack {

namespace {

constexpr std::array<FaceFrame, kFaceCount> kFrames = {{
    {{-1, -1, -1}, {1, 0, 0}, {0, 1, 0}},   // front: plane z = -1
    {{+1, -1, -1}, {0, 0, 1}, {0, 1, 0}},   // right: plane x = +1
    {{+1, -1, +1}, {-1, 0, 0}, {0, 1, 0}},  // back: plane z = +1
    {{-1, -1, +1}, {0, 0, -1}, {0, 1, 0}},  // left: plane x = -1
    {{-1, +1, -1}, {1, 0, 0}, {0, 0, 1}},   // up: plane y = +1, bottom edge meets the front
    {{-1, -1, +1}, {1, 0, 0}, {0, 0, -1}},  // down: plane y = -1, top edge meets the front
}};

}  // namespace

const FaceFrame& faceFrame(int face) { return kFrames[face]; }

Vec3 faceDirection(int face, double a, double b, uint32_t faceSize) {
  const FaceFrame& frame = kFrames[face];
  const double s = 2.0 * a / faceSize, t = 2.0 * b / faceSize;
  return {frame.origin.x + s * frame.columnStep.x + t * frame.rowStep.x,
          frame.origin.y + s * frame.columnStep.y + t * frame.rowStep.y,
          frame.origin.z + s * frame.columnStep.z + t * frame.rowStep.z};
}

}  // namespace qbzpack
