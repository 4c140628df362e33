#include "qbzpack/pack_command.h"

#include <algorithm>

#include "qbzpack/equirect_to_cube.h"
#include "qbzpack/image_input.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

// The equirectangular panorama: its shape is checked from the header, and
// the decoded picture is released as soon as the faces are quantised.
PanoramaImage panoramaFromEquirect(const PackRequest& request, uint32_t faceSize) {
  const RowPicture source = decodePicture(request.equirect, request.output.background, checkEquirectShape);
  return panoramaFromFaces(
      [&](int face) {
        Progress progress(std::string(kFaceNames[face]) + " face: sampling", faceSize);
        return equirectFace(source, face, faceSize, progress);
      },
      faceSize, request.output.tileSize, request.output.drawMode, request.output.dither);
}

}  // namespace

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
  if (request.output.output.empty()) throw ToolError("no output file given (-o)", true);

  if (!request.equirect.empty()) {
    const uint32_t faceSize = request.faceSize.value_or(kDefaultFaceSize);
    checkGeometry(faceSize, request.output.tileSize, request.output.drawMode);
    const PreparedOutput prepared = prepareOutput(request.output);
    writePanorama(panoramaFromEquirect(request, faceSize), request.output, prepared);
    return;
  }
  if (request.faceSize) checkGeometry(*request.faceSize, request.output.tileSize, request.output.drawMode);
  // Every face's header is read before any face is decoded.
  const uint32_t faceSize = checkFacePictures(request.faces, request.faceSize);
  checkGeometry(faceSize, request.output.tileSize, request.output.drawMode);
  const PreparedOutput prepared = prepareOutput(request.output);
  const Rgb background = request.output.background;
  writePanorama(panoramaFromFaces(
                    [&](int face) { return loadFacePicture(request.faces[face], face, faceSize, background); },
                    faceSize, request.output.tileSize, request.output.drawMode, request.output.dither),
                request.output, prepared);
}

}  // namespace qbzpack
