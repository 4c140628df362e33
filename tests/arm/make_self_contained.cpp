// Appends a panorama to a viewer executable, for the ARM screen comparison
// (scripts/test-arm.sh builds it for the host): see-through and averaged
// tiles (draw mode 3), five tiles to a face edge, a start view and limits,
// a banner, a caption and an overlay — what the golden inputs leave out.
//   make_self_contained VIEWER OUTPUT

#include <fstream>
#include <iterator>
#include <vector>

#include "panorama/container_writer.h"
#include "support/grid_panorama.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<uint8_t> viewer{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  PanoramaImage image = golden::gridPanorama(160, 32);
  image.drawMode = 3;
  for (size_t i = 0; i < image.pixels.size(); i += 3) image.pixels[i] = 0;  // texel 0: see-through
  AppendedExtras extras;
  ViewerSettings& settings = extras.settings;
  settings.pitchMin = -300;
  settings.pitchMax = 400;
  settings.bannerColour = 0xFC81;
  settings.bannerFrames = 200;  // still up on the compared last screen
  settings.captionColour = 0x03E1;
  settings.captionX = 40;
  settings.captionY = 290;
  settings.initialPitch = -40;
  settings.initialYaw = 1327;
  settings.initialZoom = 100;
  settings.zoomMin = 75;
  settings.zoomMax = 350;
  settings.overlay1Width = 24;
  settings.overlay1Height = 12;
  settings.overlay1X = 200;
  settings.overlay1Y = 8;
  extras.banner = "Any processor";
  extras.caption = "The same screen";
  for (uint32_t i = 0; i < 24 * 12; ++i) extras.overlay1.push_back(static_cast<uint16_t>(0x7C00 + i * 37));
  const std::vector<uint8_t> bytes = encodeAppended(viewer, encodeContainer(image, true), extras);
  return !viewer.empty() && !bytes.empty() && writeFileAtomically(argv[2], bytes) ? 0 : 1;
}
