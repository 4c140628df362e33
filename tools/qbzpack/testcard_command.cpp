#include "qbzpack/testcard_command.h"

#include <filesystem>

#include "qbzpack/file_output.h"
#include "qbzpack/png_output.h"
#include "qbzpack/test_card.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

void writeFacePictures(const CubeFaces& cube, const std::string& directory) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (!std::filesystem::is_directory(directory)) {
    throw ToolError("cannot create the directory " + directory + (error ? " (" + error.message() + ")" : ""));
  }
  for (int face = 0; face < kFaceCount; ++face) {
    const std::string path = (std::filesystem::path(directory) / (std::string(kFaceNames[face]) + ".png")).string();
    writeFileAtomically(path, encodePng(cube.faces[face]), false);
  }
}

void runTestcard(const TestcardRequest& request) {
  const bool panorama = !request.output.output.empty() || !request.output.html.empty();
  if (!panorama && request.facesDirectory.empty() && request.crossPicture.empty()) {
    throw ToolError("say where the test card goes: -o FILE, --html PAGE, --faces DIR or --cross PNG", true);
  }
  checkGeometry(request.faceSize, request.output.tileSize, request.output.drawMode);
  PreparedOutput prepared;
  if (panorama) {
    prepared = prepareOutput(request.output);
  } else if (!request.output.viewer.empty() || request.output.view.any()) {
    throw ToolError("--viewer and viewer settings need -o or --html", true);
  }
  const CubeFaces cube = makeTestCard(request.faceSize, request.output.tileSize);
  if (panorama) writePanorama(cube, request.output, prepared);
  if (!request.facesDirectory.empty()) writeFacePictures(cube, request.facesDirectory);
  if (!request.crossPicture.empty()) writeFileAtomically(request.crossPicture, encodePng(unfoldedCross(cube)), false);
}

}  // namespace qbzpack
