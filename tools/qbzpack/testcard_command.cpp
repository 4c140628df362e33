#include "qbzpack/testcard_command.h"

#include "qbzpack/file_output.h"
#include "qbzpack/test_card.h"
#include "qbzpack/tool_error.h"
#include "qbzpack/whole_view.h"

namespace qbzpack {

void writeFacePictures(const CubeFaces& cube, const std::string& directory) {
  writeFilesTogether(directory, kFaceCount, [&cube](uint32_t face) {
    return platform::NamedFile{std::string(kFaceNames[face]) + ".png", pngBytes(cube.faces[face])};
  });
}

uint32_t lowestZoomOfOutput(const OutputRequest& output, const PreparedOutput& prepared) {
  return output.viewer.empty() ? kDefaultZoomMin : lowestZoomOf(prepared.extras.settings);
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
    checkShowsWhole(request.faceSize, request.output.tileSize, lowestZoomOfOutput(request.output, prepared),
                    !request.output.viewer.empty(), request.allowHoles);
  } else if (!request.output.viewer.empty() || request.output.view.any()) {
    throw ToolError("--viewer and viewer settings need -o or --html", true);
  }
  const CubeFaces cube = makeTestCard(request.faceSize, request.output.tileSize);
  if (panorama) writePanorama(cube, request.output, prepared);
  if (!request.facesDirectory.empty()) writeFacePictures(cube, request.facesDirectory);
  if (!request.crossPicture.empty()) writeOutputFile(request.crossPicture, pngBytes(unfoldedCross(cube)));
}

}  // namespace qbzpack
