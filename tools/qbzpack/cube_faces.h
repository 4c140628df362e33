// The six face pictures of a panorama, in store face order, each faceSize
// pixels square with rows top first as picture files hold them: picture row y
// is face row faceSize - 1 - y counted from the bottom.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "qbzpack/cube_geometry.h"
#include "qbzpack/image.h"
#include "qbzpack/progress.h"
#include "qbzpack/row_picture.h"

namespace qbzpack {

struct CubeFaces {
  uint32_t faceSize = 0;
  std::array<RgbImage, kFaceCount> faces;
};

// Reads only the headers of six face pictures (front, right, back, left, up,
// down): each must be square, and without a wanted face size all of one size.
// Returns the face size to pack: the wanted one, or the pictures' own.
uint32_t checkFacePictures(const std::array<std::string, kFaceCount>& paths, std::optional<uint32_t> faceSize);

// A square picture resampled to faceSize: each face pixel is the mean of n x n
// bilinear sub-samples, n the picture's size over faceSize rounded up, as
// the equirectangular conversion averages. Rows are spread over the workers.
RgbImage resampleFace(const RowPicture& picture, uint32_t faceSize, Progress& progress);

// One face picture, decoded and, when of another size, resampled.
RgbImage loadFacePicture(const std::string& path, int face, uint32_t faceSize, Rgb background);

}  // namespace qbzpack
