// Whole frames of the real viewer, run headless from its entry point, held to
// exact screen hashes. Each case also leaves its inputs and its screen
// (raw and PNG) in <build>/golden/, to be looked at and compared across
// builds: NAME.qbz, NAME.events, NAME.args (the qbzview options), NAME.raw,
// NAME.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "panorama/container_writer.h"
#include "platform/host/headless_host.h"
#include "platform/screen_capture.h"
#include "support/grid_panorama.h"

namespace {

namespace fs = std::filesystem;

fs::path goldenDirectory() {
  const char* binary = std::getenv("QBZ_BINARY_DIR");
  fs::path directory = fs::path(binary != nullptr ? binary : fs::temp_directory_path().string()) / "golden";
  fs::create_directories(directory);
  return directory;
}

struct GoldenCase {
  std::string name;
  std::string events;  // script text, may be empty
  int32_t frames = 2;
  std::string device = "generic";
};

// Runs the viewer on container (as "\Temp\Test.QBZ") and returns its last screen.
std::vector<uint16_t> runViewer(const GoldenCase& golden, const std::vector<uint8_t>& container,
                                const std::string& module = "") {
  const fs::path directory = goldenDirectory();
  const fs::path panorama = directory / (golden.name + ".qbz");
  EXPECT_TRUE(writeFileAtomically(panorama.string(), container));

  platform::HeadlessRun run;
  run.options.frameLimit = golden.frames;
  run.options.standaloneFile = panorama.string();
  run.options.moduleFile = module.empty() ? (directory / "no-such-viewer").string() : module;
  EXPECT_TRUE(platform::parseDeviceClass(golden.device, run.options.device));
  std::string args = "--device " + golden.device + " --frames " + std::to_string(golden.frames);
  if (!golden.events.empty()) {
    const fs::path events = directory / (golden.name + ".events");
    std::ofstream(events) << golden.events;
    std::string error;
    EXPECT_TRUE(platform::parseEventScript(golden.events, run.options.events, error)) << error;
    args += " --events " + events.string();
  }
  run.dumpDisplayPath = (directory / (golden.name + ".raw")).string();
  run.screenshotPath = (directory / (golden.name + ".png")).string();
  const platform::HeadlessResult result = platform::runHeadless(run);
  EXPECT_EQ(result.exitCode, 0) << result.error;
  EXPECT_EQ(result.framesProduced, golden.frames);
  if (module.empty()) std::ofstream(directory / (golden.name + ".args")) << args << " " << panorama.string() << "\n";
  return result.screen;
}

uint64_t hashOf(const GoldenCase& golden, const std::vector<uint8_t>& container, const std::string& module = "") {
  return platform::screenHash(runViewer(golden, container, module));
}

std::vector<uint8_t> grid(bool compress) { return encodeContainer(golden::gridPanorama(256, 16), compress); }

constexpr uint64_t kFrontView = 14606736868193470005u;

TEST(GoldenFrames, TheStartViewIsTheSameOnEveryDeviceAndFromRawOrCompressedStores) {
  EXPECT_EQ(hashOf({"front", "", 2, "generic"}, grid(false)), kFrontView);
  EXPECT_EQ(hashOf({"front-compressed", "", 2, "generic"}, grid(true)), kFrontView);
  for (const std::string device : {"linear", "direct", "palmax"}) {
    EXPECT_EQ(hashOf({"front-" + device, "", 2, device}, grid(false)), kFrontView) << device;
  }
}

TEST(GoldenFrames, KeysTurnTiltAndSwitchToWireFrameAndTheStylusDragTurnsLikeAJoystick) {
  EXPECT_EQ(hashOf({"look-up", "1 keydown 0x26\n", 40}, grid(false)), 10049204391097961340u);
  EXPECT_EQ(hashOf({"look-down-left", "1 keydown 0x28\n1 keydown 0x25\n", 30}, grid(false)), 15531307505633775509u);
  EXPECT_EQ(hashOf({"wireframe", "1 keydown 0x24\n2 keyup 0x24\n", 2}, grid(false)), 10684793195237266669u);
  EXPECT_EQ(hashOf({"zoomed", "1 keydown 0xC3\n", 30}, grid(false)), 10567800059773302749u);
  EXPECT_EQ(hashOf({"drag", "1 down 120 160\n2 move 170 150\n", 12}, grid(false)), 595079551380875911u);
}

TEST(GoldenFrames, ASelfContainedViewerStartsWithItsTrailersViewTextsAndOverlay) {
  AppendedExtras extras;
  ViewerSettings& s = extras.settings;
  s.initialYaw = 512, s.initialPitch = -100, s.initialZoom = 200, s.zoomMin = 100, s.zoomMax = 300;
  s.bannerFrames = 50, s.bannerColour = 0xFC81, s.captionColour = 0x3FFF, s.captionX = 20, s.captionY = 290;
  s.overlay1Width = 16, s.overlay1Height = 8, s.overlay1X = 200, s.overlay1Y = 10;
  extras.banner = "qbzview";
  extras.caption = "Grid test";
  extras.overlay1.assign(16 * 8, golden::colourIndex(31, 31, 0));
  const fs::path module = goldenDirectory() / "viewer-with-panorama";
  const std::vector<uint8_t> prefix(4096, 0x90);
  ASSERT_TRUE(writeFileAtomically(module.string(), encodeAppended(prefix, grid(true), extras)));
  // The stand-alone file is another panorama: the appended one must win.
  EXPECT_EQ(hashOf({"self-contained", "", 10}, encodeContainer(golden::gridPanorama(128, 16), false), module.string()),
            5594134764246236938u);
}

TEST(GoldenFrames, AFlatPanoramaCoversTheScreenWithoutSeamsAtEdgesAndCorners) {
  PanoramaImage flat = golden::gridPanorama(512, 32);  // the shipped geometry
  std::fill(flat.pixels.begin(), flat.pixels.end(), golden::colourIndex(20, 12, 6));
  const std::vector<uint8_t> container = encodeContainer(flat, true);
  const char* views[] = {"", "1 keydown 0x27\n", "1 keydown 0x26\n1 keydown 0x25\n", "1 keydown 0x28\n1 keydown 0xC4\n"};
  for (const char* events : views) {
    const std::vector<uint16_t> screen = runViewer({"flat", events, 22}, container);
    ASSERT_EQ(screen.size(), 240u * 320u) << events;
    EXPECT_NE(screen[0], 0) << events;
    EXPECT_EQ(std::count(screen.begin(), screen.end(), screen[0]), std::ptrdiff_t{240 * 320})
        << "every pixel shows the one texel colour: " << events;
  }
}

}  // namespace
