// Hostile but well-formed inputs fail with their own error inside a memory
// and CPU ceiling (set in a child process); output does not depend on the
// number of threads; extracted faces appear all together or not at all.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <zlib.h>

#include <fstream>

#include "qbzpack/cube_faces.h"
#include "qbzpack/inspect_commands.h"
#include "qbzpack/tool_error.h"
#include "test_files.h"

using namespace qbzpack;
using qbzpack_test::ScratchDirectory;
using qbzpack_test::Arguments;
using qbzpack_test::operator+;
using qbzpack_test::hollowJpeg;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr rlim_t kMemoryMargin = rlim_t{512} << 20;  // the sanitizer's allocator takes memory in large pieces
#else
constexpr rlim_t kMemoryMargin = rlim_t{64} << 20;
#endif

struct ChildRun {
  int status;  // exit status, or minus the signal that ended the child
  std::string errors;
};

// Runs the command line in a child with at most kMemoryMargin more address
// space than it starts with, 2 s of CPU, and files of at most fileLimit bytes.
ChildRun runLimited(const ScratchDirectory& dir, const Arguments& arguments, rlim_t fileLimit = RLIM_INFINITY) {
  const std::string log = dir.path("child.log");
  const pid_t child = fork();
  if (child == 0) {
    const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, STDERR_FILENO);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlimit memory{static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + kMemoryMargin, RLIM_INFINITY};
    const rlimit cpu{2, 2}, files{fileLimit, fileLimit};
    signal(SIGXFSZ, SIG_IGN);  // an over-long file is then a failed write, as on a full disk
    setrlimit(RLIMIT_AS, &memory);
    setrlimit(RLIMIT_CPU, &cpu);
    setrlimit(RLIMIT_FSIZE, &files);
    std::vector<const char*> argv{"qbzpack"};
    for (const std::string& a : arguments) argv.push_back(a.c_str());
    _exit(runQbzpack(static_cast<int>(argv.size()), argv.data()));
  }
  int status = 0;
  waitpid(child, &status, 0);
  std::ifstream in(log);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status),
          std::string(std::istreambuf_iterator<char>(in), {})};
}

// A real 16 x 8 PNG whose header declares width x height: the data is a few bytes only.
std::vector<uint8_t> hollowPng(uint32_t width, uint32_t height) {
  std::vector<uint8_t> png = pngBytes(qbzpack_test::flatPicture(16, 8, {}));
  for (int k = 0; k < 4; ++k) png[16 + k] = uint8_t(width >> (24 - 8 * k)), png[20 + k] = uint8_t(height >> (24 - 8 * k));
  const auto crc = static_cast<uint32_t>(crc32(0, png.data() + 12, 17));  // over "IHDR" and its 13 bytes
  for (int k = 0; k < 4; ++k) png[29 + k] = uint8_t(crc >> (24 - 8 * k));
  return png;
}

// The height x height square of a 2:1 picture from column left on.
RgbImage squareOf(const RgbImage& wide, uint32_t left) {
  RgbImage square(wide.height, wide.height);
  for (uint32_t y = 0; y < wide.height; ++y) std::copy_n(wide.at(left, y), wide.height * 3, square.at(0, y));
  return square;
}

Arguments sixFaces(const ScratchDirectory& dir, const std::string& picture) {
  return qbzpack_test::faceArguments([&](const std::string&) { return dir.path(picture); });
}

}  // namespace

TEST(Resources, HostileHeadersFailWithinBoundedMemoryAndTime) {
  ScratchDirectory dir;
  qbzpack_test::writeBytes(dir.path("square.png"), hollowPng(16384, 16384));
  qbzpack_test::writeBytes(dir.path("wide.png"), hollowPng(16384, 8192));
  qbzpack_test::writeBytes(dir.path("square.jpg"), hollowJpeg(16384, 16384));
  qbzpack_test::writeBytes(dir.path("wide.jpg"), hollowJpeg(16384, 8192));
  qbzpack_test::writePng(dir.path("pano.png"), qbzpack_test::flatPicture(64, 32, {}));
  qbzpack_test::writeBytes(dir.path("viewer"), std::vector<uint8_t>(100, 0));
  const Arguments out = {"-o", dir.path("out")};
  const Arguments viewer = {"pack", dir.path("pano.png"), "--face-size", "32", "--viewer", dir.path("viewer")};
  // Arguments, exit status, the error wanted. Each picture would take 0.4 to 5 GB decoded whole.
  const std::tuple<Arguments, int, std::string> cases[] = {
      {Arguments{"pack", dir.path("square.png")}, kExitFailure, "twice as wide"},
      {Arguments{"pack", dir.path("square.jpg")}, kExitFailure, "twice as wide"},
      {Arguments{"pack", dir.path("wide.png")}, kExitFailure, "truncated PNG"},
      {Arguments{"pack", dir.path("wide.jpg")}, kExitFailure, "JPEG"},
      {viewer + Arguments{"--overlay1", dir.path("square.png")}, kExitFailure, "the screen is only 240 x 320"},
      {viewer + Arguments{"--overlay2", dir.path("square.jpg")}, kExitFailure, "the screen is only 240 x 320"},
      {Arguments{"pack"} + sixFaces(dir, "square.png"), kExitUsage, "2048"},
      {Arguments{"pack", "--face-size", "2048"} + sixFaces(dir, "square.jpg"), kExitFailure, "JPEG"},
      {Arguments{"pack", "--face-size", "2048"} + sixFaces(dir, "square.png"), kExitFailure, "truncated PNG"}};
  for (const auto& [arguments, status, wanted] : cases) {
    const ChildRun run = runLimited(dir, arguments + out);
    EXPECT_EQ(run.status, status) << run.errors;
    EXPECT_NE(run.errors.find(wanted), std::string::npos) << "wanted '" << wanted << "' in: " << run.errors;
    EXPECT_FALSE(std::filesystem::exists(dir.path("out")));
  }
}

