#include "qbzpack/panorama_output.h"

#include "qbzpack/file_output.h"
#include "qbzpack/progress.h"
#include "qbzpack/quantise.h"
#include "qbzpack/store_compression.h"
#include "qbzpack/store_layout.h"
#include "qbzpack/tool_error.h"
#include "qbzpack/web_page.h"

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

PanoramaImage panoramaFromFaces(const FaceSource& faceAt, uint32_t faceSize, uint32_t tileSize, int32_t drawMode,
                                bool dither) {
  PanoramaImage image;
  image.faceSize = faceSize;
  image.tileSize = tileSize;
  image.drawMode = drawMode;
  for (int face = 0; face < kFaceCount; ++face) {
    const RgbImage picture = faceAt(face);
    // Taken only once the first face is there: a picture that fails to decode costs no store.
    if (face == 0) image.pixels.resize(size_t{kFaceCount} * faceSize * faceSize);
    Progress progress(std::string(kFaceNames[face]) + " face: quantising", 1);
    placeFace(image.pixels, face, quantisePicture(picture, dither), faceSize, tileSize);
    progress.advance();
  }
  return image;
}

PanoramaImage panoramaFromFaces(const CubeFaces& cube, uint32_t tileSize, int32_t drawMode, bool dither) {
  return panoramaFromFaces([&cube](int face) { return cube.faces[face]; }, cube.faceSize, tileSize, drawMode, dither);
}

void writePanorama(PanoramaImage image, const OutputRequest& request, const PreparedOutput& prepared) {
  std::vector<uint8_t> container =
      containerBytes(image, !request.raw, request.best ? kBestDeflateLevel : kDefaultDeflateLevel);
  std::vector<uint16_t>().swap(image.pixels);
  if (!request.html.empty()) {
    // The page's panorama is laid out as appended to an empty viewer, so the
    // viewer reads the trailer's settings, texts and overlays as usual.
    const std::vector<uint8_t> panorama = selfContainedBytes({}, container, prepared.extras);
    const std::string title = pageTitle(request.view.caption.value_or(""), request.html);
    writeOutputFile(request.html, webPageBytes(prepared.webViewerPage, panorama, title));
  }
  if (request.output.empty()) return;
  if (request.viewer.empty()) {
    writeOutputFile(request.output, container);
    return;
  }
  writeOutputFile(request.output, selfContainedBytes(prepared.viewer, container, prepared.extras),
                  platform::FileMode::Executable);
}

void writePanorama(const CubeFaces& cube, const OutputRequest& request, const PreparedOutput& prepared) {
  writePanorama(panoramaFromFaces(cube, request.tileSize, request.drawMode, request.dither), request, prepared);
}

}  // namespace qbzpack
