// Reads a container or a self-contained viewer back through the viewer's own
// loader, so that `info` and `extract` judge a file exactly as the viewer does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "panorama/container_format.h"

namespace qbzpack {

struct LoadedPanorama {
  bool hasTrailer = false;                 // the file ends in the trailer magic
  std::optional<ContainerTrailer> trailer;  // decoded when the file holds a whole one
  std::optional<ContainerHeader> header;    // decoded when the header bytes are there
  uint64_t fileBytes = 0;
  bool loaded = false;                      // the viewer's loader accepted the file

  // What the loader kept, when it accepted the file.
  uint32_t tilesPerSide = 0, pixelsPerTile = 0, pixelsPerFace = 0, totalPixels = 0;
  std::vector<uint16_t> pixels;
  std::string banner, caption;
  bool hasBanner = false, hasCaption = false;
  ViewerSettings settings{};
  uint32_t overlay1Pixels = 0, overlay2Pixels = 0;
};

// Throws ToolError only when the file cannot be opened at all.
LoadedPanorama readPanoramaFile(const std::string& path);

}  // namespace qbzpack
