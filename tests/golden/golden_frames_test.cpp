// Whole frames of the real viewer, run headless from its entry point, held
// pixel by pixel to the reference screens in tests/golden/reference/. Each
// case leaves its inputs and its screen in <build>/golden/ (NAME.qbz,
// NAME.events, NAME.args, NAME.raw, NAME.png); a mismatch adds NAME.diff.png.
// QBZ_UPDATE_GOLDEN=1 writes the current screens over the references.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "panorama/container_writer.h"
#include "platform/atomic_file.h"
#include "platform/host/headless_host.h"
#include "platform/screen_capture.h"
#include "support/grid_panorama.h"

namespace {

namespace fs = std::filesystem;

// ctest names the folders in the environment; a WebAssembly test under node
// does not see it, and takes the folders it was built for.
fs::path folderFromEnvironment(const char* name, const char* builtFor) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : builtFor;
}

fs::path goldenDirectory() {
  fs::path directory = folderFromEnvironment("QBZ_BINARY_DIR", QBZ_BINARY_DIR_BUILT) / "golden";
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
  EXPECT_TRUE(platform::writeFileAtomically(panorama.string(), container));

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

// An 8-bit RGB PNG, or nothing when it cannot be read.
std::vector<uint8_t> readRgb(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (image.width != 240 || image.height != 320 ||
      !png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return {};
  }
  return rgb;
}

// Runs the case and compares its screen, as its PNG, with reference/REFERENCE.png.
void expectReference(const GoldenCase& golden, const std::vector<uint8_t>& container, const std::string& reference,
                     const std::string& module = "") {
  runViewer(golden, container, module);
  const fs::path differencePath = goldenDirectory() / (golden.name + ".diff.png");
  fs::remove(differencePath);  // a picture of an earlier failure
  const fs::path actualPath = goldenDirectory() / (golden.name + ".png");
  const fs::path referencePath =
      folderFromEnvironment("QBZ_SOURCE_DIR", QBZ_SOURCE_DIR_BUILT) / "tests/golden/reference" / (reference + ".png");
  const char* update = std::getenv("QBZ_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    fs::copy_file(actualPath, referencePath, fs::copy_options::overwrite_existing);
    return;
  }
  const std::vector<uint8_t> actual = readRgb(actualPath), expected = readRgb(referencePath);
  ASSERT_FALSE(actual.empty() || expected.empty()) << actualPath << " or " << referencePath << " unreadable";
  // The difference: matching pixels as a dim copy of the reference, differing ones red.
  std::vector<uint8_t> difference(expected.size());
  std::ostringstream first;
  size_t differing = 0;
  for (size_t i = 0; i < expected.size(); i += 3) {
    const bool same = std::equal(&actual[i], &actual[i] + 3, &expected[i]);
    for (size_t c = 0; c < 3; ++c) difference[i + c] = same ? expected[i + c] / 4 : (c == 0 ? 255 : 0);
    if (!same && differing++ < 5) {
      first << " (" << i / 3 % 240 << ", " << i / 3 / 240 << ") is " << +actual[i] << "," << +actual[i + 1] << ","
            << +actual[i + 2] << " not " << +expected[i] << "," << +expected[i + 1] << "," << +expected[i + 2] << ";";
    }
  }
  if (differing == 0) return;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 240, image.height = 320, image.format = PNG_FORMAT_RGB;
  png_image_write_to_file(&image, differencePath.c_str(), 0, difference.data(), 0, nullptr);
  ADD_FAILURE() << golden.name << ": " << differing << " pixels differ from " << referencePath << "; first:" << first.str()
                << "\n  actual: " << actualPath << "\n  difference: " << differencePath;
}

std::vector<uint8_t> grid(bool compress) { return encodeContainer(golden::gridPanorama(256, 16), compress); }

TEST(GoldenFrames, TheStartViewIsTheSameOnEveryDeviceAndFromRawOrCompressedStores) {
  expectReference({"front", "", 2, "generic"}, grid(false), "front");
  expectReference({"front-compressed", "", 2, "generic"}, grid(true), "front");
  for (const std::string device : {"linear", "direct", "palmax"})
    expectReference({"front-" + device, "", 2, device}, grid(false), "front");
}

TEST(GoldenFrames, KeysTurnTiltAndSwitchToWireFrameAndTheStylusDragTurnsLikeAJoystick) {
  const GoldenCase cases[] = {{"look-up", "1 keydown 0x26\n", 40},
                              {"look-down-left", "1 keydown 0x28\n1 keydown 0x25\n", 30},
                              {"wireframe", "1 keydown 0x24\n2 keyup 0x24\n", 2},
                              {"zoomed", "1 keydown 0xC3\n", 30},
                              {"drag", "1 down 120 160\n2 move 170 150\n", 12}};
  for (const GoldenCase& golden : cases) expectReference(golden, grid(false), golden.name);
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
  ASSERT_TRUE(platform::writeFileAtomically(module.string(), encodeAppended(prefix, grid(true), extras)));
  // The stand-alone file is another panorama: the appended one must win.
  expectReference({"self-contained", "", 10}, encodeContainer(golden::gridPanorama(128, 16), false), "self-contained",
                  module.string());
}

}  // namespace
