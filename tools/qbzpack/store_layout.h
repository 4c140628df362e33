// The order of the container's pixel store: face after face; within a face,
// tiles row by row (tile (i, j) at j * tilesPerSide + i, row 0 at the bottom);
// within a tile, texel (u, v) at v * tileSize + u, rows bottom-up. Face pixel
// column a, row b (from the bottom) is texel (a mod t, b mod t) of tile
// (a div t, b div t).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "qbzpack/cube_geometry.h"

namespace qbzpack {

// One face's indices in picture order: rows top first, edge faceSize.
using FaceIndices = std::vector<uint16_t>;

// Position of face pixel (a, b) within the store, b counted from the bottom.
size_t storePosition(int face, uint32_t a, uint32_t b, uint32_t faceSize, uint32_t tileSize);

// Puts one face's indices into their places in a store of 6 * faceSize^2
// values; faceSize must be a multiple of tileSize.
void placeFace(std::vector<uint16_t>& store, int face, const FaceIndices& indices, uint32_t faceSize,
               uint32_t tileSize);
// faceSize must be a multiple of tileSize.
std::vector<uint16_t> storeFromFaces(const std::array<FaceIndices, kFaceCount>& faces, uint32_t faceSize,
                                     uint32_t tileSize);
// The inverse; store holds 6 * faceSize^2 values.
std::array<FaceIndices, kFaceCount> facesFromStore(const uint16_t* store, uint32_t faceSize, uint32_t tileSize);

}  // namespace qbzpack
