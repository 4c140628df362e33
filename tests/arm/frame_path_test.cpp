// On a processor without a divide instruction or a floating-point unit every
// division and every floating-point operation is a call into the compiler's
// helpers. Counting those calls around each produced frame proves the frame
// path division-free and float-free on the real target class: one unsigned
// division per frame (the turning speed 2048 / zoom) and no floating point,
// except the projection table's rebuild in a frame that hands the renderer a
// new zoom.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "arm/counted_helpers.h"
#include "arm/self_contained_viewer.h"
#include "core/render_context.h"
#include "panorama/container_writer.h"
#include "panorama/cube_scene.h"
#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "render/projection.h"
#include "shell/application.h"
#include "shell/input_state.h"
#include "shell/main_window.h"
#include "shell/view_control.h"
#include "support/grid_panorama.h"
#include "support/headless_fixture.h"
#include "support/scratch_directory.h"

namespace {

// Which frames of a step hand the renderer a zoom, and so rebuild its table.
enum class ZoomPass { None, FirstFrame, EveryFrame };

struct Step {
  const char* what;
  int32_t frames;
  std::vector<uint8_t> keys;  // pressed before the first frame, released after the last
  int32_t dragX, dragY;       // stylus offset from its press at (120, 160); 0, 0: pressed, not moved
  bool stylusDown;
  ZoomPass zoom;
};

// Every way the view changes: auto-rotation over a whole turn (yaw wraps),
// the arrows up to the pitch limits, the stylus, wire-frame, zooming to both
// limits and beyond, and the reset. Fill-mode and reset are one-shot keys.
const std::vector<Step> kScenario = {
    {"auto-rotation over a whole turn", 150, {}, 0, 0, false, ZoomPass::None},
    {"right arrow", 8, {kKeyRight}, 0, 0, false, ZoomPass::None},
    {"left and right arrows", 4, {kKeyLeft, kKeyRight}, 0, 0, false, ZoomPass::None},
    {"down arrow to the pitch limit", 40, {kKeyDown}, 0, 0, false, ZoomPass::None},
    {"up arrow to the other limit", 75, {kKeyUp}, 0, 0, false, ZoomPass::None},
    {"stylus pressed, not moved", 3, {}, 0, 0, true, ZoomPass::None},
    {"stylus dragged right", 10, {}, 30, 4, true, ZoomPass::None},
    {"stylus dragged down", 15, {}, 2, 50, true, ZoomPass::None},
    {"stylus dragged far left", 3, {}, -700, 1, true, ZoomPass::None},
    {"wire-frame, turning", 20, {kKeyFillMode, kKeyLeft}, 0, 0, false, ZoomPass::None},
    {"wire-frame, zooming in", 3, {kKeyZoomIn}, 0, 0, false, ZoomPass::EveryFrame},
    {"textured again", 5, {kKeyFillMode, kKeyRight}, 0, 0, false, ZoomPass::None},
    {"zoom in up to the limit and beyond", 25, {kKeyZoomIn}, 0, 0, false, ZoomPass::EveryFrame},
    {"turning at the largest zoom", 10, {kKeyRight}, 0, 0, false, ZoomPass::None},
    {"zoom out down to the limit and beyond", 30, {kKeyZoomOut}, 0, 0, false, ZoomPass::EveryFrame},
    {"reset", 12, {kKeyReset}, 0, 0, false, ZoomPass::FirstFrame},
};

class FramePathTest : public HeadlessTest {
 protected:
  // Starts the viewer on bytes as its own executable (appended) or as the stand-alone panorama.
  bool startOn(const std::vector<uint8_t>& bytes, bool appended, platform::DeviceClass device) {
    if (!platform::writeFileAtomically(scratch_.path("panorama"), bytes)) return false;
    platform::HeadlessOptions options;
    options.device = device;
    (appended ? options.moduleFile : options.standaloneFile) = scratch_.path("panorama");
    (appended ? options.standaloneFile : options.moduleFile) = scratch_.path("absent");
    return startViewer(options);
  }

  // Produces every frame of the scenario and checks each one's helper calls:
  // one unsigned division, and the table rebuild's calls where a zoom is handed over.
  void runScenario(const std::string& run) {
    resetHelperCalls();
    buildProjectionTable(static_cast<int32_t>(viewState.zoom));
    const HelperCalls rebuild = helperCallsSinceReset();
    ASSERT_GT(rebuild.total, 4000u) << "the table rebuild must show in the counts, or nothing is counted";
    int32_t frame = 0;
    for (const Step& step : kScenario) {
      for (uint8_t key : step.keys) KeyState[key] = 1;
      const bool moved = step.dragX != 0 || step.dragY != 0;
      stylusState.anchorX = step.stylusDown ? 120 : -1;
      stylusState.anchorY = step.stylusDown ? 160 : -1;
      stylusState.currentX = step.stylusDown && moved ? 120 + step.dragX : -1;
      stylusState.currentY = step.stylusDown && moved ? 160 + step.dragY : -1;
      for (int32_t i = 0; i < step.frames; ++i, ++frame) {
        const bool rebuilds = step.zoom == ZoomPass::EveryFrame || (step.zoom == ZoomPass::FirstFrame && i == 0);
        resetHelperCalls();
        produceFrame();
        EXPECT_EQ(helperCallsSinceReset().detail, "__aeabi_uidiv 1; " + (rebuilds ? rebuild.detail : ""))
            << run << ", frame " << frame << " (" << step.what << ")";
        if (HasFailure()) return;  // one frame tells the story
      }
      for (uint8_t key : step.keys) KeyState[key] = 0;
    }
    EXPECT_EQ(renderContext.frameCounter, 11) << "the reset restarts the frame count";
    EXPECT_FALSE(viewState.wireframe);
    // The counted frames really drew the panorama.
    const std::vector<uint16_t> screen = headless().display().screen();
    EXPECT_GT(std::set<uint16_t>(screen.begin(), screen.end()).size(), 10u) << run;
  }

  ScratchDirectory scratch_;
};

// Faces 256 texels wide stand 128 from the eye, inside the visible depths.
TEST_F(FramePathTest, EveryFrameDividesOnceAndUsesNoFloatingPointOnEveryDevice) {
  const std::vector<uint8_t> container = encodeContainer(golden::gridPanorama(256, 32), false);
  for (const char* name : {"generic", "linear", "direct", "palmax"}) {
    platform::DeviceClass device{};
    ASSERT_TRUE(platform::parseDeviceClass(name, device));
    ASSERT_TRUE(startOn(container, false, device)) << name;
    EXPECT_EQ(tilesPerEdge, 8u) << "every frame submits the meshes of 64 tile positions";
    EXPECT_EQ(viewState.zoom, 130u);
    runScenario(name);
    if (HasFailure()) return;
  }
}

// See-through, averaged tiles go through the depth buckets; the banner, the
// caption and the overlay are drawn over the frame.
TEST_F(FramePathTest, BannerCaptionOverlayAndBlendedTilesAddNoDivisionOrFloatingPoint) {
  const std::vector<uint8_t> prefix(4096, 0x5A);  // stands for the viewer's executable image
  ASSERT_TRUE(startOn(selfContainedViewer(prefix), true, platform::DeviceClass::Generic));
  EXPECT_EQ(viewState.yaw, 1327) << "the start view comes from the trailer";
  runScenario("appended");
}

}  // namespace