TEST(Resources, OutputIsTheSameWhateverTheThreadCount) {
  ScratchDirectory dir;
  qbzpack_test::writePng(dir.path("pano.png"), qbzpack_test::directionPanorama(100));
  // Large enough for the store to be deflated in two pieces.
  const Arguments equirect = {"pack", dir.path("pano.png"), "--face-size", "320", "--tile-size", "64", "--allow-holes"};
  qbzpack_test::writePng(dir.path("square.png"), squareOf(qbzpack_test::directionPanorama(96), 30));
  const Arguments faces = Arguments{"pack", "--face-size", "64", "--allow-holes"} + sixFaces(dir, "square.png");  // resampled
  for (const Arguments& command : {equirect, faces}) {
    std::vector<std::vector<uint8_t>> outputs;
    for (const std::string threads : {"1", "2", "5"}) {
      std::string errors;
      ASSERT_EQ(qbzpack_test::runTool(command + Arguments{"--threads", threads, "-o", dir.path("out.qbz")}, &errors),
                kExitOk) << errors;
      outputs.push_back(qbzpack_test::readBytes(dir.path("out.qbz")));
    }
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_EQ(outputs[0], outputs[2]);
  }
  // Compressed harder, the pixels read back are the same.
  const ParsedContainer usual = readPanoramaFile(dir.path("out.qbz"));
  ASSERT_EQ(qbzpack_test::runTool(faces + Arguments{"--best", "-o", dir.path("best.qbz")}), kExitOk);
  const ParsedContainer best = readPanoramaFile(dir.path("best.qbz"));
  ASSERT_TRUE(usual.storeLoaded && best.storeLoaded);
  ASSERT_EQ(best.pixelCount, usual.pixelCount);
  EXPECT_TRUE(std::equal(best.pixels.get(), best.pixels.get() + best.pixelCount, usual.pixels.get()));
  // A small, smooth store may deflate to the same size at both levels.
  EXPECT_LE(best.header->compressedSize, usual.header->compressedSize);
}

TEST(Resources, ResampledFacesAverageLikeTheEquirectangularPath) {
  // Half the size: each face pixel is the rounded mean of its 2 x 2 source block.
  const RgbImage square = squareOf(qbzpack_test::directionPanorama(32), 16);
  Progress progress("test", 1);
  const RgbImage half = resampleFace(RowPicture::fromImage(square), 16, progress);
  for (uint32_t y = 0; y < 16; ++y) {
    for (uint32_t x = 0; x < 16; ++x) {
      for (int c = 0; c < 3; ++c) {
        const int sum = square.at(2 * x, 2 * y)[c] + square.at(2 * x + 1, 2 * y)[c] + square.at(2 * x, 2 * y + 1)[c] +
                        square.at(2 * x + 1, 2 * y + 1)[c];
        ASSERT_EQ(half.at(x, y)[c], (sum + 2) / 4) << x << "," << y;
      }
    }
  }
}

TEST(Resources, ExtractOntoAFullDiskLeavesNoFace) {
  ScratchDirectory dir;
  // Five flat faces and one of noise, whose PNG alone is larger than the file limit.
  RgbImage noise(64, 64);
  uint32_t seed = 1;
  for (uint8_t& sample : noise.samples) sample = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
  const Arguments faces = qbzpack_test::faceArguments([&](const std::string& name) {
    qbzpack_test::writePng(dir.path(name + ".png"), name == "left" ? noise : qbzpack_test::flatPicture(64, 64, {}));
    return dir.path(name + ".png");
  });
  ASSERT_EQ(qbzpack_test::runTool(Arguments{"pack", "--no-dither", "--allow-holes", "-o", dir.path("noisy.qbz")} + faces), kExitOk);
  std::filesystem::create_directory(dir.path("faces"));
  std::ofstream(dir.path("faces/notes.txt")) << "kept";
  const ChildRun run = runLimited(dir, {"extract", dir.path("noisy.qbz"), dir.path("faces")}, 4096);
  EXPECT_EQ(run.status, kExitFailure) << run.errors;
  EXPECT_NE(run.errors.find("cannot write"), std::string::npos) << run.errors;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path("faces")), {}), 1);  // notes.txt alone
  // With room, all six appear.
  EXPECT_EQ(runLimited(dir, {"extract", dir.path("noisy.qbz"), dir.path("faces")}).status, kExitOk);
  EXPECT_TRUE(std::filesystem::exists(dir.path("faces/down.png")));
}
