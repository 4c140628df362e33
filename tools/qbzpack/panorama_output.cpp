#include "qbzpack/panorama_output.h"

#include "qbzpack/file_output.h"
#include "qbzpack/progress.h"
#include "qbzpack/quantise.h"
#include "qbzpack/store_layout.h"
#include "qbzpack/tool_error.h"
#include "qbzpack/web_page.h"

namespace qbzpack {

void checkGeometry(uint32_t faceSize, uint32_t tileSize, int32_t drawMode) {
  if (tileSize < kMinTileSize || tileSize > kMaxTileSize || (tileSize & (tileSize - 1)) != 0) {
    throw ToolError("tile size " + std::to_string(tileSize) + " must be a power of two from 2 to 128", true);
  }
  if (!isAcceptedGeometry(faceSize, tileSize)) {
    throw ToolError("face size " + std::to_string(faceSize) + " must lie between the tile size (" +
                    std::to_string(tileSize) + ") and 2048", true);
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
  if (request.viewer.empty() && request.html.empty()) {
    if (request.view.any()) {
      throw ToolError("viewer settings, texts and overlays need --viewer or --html: a stand-alone container has no "
                      "trailer",
                      true);
    }
    return prepared;
  }
  if (!request.viewer.empty() && request.output.empty()) throw ToolError("--viewer needs -o", true);
  prepared.extras = buildExtras(request.view, request.background, request.dither);
  if (!request.viewer.empty()) prepared.viewer = readWholeFile(request.viewer, kLargestViewer);
  if (!request.html.empty()) {
    const std::string page = request.webViewer.empty() ? defaultWebViewerPath() : request.webViewer;
    const std::vector<uint8_t> bytes = readWholeFile(page, kLargestViewer);
    prepared.webViewerPage.assign(bytes.begin(), bytes.end());
    webPageBytes(prepared.webViewerPage, {}, "");  // refuses any other file before the panorama work
  }
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
  if (!request.html.empty()) {
    // The page's panorama is laid out as appended to an empty viewer, so the
    // viewer reads the trailer's settings, texts and overlays as usual.
    const std::vector<uint8_t> panorama = selfContainedBytes({}, container, prepared.extras);
    const std::string title = pageTitle(request.view.caption.value_or(""), request.html);
    writeFileAtomically(request.html, webPageBytes(prepared.webViewerPage, panorama, title), false);
  }
  if (request.output.empty()) return;
  if (request.viewer.empty()) {
    writeFileAtomically(request.output, container, false);
    return;
  }
  writeFileAtomically(request.output, selfContainedBytes(prepared.viewer, container, prepared.extras), true);
}

}  // namespace qbzpack
