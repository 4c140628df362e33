// On a processor without a divide instruction or a floating-point unit every
// division and every floating-point operation is a call into the compiler's
// helpers. Counting those calls around each produced frame proves the frame
// path division-free and float-free on the real target class: one unsigned
// division per frame (the turning speed 2048 / zoom) and no floating point,
// except the projection table's rebuild in a frame that hands the renderer a
// new zoom.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "arm/counted_helpers.h"
#include "arm/test_containers.h"
#include "display/blitters.h"
#include "panorama/cube_scene.h"
#include "platform/platform.h"
#include "render/projection.h"
#include "render/render_context.h"
#include "shell/application.h"
#include "shell/input_state.h"
#include "shell/main_window.h"
#include "shell/view_control.h"
#include "support/headless_fixture.h"

namespace {

using test_containers::Bytes;

// Which frames of a step hand the renderer a zoom, and so rebuild its table.
enum class ZoomPass { None, FirstFrame, EveryFrame };

struct Step {
  const char* what;
  int32_t frames;
  std::vector<uint8_t> heldKeys;
  uint8_t pressedKey;  // one-shot key pressed before the step's first frame; 0: none
  bool stylusDown;
  int32_t dragX;  // offset of the stylus from its press point; both 0: no move yet
  int32_t dragY;
  ZoomPass zoom;
};

// Every way the view changes: auto-rotation over a whole turn (yaw wraps),
// the arrows up to the pitch limits, the stylus, wire-frame, zooming to both
// limits and beyond, and the reset.
const std::vector<Step> kScenario = {
    {"auto-rotation over a whole turn", 150, {}, 0, false, 0, 0, ZoomPass::None},
    {"right arrow", 8, {kKeyRight}, 0, false, 0, 0, ZoomPass::None},
    {"left and right arrows", 4, {kKeyLeft, kKeyRight}, 0, false, 0, 0, ZoomPass::None},
    {"down arrow to the pitch limit", 40, {kKeyDown}, 0, false, 0, 0, ZoomPass::None},
    {"up arrow to the other limit", 75, {kKeyUp}, 0, false, 0, 0, ZoomPass::None},
    {"stylus pressed, not moved", 3, {}, 0, true, 0, 0, ZoomPass::None},
    {"stylus dragged right", 10, {}, 0, true, 30, 4, ZoomPass::None},
    {"stylus dragged down", 15, {}, 0, true, 2, 50, ZoomPass::None},
    {"stylus dragged far left", 3, {}, 0, true, -700, 1, ZoomPass::None},
    {"wire-frame, turning", 20, {kKeyLeft}, kKeyFillMode, false, 0, 0, ZoomPass::None},
    {"wire-frame, zooming in", 3, {kKeyZoomIn}, 0, false, 0, 0, ZoomPass::EveryFrame},
    {"textured again", 5, {kKeyRight}, kKeyFillMode, false, 0, 0, ZoomPass::None},
    {"zoom in up to the limit and beyond", 25, {kKeyZoomIn}, 0, false, 0, 0, ZoomPass::EveryFrame},
    {"turning at the largest zoom", 10, {kKeyRight}, 0, false, 0, 0, ZoomPass::None},
    {"zoom out down to the limit and beyond", 30, {kKeyZoomOut}, 0, false, 0, 0, ZoomPass::EveryFrame},
    {"reset", 12, {}, kKeyReset, false, 0, 0, ZoomPass::FirstFrame},
};

std::string writeTemporary(const std::string& name, const Bytes& bytes) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("qbz-arm-" + std::to_string(getpid()) + "-" + name);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

class FramePathTest : public HeadlessTest {
 protected:
  void TearDown() override {
    HeadlessTest::TearDown();
    for (const std::string& path : files_) std::filesystem::remove(path);
  }

  std::string temporaryFile(const std::string& name, const Bytes& bytes) {
    files_.push_back(writeTemporary(name, bytes));
    return files_.back();
  }

  // The start-up of the viewer's entry point, without entering its main loop.
  bool startViewer(const platform::HeadlessOptions& options) {
    useBackend(options);
    platform::WindowClass windowClass{};
    windowClass.procedure = mainWindowProc;
    windowClass.className = kApplicationName;
    platform::registerClass(windowClass);
    mainWindow = platform::createWindow(0, kApplicationName, kApplicationName, 0, 0, 0, 240, 320, nullptr, nullptr,
                                        nullptr, nullptr);
    const bool started = initApplication();
    selectBlitter(renderContext);
    return started;
  }

  // Helper calls of one table rebuild, measured on its own.
  static uint32_t floatCallsOfOneRebuild() {
    resetHelperCalls();
    buildProjectionTable(static_cast<int32_t>(viewState.zoom));
    return helperCallsSinceReset().floatCalls;
  }

