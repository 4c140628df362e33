// The qbzview command line as other programs rely on it: options, exit
// status, the one-line error, and the dumped screen of a headless run (the
// golden screens hold the screenshots).
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

#include "panorama/container_format.h"
#include "panorama/container_writer.h"
#include "platform/host/headless_host.h"
#include "support/scratch_directory.h"

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

// Runs bin/<program> with the arguments after the shell's ceilings, stdout discarded.
Outcome runCommand(const std::string& arguments, const std::string& program = "qbzview",
                   const std::string& ceilings = "") {
  const std::string command =
      "(" + ceilings + (binaryDirectory() / "bin" / program).string() + " " + arguments + ") 2>&1 >/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, "cannot run " + command};
  Outcome outcome{-1, {}};
  for (int c; (c = std::fgetc(pipe)) != EOF;) outcome.errors.push_back(static_cast<char>(c));
  const int raw = pclose(pipe);
  outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return outcome;
}

// The screen of a successful headless run of bin/<program>, as --dump-display wrote it.
std::vector<uint8_t> dumpedScreen(const std::string& program, const std::string& arguments) {
  const ScratchDirectory dir;
  const std::string dump = dir.path("screen.raw");
  const Outcome outcome = runCommand("--headless --dump-display " + dump + " " + arguments, program);
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  std::ifstream stream(dump, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
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
  for (const std::string bad : {"--frames x", "--no-such-option", "--device pocket"}) {
    EXPECT_EQ(runCommand("--headless " + bad).status, 2) << bad;
  }
  // A bad script is status 2 naming its line: the hostile-input test's over-long line.

  const Outcome missing = runCommand("--headless /nonexistent/panorama.qbz");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(std::count(missing.errors.begin(), missing.errors.end(), '\n'), 1) << missing.errors;
  EXPECT_NE(missing.errors.find("/nonexistent/panorama.qbz"), std::string::npos) << missing.errors;
  EXPECT_NE(missing.errors.find("qbzview"), std::string::npos) << "names the executable it looked in";
}

TEST(QbzviewCommandLine, TheDumpHoldsTheScreenOfTheLastFrameAsRunInProcess) {
  const fs::path sample = binaryDirectory() / "assets" / "sample.qbz";
  ASSERT_TRUE(fs::exists(sample)) << "the build packs the sample";
  const ScratchDirectory dir;
  const std::string events = dir.path("turn.events");
  std::ofstream(events) << "# turn left for a while\n3 keydown 0x25\n9 keyup 0x25\n";
  const std::vector<uint8_t> dumped = dumpedScreen(
      "qbzview", "--device direct --frames 12 --events " + events + " " + sample.string());
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

// Hostile but well-formed inputs, each run under a ceiling of address space
// and CPU time (set by the shell in the child, before qbzview starts), each
// ending with its own clear error. The sanitizer build reserves terabytes of
// shadow address space, so there only the time ceiling applies.
TEST(QbzviewCommandLine, HostileInputsEndWithTheirErrorWithinMemoryAndTimeCeilings) {
#if defined(__SANITIZE_ADDRESS__)
  const std::string ceilings = "ulimit -t 60; ";
#else
  const std::string ceilings = "ulimit -v 65536; ulimit -t 20; ";  // 64 MB, 20 s
#endif
  const ScratchDirectory scratch;
  const fs::path& dir = scratch.root;
  // 49 KB that declare 2048-pixel faces of 2-pixel tiles (a million tiles a face): 2048/8's store, relabelled.
  std::vector<uint8_t> fine = encodeContainer({2048, 8, 0, std::vector<uint16_t>(storePixelCount(2048, 8))}, true);
  ASSERT_FALSE(fine.empty());
  ContainerHeader header = decodeContainerHeader(fine.data());
  header.tileSize = 2;
  encodeContainerHeader(header, fine.data());
  std::ofstream(dir / "fine.qbz", std::ios::binary).write(reinterpret_cast<const char*>(fine.data()), fine.size());
  {
    std::ofstream line(dir / "line.events");
    line << "1 keydown 0x25 " << std::string(60 << 20, '9') << "\n";
    // 100 MB of valid events (over a million, so read frame by frame during the run).
    std::string many;
    for (int32_t frame = 1; many.size() < 100'000'000; ++frame) {
      many += std::to_string(frame) + " keydown 0x25\n" + std::to_string(frame) + " keyup 0x25\n";
    }
    std::ofstream(dir / "many.events") << many;
    std::ofstream(dir / "quit.events") << "3 keydown 0xC1\n";
  }
  const std::string sample = (binaryDirectory() / "assets" / "sample.qbz").string();
  const std::string events = "--headless --events " + (dir / "").string();
  // What, the arguments, the exit status and the one line on stderr.
  const struct { const char* what; std::string arguments; int status; const char* error; } cases[] = {
      {"2048/2 container", "--headless " + (dir / "fine.qbz").string(), 1, "not a QBZ container the viewer can load"},
      {"60 MB line", events + "line.events " + sample, 2, "line 1: longer than 4096 characters"},
      {"100 MB script", events + "many.events --frames 3 " + sample, 0, ""},
      {"quit never carried out", events + "quit.events --frames 0 " + sample, 3, "asked to quit in frame 3"},
      {"a directory as the script", "--headless --events " + dir.string() + " " + sample, 2, "is a directory"},
  };
  for (const auto& c : cases) {
    const auto [status, errors] = runCommand(c.arguments, "qbzview", ceilings);
    EXPECT_EQ(status, c.status) << c.what << ": " << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), c.status == 0 ? 0 : 1) << c.what << ": " << errors;
    EXPECT_NE(errors.find(c.error), std::string::npos) << c.what << ": " << errors;
  }
}

}  // namespace
