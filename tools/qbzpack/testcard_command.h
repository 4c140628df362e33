// `qbzpack testcard`: the labelled test card as a container or viewer, as six
// face pictures, or as the unfolded cross.
#pragma once

#include <string>

#include "qbzpack/panorama_output.h"

namespace qbzpack {

struct TestcardRequest {
  uint32_t faceSize = kDefaultFaceSize;
  std::string facesDirectory;  // front.png ... down.png
  std::string crossPicture;
  OutputRequest output;        // used when output.output is set
  bool allowHoles = false;     // pack what would show holes in some views
};

// The lowest zoom the packed panorama can be seen at: that of the settings
// with --viewer, otherwise the viewer's own.
uint32_t lowestZoomOfOutput(const OutputRequest& output, const PreparedOutput& prepared);

void runTestcard(const TestcardRequest& request);

// Writes front.png ... down.png into directory, creating it if missing.
void writeFacePictures(const CubeFaces& cube, const std::string& directory);

}  // namespace qbzpack
