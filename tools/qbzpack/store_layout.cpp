#include "qbzpack/store_layout.h"

namespace qbzpack {

size_t storePosition(int face, uint32_t a, uint32_t b, uint32_t faceSize, uint32_t tileSize) {
  const uint32_t tilesPerSide = faceSize / tileSize;
  const size_t pixelsPerTile = size_t{tileSize} * tileSize;
  const size_t tile = size_t{b / tileSize} * tilesPerSide + a / tileSize;
  const size_t texel = size_t{b % tileSize} * tileSize + a % tileSize;
  return size_t(face) * faceSize * faceSize + tile * pixelsPerTile + texel;
}

void placeFace(std::vector<uint16_t>& store, int face, const FaceIndices& indices, uint32_t faceSize,
               uint32_t tileSize) {
  for (uint32_t y = 0; y < faceSize; ++y) {
    const uint32_t b = faceSize - 1 - y;
    for (uint32_t a = 0; a < faceSize; ++a) {
      store[storePosition(face, a, b, faceSize, tileSize)] = indices[size_t{y} * faceSize + a];
    }
  }
}

std::vector<uint16_t> storeFromFaces(const std::array<FaceIndices, kFaceCount>& faces, uint32_t faceSize,
                                     uint32_t tileSize) {
  std::vector<uint16_t> store(size_t{kFaceCount} * faceSize * faceSize);
  for (int face = 0; face < kFaceCount; ++face) placeFace(store, face, faces[face], faceSize, tileSize);
  return store;
}

std::array<FaceIndices, kFaceCount> facesFromStore(const uint16_t* store, uint32_t faceSize, uint32_t tileSize) {
  std::array<FaceIndices, kFaceCount> faces;
  for (int face = 0; face < kFaceCount; ++face) {
    faces[face].resize(size_t{faceSize} * faceSize);
    for (uint32_t y = 0; y < faceSize; ++y) {
      const uint32_t b = faceSize - 1 - y;
      for (uint32_t a = 0; a < faceSize; ++a) {
        faces[face][size_t{y} * faceSize + a] = store[storePosition(face, a, b, faceSize, tileSize)];
      }
    }
  }
  return faces;
}

}  // namespace qbzpack
