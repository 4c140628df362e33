// Overlay bitmaps drawn by the viewer over the scene: stored indices (bit 0
// clear, the viewer adds 1), rows bottom-up, at most the size of the screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/screen.h"
#include "qbzpack/image.h"

namespace qbzpack {

struct OverlayPixels {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint16_t> pixels;  // the lowest row on screen first
};

// Loads an overlay picture. The container has no transparency for overlays,
// so transparent pixels are laid over the background, with a warning.
RgbImage loadOverlayPicture(const std::string& path, Rgb background, const char* what);

// Throws ToolError when a picture of this size is larger than the screen.
void checkOverlaySize(uint32_t width, uint32_t height, const char* what);
// Throws ToolError when the picture is larger than the screen.
OverlayPixels overlayFromPicture(const RgbImage& picture, bool dither, const char* what);

}  // namespace qbzpack
