#include "qbzpack/panorama_output.h"

#include "qbzpack/file_output.h"
#include "qbzpack/progress.h"
#include "qbzpack/quantise.h"
#include "qbzpack/store_layout.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

void checkGeometry(uint32_t faceSize, uint32_t tileSize, int32_t drawMode) {
  if (tileSize < kMinTileSize || tileSize > kMaxTileSize || (tileSize & (tileSize - 1)) != 0) {
    throw ToolError("tile size " + std::to_string(tileSize) + " must be a power of two from 2 to 128", true);
  }
  if (faceSize < tileSize || faceSize > kMaxFaceSize) {
    throw ToolError("face size " + std::to_string(faceSize) + " must lie between the tile size (" +
                    std::to_string(tileSize) + ") and 2048", true);
  }
  if (faceSize / tileSize > kMaxTilesPerSide) {
    uint32_t larger = tileSize;
    while (faceSize / larger > kMaxTilesPerSide) larger *= 2;
    throw ToolError("face size " + std::to_string(faceSize) + " in " + std::to_string(tileSize) + "-pixel tiles is " +
                        std::to_string(faceSize / tileSize) + " tiles along an edge, over the viewer's 256; use " +
                        "--tile-size " + std::to_string(larger) + " or larger",
                    true);
  }
  // The viewer stores whole tiles only; a remainder strip would be lost.
  if (faceSize % tileSize != 0) {
    throw ToolError("face size " + std::to_string(faceSize) + " must be a whole number of " +
                    std::to_string(tileSize) + "-pixel tiles", true);
  }
  if (drawMode < 0 || drawMode > 3) throw ToolError("draw mode must be 0, 1, 2 or 3", true);
}

PreparedOutput prepareOutput(const OutputRequest& request) {
  PreparedOutput prepared;
  if (request.viewer.empty()) {
    if (request.view.any()) {
      throw ToolError("viewer settings, texts and overlays need --viewer: a stand-alone container has no trailer",
                      true);
    }
    return prepared;
  }
  prepared.extras = buildExtras(request.view, request.background, request.dither);
  prepared.viewer = readWholeFile(request.viewer, kLargestViewer);
  return prepared;
}

PanoramaImage panoramaFromFaces(const CubeFaces& cube, uint32_t tileSize, int32_t drawMode, bool dither) {
  std::array<FaceIndices, kFaceCount> indices;
  Progress progress("quantising", kFaceCount);
  for (int face = 0; face < kFaceCount; ++face) {
    indices[face] = quantisePicture(cube.faces[face], dither);
    progress.advance();
  }
  PanoramaImage image;
  image.faceSize = cube.faceSize;
  image.tileSize = tileSize;
  image.drawMode = drawMode;
  image.pixels = storeFromFaces(indices, cube.faceSize, tileSize);
  return image;
}

void writePanorama(const CubeFaces& cube, const OutputRequest& request, const PreparedOutput& prepared) {
  const PanoramaImage image = panoramaFromFaces(cube, request.tileSize, request.drawMode, request.dither);
  std::vector<uint8_t> container = containerBytes(image, !request.raw);
  if (request.viewer.empty()) {
    writeFileAtomically(request.output, container, false);
    return;
  }
  writeFileAtomically(request.output, selfContainedBytes(prepared.viewer, container, prepared.extras), true);
}

}  // namespace qbzpack
