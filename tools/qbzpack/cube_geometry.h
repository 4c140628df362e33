// Where each face of the viewer's cube lies and how its pixels run, seen from
// the centre: the viewer looks along -z at yaw 0 with x to the right and y up.
// On every face columns run left to right and rows bottom to top as seen from
// inside (side faces by turning, up and down by tilting from the front view).
#pragma once

#include <array>
#include <cstdint>

namespace qbzpack {

constexpr int kFaceCount = 6;
// Face order of the container's pixel store.
constexpr std::array<const char*, kFaceCount> kFaceNames = {"front", "right", "back", "left", "up", "down"};

struct Vec3 {
  double x, y, z;
};

// A face of the cube with half edge 1: the corner of pixel (0, 0) and the unit
// steps along its columns (left to right) and rows (bottom to top).
struct FaceFrame {
  Vec3 origin;
  Vec3 columnStep;
  Vec3 rowStep;
};

const FaceFrame& faceFrame(int face);

// Direction from the centre through point (a, b) of a face faceSize pixels
// wide, where a counts columns from the left and b rows from the bottom, both
// in pixels (the centre of pixel (i, j) is a = i + 0.5, b = j + 0.5).
Vec3 faceDirection(int face, double a, double b, uint32_t faceSize);

}  // namespace qbzpack
