#include "qbzpack/pack_command.h"

#include <algorithm>

#include "qbzpack/equirect_to_cube.h"
#include "qbzpack/image_input.h"
#include "qbzpack/testcard_command.h"
#include "qbzpack/tool_error.h"
#include "qbzpack/whole_view.h"

namespace qbzpack {

namespace {

void checkWhole(const PackRequest& request, const PreparedOutput& prepared, uint32_t faceSize) {
  checkShowsWhole(faceSize, request.output.tileSize, lowestZoomOfOutput(request.output, prepared),
                  !request.output.viewer.empty(), request.allowHoles);
}

}  // namespace

PanoramaImage panoramaFromEquirect(const std::string& path, uint32_t faceSize, const OutputRequest& output) {
  const RowPicture source = decodePicture(path, output.background, checkEquirectShape);
  return panoramaFromFaces(
      [&](int face) {
        Progress progress(std::string(kFaceNames[face]) + " face: sampling", faceSize);
        return equirectFace(source, face, faceSize, progress);
      },
      faceSize, output.tileSize, output.drawMode, output.dither);
}

void runPack(const PackRequest& request) {
  const bool anyFace = std::any_of(request.faces.begin(), request.faces.end(), [](auto& f) { return !f.empty(); });
  const bool allFaces = std::all_of(request.faces.begin(), request.faces.end(), [](auto& f) { return !f.empty(); });
  if (request.equirect.empty() == !anyFace) {
    throw ToolError("give either one equirectangular IMAGE or all six faces (--front ... --down)", true);
  }
  if (anyFace && !allFaces) {
    for (int face = 0; face < kFaceCount; ++face) {
      if (request.faces[face].empty()) throw ToolError(std::string("the --") + kFaceNames[face] + " face is missing", true);
    }
  }
  if (request.output.output.empty() && request.output.html.empty()) {
    throw ToolError("no output file given (-o or --html)", true);
  }

  if (!request.equirect.empty()) {
    const uint32_t faceSize = request.faceSize.value_or(kDefaultFaceSize);
    checkGeometry(faceSize, request.output.tileSize, request.output.drawMode);
    const PreparedOutput prepared = prepareOutput(request.output);
    checkWhole(request, prepared, faceSize);
    writePanorama(panoramaFromEquirect(request.equirect, faceSize, request.output), request.output, prepared);
    return;
  }
  if (request.faceSize) checkGeometry(*request.faceSize, request.output.tileSize, request.output.drawMode);
  // Every face's header is read before any face is decoded.
  const uint32_t faceSize = checkFacePictures(request.faces, request.faceSize);
  checkGeometry(faceSize, request.output.tileSize, request.output.drawMode);
  const PreparedOutput prepared = prepareOutput(request.output);
  checkWhole(request, prepared, faceSize);
  const Rgb background = request.output.background;
  writePanorama(panoramaFromFaces(
                    [&](int face) { return loadFacePicture(request.faces[face], face, faceSize, background); },
                    faceSize, request.output.tileSize, request.output.drawMode, request.output.dither),
                request.output, prepared);
}

}  // namespace qbzpack
