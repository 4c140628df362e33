// The qbzview command line as other programs rely on it: options, exit
// status, the one-line error, and the screen files of a headless run.
#include <gtest/gtest.h>
#include <sys/wait.h>

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

// Runs bin/<program> with the arguments, stdout discarded.
Outcome runCommand(const std::string& arguments, const std::string& program = "qbzview") {
  const std::string command = (binaryDirectory() / "bin" / program).string() + " " + arguments + " 2>&1 >/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, "cannot run " + command};
  Outcome outcome{-1, {}};
  for (int c; (c = std::fgetc(pipe)) != EOF;) outcome.errors.push_back(static_cast<char>(c));
  const int raw = pclose(pipe);
  outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return outcome;
}

std::vector<uint8_t> readFile(const fs::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

// The screen of a successful headless run of bin/<program>, as --dump-display wrote it.
std::vector<uint8_t> dumpedScreen(const std::string& program, const std::string& arguments) {
  const fs::path dump = fs::temp_directory_path() / ("qbzview_cli_" + program + ".raw");
  const Outcome outcome = runCommand("--headless --dump-display " + dump.string() + " " + arguments, program);
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  return readFile(dump);
}

// The same run in this process, its screen in the dump's byte order.
std::vector<uint8_t> inProcessScreen(const platform::HeadlessOptions& options) {
  const platform::HeadlessResult result = platform::runHeadless({options, "", ""});
  EXPECT_EQ(result.exitCode, 0) << result.error;
  std::vector<uint8_t> bytes;
  for (uint16_t pixel : result.screen) bytes.insert(bytes.end(), {uint8_t(pixel & 0xFF), uint8_t(pixel >> 8)});
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

TEST(QbzviewCommandLine, TheDumpAndTheScreenshotHoldTheScreenOfTheLastFrameAsRunInProcess) {
  const fs::path sample = binaryDirectory() / "assets" / "sample.qbz";
  ASSERT_TRUE(fs::exists(sample)) << "the build packs the sample";
  const fs::path png = fs::temp_directory_path() / "qbzview_cli.png";
  const fs::path events = fs::temp_directory_path() / "qbzview_cli.events";
  std::ofstream(events) << "# turn left for a while\n3 keydown 0x25\n9 keyup 0x25\n";
  const std::vector<uint8_t> dumped = dumpedScreen(
      "qbzview", "--device direct --frames 12 --events " + events.string() + " --screenshot " + png.string() + " " +
                     sample.string());
  EXPECT_EQ(dumped.size(), 153600u);
  const std::vector<uint8_t> picture = readFile(png);
  ASSERT_GT(picture.size(), 8u);
  EXPECT_EQ(std::string(picture.begin() + 1, picture.begin() + 4), "PNG");
  EXPECT_EQ(inProcessScreen({.device = platform::DeviceClass::Generic, .frameLimit = 12,
                             .events = {{3, platform::kMessageKeyDown, 0x25, 0}, {9, platform::kMessageKeyUp, 0x25, 0}},
                             .standaloneFile = sample.string(), .moduleFile = "/nonexistent/viewer"}),
            dumped);

  // A self-contained viewer finds the panorama in its own file.
  const fs::path viewer = binaryDirectory() / "bin" / "qbzview-sample";
  ASSERT_TRUE(fs::exists(viewer)) << "the build packs the self-contained sample viewer";
  const std::vector<uint8_t> selfContained = dumpedScreen("qbzview-sample", "--frames 8 /nonexistent/panorama.qbz");
  EXPECT_EQ(inProcessScreen({.frameLimit = 8, .events = {}, .standaloneFile = "/nonexistent/panorama.qbz",
                             .moduleFile = viewer.string()}),
            selfContained);
}

}  // namespace
