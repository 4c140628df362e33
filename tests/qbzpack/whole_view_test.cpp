// Panoramas that show whole: the viewer's own renderer, swept over yaw, pitch
// and both zoom limits, leaves no cell unpainted for any geometry qbzpack
// accepts and leaves some for each one it refuses.

#include "core/frame_buffer.h"
#include "panorama/container_writer.h"
#include "platform/atomic_file.h"
#include "qbzpack/colour_index.h"
#include "qbzpack/whole_view.h"
#include "render/renderer.h"
#include "shell/view_control.h"
#include "support/headless_fixture.h"
#include "test_files.h"

namespace {

struct Geometry {
  uint32_t faceSize, tileSize, zoomMin, zoomMax;
};

class WholeView : public HeadlessTest {
 protected:
  // Unpainted cells in the worst view of a coarse sweep.
  int32_t sweep(const Geometry& g) {
    PanoramaImage image{g.faceSize, g.tileSize, 0, {}};
    image.pixels.assign(storePixelCount(g.faceSize, g.tileSize), qbzpack::packLevels(16, 16, 16, 0));
    const std::string path = dir_.path("sweep.qbz");
    EXPECT_TRUE(platform::writeFileAtomically(path, encodeContainer(image, false)));
    platform::HeadlessOptions options;
    options.standaloneFile = path, options.moduleFile = dir_.path("no-viewer");
    EXPECT_TRUE(startViewer(options));
    int32_t worst = 0;
    for (const uint32_t zoom : {g.zoomMin, g.zoomMax}) {
      renderSetParameter(renderContext, kParameterZoom, static_cast<int32_t>(zoom));
      for (int32_t yaw = 0; yaw < 2048; yaw += 96) {
        for (int32_t pitch = -512; pitch <= 512; pitch += 128) {
          viewState.yaw = yaw, viewState.pitch = pitch, viewState.zoom = zoom, viewState.autoRotate = false;
          std::fill(FrameBuffer, FrameBuffer + kFrameCells, kClearCell);
          updateFrame();
          worst = std::max(worst, static_cast<int32_t>(std::count(FrameBuffer, FrameBuffer + kFrameCells, kClearCell)));
        }
      }
    }
    return worst;
  }
  qbzpack_test::ScratchDirectory dir_;
};

TEST_F(WholeView, AcceptedGeometriesShowWholeAndRefusedOnesShowHoles) {
  // The first four are accepted and must show whole; the others are refused and must show holes.
  const Geometry geometries[] = {{512, 32, 130, 240}, {256, 16, 190, 400}, {192, 8, 400, 1024}, {1024, 128, 130, 240},
                                 {256, 32, 130, 240}, {512, 128, 130, 240}, {128, 32, 130, 240}, {256, 16, 130, 240}};
  for (size_t k = 0; k < std::size(geometries); ++k) {
    const Geometry& g = geometries[k];
    const bool accepted = k < 4;
    ASSERT_EQ(qbzpack::showsWhole(g.faceSize, g.tileSize, g.zoomMin), accepted) << g.faceSize << "/" << g.tileSize;
    EXPECT_EQ(sweep(g) == 0, accepted) << g.faceSize << "/" << g.tileSize << " from zoom " << g.zoomMin;
  }
}

}  // namespace
