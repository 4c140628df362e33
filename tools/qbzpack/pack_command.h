// `qbzpack pack`: an equirectangular picture or six face pictures to a
// container or a self-contained viewer.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "qbzpack/cube_geometry.h"
#include "qbzpack/panorama_output.h"

namespace qbzpack {

struct PackRequest {
  std::string equirect;                        // or:
  std::array<std::string, kFaceCount> faces;   // front, right, back, left, up, down
  std::optional<uint32_t> faceSize;            // default: the faces' own size, or 512
  OutputRequest output;
  bool allowHoles = false;                     // pack what would show holes in some views
};

void runPack(const PackRequest& request);

// The panorama of an equirectangular picture file: its shape is checked from
// the header, and the decoded picture is released once the faces are quantised.
PanoramaImage panoramaFromEquirect(const std::string& path, uint32_t faceSize, const OutputRequest& output);

}  // namespace qbzpack
