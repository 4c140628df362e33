// A viewer with a panorama appended that carries what the golden inputs
// leave out: see-through and averaged tiles (draw mode 3), five tiles to a
// face edge, a start view and limits, a banner, a caption and an overlay.
// The frame-path test counts its frames' helper calls; the ARM screen
// comparison (make_self_contained) renders it on both processors.
#pragma once

#include <cstdint>
#include <vector>

#include "panorama/container_writer.h"
#include "support/grid_panorama.h"

inline std::vector<uint8_t> selfContainedViewer(const std::vector<uint8_t>& viewer) {
  PanoramaImage image = golden::gridPanorama(160, 32);
  image.drawMode = 3;
  for (size_t i = 0; i < image.pixels.size(); i += 3) image.pixels[i] = 0;  // texel 0: see-through
  AppendedExtras extras;
  extras.settings = {.pitchMin = -300, .pitchMax = 400, .bannerColour = 0xFC81,
                     .bannerFrames = 200,  // still up on the compared last screen
                     .captionColour = 0x03E1, .captionX = 40, .captionY = 290, .initialPitch = -40,
                     .initialYaw = 1327, .initialZoom = 100, .zoomMin = 75, .zoomMax = 350,
                     .overlay1Width = 24, .overlay1Height = 12, .overlay1X = 200, .overlay1Y = 8,
                     .overlay2Width = 0, .overlay2Height = 0, .overlay2X = 0, .overlay2Y = 0};
  extras.banner = "Any processor";
  extras.caption = "The same screen";
  for (uint32_t i = 0; i < 24 * 12; ++i) extras.overlay1.push_back(static_cast<uint16_t>(0x7C00 + i * 37));
  return encodeAppended(viewer, encodeContainer(image, true), extras);
}
