// The qbzview command line as other programs rely on it: options, exit
// status, the one-line error, and the screen files of a headless run.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/host/headless_host.h"

namespace {

namespace fs = std::filesystem;

fs::path binaryDirectory() {
  const char* binary = std::getenv("QBZ_BINARY_DIR");
  return binary != nullptr ? fs::path(binary) : fs::current_path();
}

struct Outcome {
  int status;
  std::string errors;  // what the command wrote on stderr
};

Outcome runCommand(const std::string& arguments) {
  const fs::path errors = fs::temp_directory_path() / ("qbzview_cli_" + std::to_string(::getpid()) + ".err");
  const std::string command = (binaryDirectory() / "bin" / "qbzview").string() + " " + arguments + " >/dev/null 2>" +
                              errors.string();
  const int raw = std::system(command.c_str());
  std::ifstream stream(errors);
  Outcome outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
                  std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>())};
  fs::remove(errors);
  return outcome;
}

std::vector<uint8_t> readFile(const fs::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> rawScreen(const std::vector<uint16_t>& screen) {
  std::vector<uint8_t> bytes;
  for (uint16_t pixel : screen) {
    bytes.push_back(static_cast<uint8_t>(pixel & 0xFF));
    bytes.push_back(static_cast<uint8_t>(pixel >> 8));
  }
  return bytes;
}

TEST(QbzviewCommandLine, BadUsageIsStatus2AndAMissingPanoramaStatus1WithOneLine) {
  EXPECT_EQ(runCommand("--headless --frames x").status, 2);
  EXPECT_EQ(runCommand("--headless --no-such-option").status, 2);
  EXPECT_EQ(runCommand("--headless --device pocket").status, 2);
  const fs::path events = fs::temp_directory_path() / "qbzview_cli_bad.events";
  std::ofstream(events) << "1 keydown 0x25\n2 wiggle\n";
  const Outcome badScript = runCommand("--headless --events " + events.string());
  EXPECT_EQ(badScript.status, 2);
  EXPECT_NE(badScript.errors.find("line 2"), std::string::npos) << badScript.errors;

  const Outcome missing = runCommand("--headless /nonexistent/panorama.qbz");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(std::count(missing.errors.begin(), missing.errors.end(), '\n'), 1) << missing.errors;
  EXPECT_NE(missing.errors.find("/nonexistent/panorama.qbz"), std::string::npos) << missing.errors;
  EXPECT_NE(missing.errors.find("qbzview"), std::string::npos) << "names the executable it looked in";
}

TEST(QbzviewCommandLine, TheDumpAndTheScreenshotHoldTheScreenOfTheLastFrame) {
  const fs::path sample = binaryDirectory() / "assets" / "sample.qbz";
  ASSERT_TRUE(fs::exists(sample)) << "the build packs the sample";
  const fs::path dump = fs::temp_directory_path() / "qbzview_cli.raw";
  const fs::path png = fs::temp_directory_path() / "qbzview_cli.png";
  const fs::path events = fs::temp_directory_path() / "qbzview_cli.events";
  std::ofstream(events) << "# turn left for a while\n3 keydown 0x25\n9 keyup 0x25\n";
  const Outcome outcome = runCommand("--headless --device direct --frames 12 --events " + events.string() +
                                     " --dump-display " + dump.string() + " --screenshot " + png.string() + " " +
                                     sample.string());
  ASSERT_EQ(outcome.status, 0) << outcome.errors;
  const std::vector<uint8_t> dumped = readFile(dump);
  EXPECT_EQ(dumped.size(), 153600u);
  const std::vector<uint8_t> picture = readFile(png);
  ASSERT_GT(picture.size(), 8u);
  EXPECT_EQ(std::string(picture.begin() + 1, picture.begin() + 4), "PNG");

  // The same run in this process gives the same screen.
  platform::HeadlessRun run;
  run.options.frameLimit = 12;
  run.options.device = platform::DeviceClass::Generic;
  run.options.standaloneFile = sample.string();
  run.options.moduleFile = "/nonexistent/viewer";
  run.options.events = {{3, platform::kMessageKeyDown, 0x25, 0}, {9, platform::kMessageKeyUp, 0x25, 0}};
  EXPECT_EQ(rawScreen(platform::runHeadless(run).screen), dumped);
}

TEST(QbzviewCommandLine, ASelfContainedViewerFindsThePanoramaInItsOwnFile) {
  const fs::path viewer = binaryDirectory() / "bin" / "qbzview-sample";
  ASSERT_TRUE(fs::exists(viewer)) << "the build packs the self-contained sample viewer";
  const fs::path dump = fs::temp_directory_path() / "qbzview_cli_self.raw";
  const std::string command = viewer.string() + " --headless --frames 8 --dump-display " + dump.string() +
                              " /nonexistent/panorama.qbz";
  ASSERT_EQ(std::system(command.c_str()), 0);

  platform::HeadlessRun run;
  run.options.frameLimit = 8;
  run.options.moduleFile = viewer.string();
  run.options.standaloneFile = "/nonexistent/panorama.qbz";
  const platform::HeadlessResult inProcess = platform::runHeadless(run);
  ASSERT_EQ(inProcess.exitCode, 0);
  EXPECT_EQ(rawScreen(inProcess.screen), readFile(dump));
}

}  // namespace
