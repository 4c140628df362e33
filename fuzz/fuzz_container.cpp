// Whole files as the viewer meets them: each input is written to a file that
// stands both for the viewer's own executable (an appended container) and for
// "\Temp\Test.QBZ" (a stand-alone one). Whatever loads is built into the cube
// scene and read through, then everything is released again.

#include <cstring>

#include "fuzz_support.h"
#include "panorama/cube_scene.h"
#include "panorama/panorama_container.h"

namespace {

volatile uint32_t sink;

// Reads every byte a later frame would: the texels of each tile through its
// surface, the mesh records, the texts and the overlays.
void readScene() {
  const uint32_t t = panoramaContainer.tileSize();
  const size_t cells = static_cast<size_t>(tilesPerEdge) * tilesPerEdge;
  uint32_t sum = 0;
  for (size_t k = 0; k < cells; ++k) {
    for (int32_t f = 0; f < kFaceCount; ++f) {
      const SurfaceDescriptor& surface = tileCells[k].surfaces[f];
      sum += surface.texels[0] + surface.texels[t * t - 1];
      const Mesh& mesh = tileCells[k].faces[f].mesh;
      for (int32_t n = 0; n < mesh.vertexCount; ++n) sum += static_cast<uint16_t>(mesh.vertices[n].model.x);
      for (int32_t n = 0; n < mesh.triangleCount; ++n) sum += static_cast<uint32_t>(mesh.triangles[n].surface->vMask);
    }
  }
  sink = sum;
}

void readExtras() {
  const PanoramaContainer& c = panoramaContainer;
  uint32_t sum = 0;
  if (c.bannerText != nullptr) sum += static_cast<uint32_t>(std::strlen(c.bannerText));
  if (c.captionText != nullptr) sum += static_cast<uint32_t>(std::strlen(c.captionText));
  for (const OverlayBitmap* overlay : {c.overlay1, c.overlay2}) {
    if (overlay != nullptr) sum += overlay->pixels[0] + overlay->pixels[overlay->pixelCount - 1];
  }
  sink = sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = fuzz::fileBackend("container.bin");
  if (!fuzz::writeFile(path, data, size)) return 0;

  // The start-up road: appended first, then the stand-alone file.
  panoramaContainer.clearExtras();
  panoramaContainer.settings.zoomMin = 130, panoramaContainer.settings.zoomMax = 240;
  if (buildCubeScene()) readScene();
  readExtras();
  releaseCubeScene(), panoramaContainer.release();

  // The stand-alone loader on its own, which the road skips when the appended load works.
  if (panoramaContainer.loadFile(path.c_str())) sink = panoramaContainer.pixels[panoramaContainer.totalPixels - 1];
  panoramaContainer.release();
  return 0;
}