  // Produces every frame of the scenario and checks each one's helper calls.
  void runScenario(const char* run) {
    const uint32_t rebuildCalls = floatCallsOfOneRebuild();
    ASSERT_GT(rebuildCalls, 4000u) << "the table rebuild must show as floating-point calls, or nothing is counted";
    int32_t frame = 0;
    for (const Step& step : kScenario) {
      for (uint8_t key : step.heldKeys) KeyState[key] = 1;
      if (step.pressedKey != 0) KeyState[step.pressedKey] = 1;
      const bool moved = step.dragX != 0 || step.dragY != 0;
      stylusState.anchorX = step.stylusDown ? 120 : -1;
      stylusState.anchorY = step.stylusDown ? 160 : -1;
      stylusState.currentX = step.stylusDown && moved ? 120 + step.dragX : -1;
      stylusState.currentY = step.stylusDown && moved ? 160 + step.dragY : -1;
      for (int32_t i = 0; i < step.frames; ++i, ++frame) {
        const bool rebuilds = step.zoom == ZoomPass::EveryFrame || (step.zoom == ZoomPass::FirstFrame && i == 0);
        resetHelperCalls();
        produceFrame();
        const HelperCalls calls = helperCallsSinceReset();
        const std::string where = std::string(run) + ", frame " + std::to_string(frame) + " (" + step.what +
                                  "): " + (calls.detail.empty() ? "no helper" : calls.detail);
        EXPECT_EQ(calls.unsignedDivisions, 1u) << where;
        EXPECT_EQ(calls.otherDivisions, 0u) << where;
        EXPECT_EQ(calls.floatCalls, rebuilds ? rebuildCalls : 0u) << where;
        if (::testing::Test::HasFailure()) return;  // one frame tells the story
      }
      for (uint8_t key : step.heldKeys) KeyState[key] = 0;
    }
    EXPECT_EQ(renderContext.frameCounter, 11) << "the reset restarts the frame count";
    EXPECT_FALSE(viewState.wireframe);
    // The counted frames really drew the panorama.
    const std::vector<uint16_t> screen = headless().display().screen();
    const std::set<uint16_t> colours(screen.begin(), screen.end());
    EXPECT_GT(colours.size(), 100u) << run;
  }

  std::vector<std::string> files_;
};

// Faces 256 texels wide stand 128 from the eye, inside the visible depths.
constexpr uint32_t kFaceSize = 256;
constexpr uint32_t kTileSize = 32;

TEST_F(FramePathTest, EveryFrameDividesOnceAndUsesNoFloatingPointOnEveryDevice) {
  const Bytes container =
      test_containers::rawContainer(kFaceSize, kTileSize, 0, test_containers::patternStore(kFaceSize, kTileSize, 7));
  const std::string containerPath = temporaryFile("Test.QBZ", container);
  using platform::DeviceClass;
  const struct {
    DeviceClass device;
    const char* name;
  } devices[] = {{DeviceClass::Generic, "generic"},
                 {DeviceClass::Linear, "linear"},
                 {DeviceClass::Direct, "direct"},
                 {DeviceClass::Palmax, "palmax"}};
  for (const auto& device : devices) {
    platform::HeadlessOptions options;
    options.device = device.device;
    options.standaloneFile = containerPath;
    options.moduleFile = containerPath + ".no-viewer";  // nothing appended: the stand-alone file loads
    ASSERT_TRUE(startViewer(options)) << device.name;
    EXPECT_EQ(tilesPerEdge, kFaceSize / kTileSize) << "every frame submits the meshes of 64 tile positions";
    EXPECT_EQ(viewState.zoom, 130u);
    runScenario(device.name);
    if (HasFailure()) return;
  }
}

TEST_F(FramePathTest, BannerCaptionOverlayAndBlendedTilesAddNoDivisionOrFloatingPoint) {
  test_containers::Extras extras;
  extras.settings.bannerColour = 0xFC81;
  extras.settings.bannerFrames = 100;  // frames 6 to 99 draw the banner
  extras.settings.captionColour = 0xFC81;
  extras.settings.captionX = 50;
  extras.settings.captionY = 300;
  extras.settings.initialYaw = 1327;
  extras.settings.zoomMin = 130;
  extras.settings.zoomMax = 240;
  extras.settings.overlay1Width = 10;
  extras.settings.overlay1Height = 8;
  extras.settings.overlay1X = 20;
  extras.settings.overlay1Y = 30;
  extras.banner = "a banner, centred";
  extras.caption = "Caption";
  extras.overlay1.assign(10 * 8, 0x7C1F);
  // Texel 0 transparent and averaged tiles: every tile goes through the depth buckets.
  std::vector<uint16_t> pixels = test_containers::patternStore(kFaceSize, kTileSize, 11);
  for (size_t i = 0; i < pixels.size(); i += 5) pixels[i] = 0;
  const Bytes container = test_containers::rawContainer(kFaceSize, kTileSize, 3, pixels);
  const Bytes prefix(4096, 0x5A);  // stands for the viewer's executable image
  Bytes executable = prefix;
  const Bytes tail = test_containers::appendedTail(prefix.size(), container, extras);
  executable.insert(executable.end(), tail.begin(), tail.end());

  platform::HeadlessOptions options;
  options.moduleFile = temporaryFile("viewer", executable);
  options.standaloneFile = options.moduleFile + ".absent";
  ASSERT_TRUE(startViewer(options));
  EXPECT_EQ(viewState.yaw, 1327) << "the start view comes from the trailer";
  runScenario("appended");
}

}  // namespace
