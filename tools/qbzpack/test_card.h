// A labelled test-card panorama: each face in its own colour, named in big
// letters, gridded at the tile boundaries in a checker pattern, with an arrow
// pointing to the face's top and the tile rows (0 at the bottom) and columns
// (0 at the left) numbered. Every colour is an exact viewer level, so the
// card packs without dithering noise.
#pragma once

#include <cstdint>

#include "qbzpack/cube_faces.h"
#include "qbzpack/image.h"

namespace qbzpack {

CubeFaces makeTestCard(uint32_t faceSize, uint32_t tileSize);

// The six faces unfolded into a cross as seen from the centre: up above the
// front, then left, front, right and back side by side, down below the front.
// 4 x 3 faces in size.
RgbImage unfoldedCross(const CubeFaces& cube);

}  // namespace qbzpack
