// The six face pictures of a panorama, in store face order, each faceSize
// pixels square with rows top first as picture files hold them: picture row y
// is face row faceSize - 1 - y counted from the bottom.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "qbzpack/cube_geometry.h"
#include "qbzpack/image.h"

namespace qbzpack {

struct CubeFaces {
  uint32_t faceSize = 0;
  std::array<RgbImage, kFaceCount> faces;
};

// Loads six face pictures (front, right, back, left, up, down); they must be
// square and all of one size.
CubeFaces loadFacePictures(const std::array<std::string, kFaceCount>& paths, Rgb background);

}  // namespace qbzpack
