#include "qbzpack/pack_command.h"

#include <algorithm>

#include "qbzpack/equirect_to_cube.h"
#include "qbzpack/image_input.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

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
    const RgbImage source = loadPicture(request.equirect, request.output.background);
    writePanorama(cubeFromEquirect(source, faceSize), request.output, prepared);
    return;
  }
  if (request.faceSize) checkGeometry(*request.faceSize, request.output.tileSize, request.output.drawMode);
  const PreparedOutput prepared = prepareOutput(request.output);
  const CubeFaces cube = loadFacePictures(request.faces, request.output.background);
  if (request.faceSize && *request.faceSize != cube.faceSize) {
    throw ToolError("the faces are " + std::to_string(cube.faceSize) + " pixels square but --face-size is " +
                    std::to_string(*request.faceSize));
  }
  checkGeometry(cube.faceSize, request.output.tileSize, request.output.drawMode);
  writePanorama(cube, request.output, prepared);
}

}  // namespace qbzpack
