// The command line end to end: exit codes, one-line errors, and no output
// file (not even a temporary one) after a failure.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "qbzpack/image.h"
#include "qbzpack/tool_error.h"
#include "test_files.h"

using namespace qbzpack;
using qbzpack_test::runTool;
using qbzpack_test::ScratchDirectory;

namespace {

// A failing run: status, exactly one line naming the problem, no output.
void expectRefused(const ScratchDirectory& dir, const std::vector<std::string>& arguments, int status,
                   const std::string& wanted) {
  const std::vector<std::string> before = dir.entries();
  std::string errors;
  EXPECT_EQ(runTool(arguments, &errors), status) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
  EXPECT_EQ(errors.rfind("qbzpack: ", 0), 0u) << errors;
  EXPECT_NE(errors.find(wanted), std::string::npos) << "wanted '" << wanted << "' in: " << errors;
  EXPECT_EQ(dir.entries(), before) << "a file was left behind by: " << errors;
}

struct FaceFiles {
  std::vector<std::string> arguments;
};

FaceFiles writeFaces(const ScratchDirectory& dir, uint32_t size) {
  FaceFiles files;
  const char* names[6] = {"front", "right", "back", "left", "up", "down"};
  for (int face = 0; face < 6; ++face) {
    const std::string path = dir.path(std::string(names[face]) + ".png");
    qbzpack_test::writeRgbPng(path, qbzpack_test::flatPicture(size, size, {uint8_t(face * 40), 100, 200}));
    files.arguments.push_back(std::string("--") + names[face]);
    files.arguments.push_back(path);
  }
  return files;
}

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(CommandLine, UsageErrorsExitWithTwo) {
  ScratchDirectory dir;
  expectRefused(dir, {}, kExitUsage, "subcommand");
  expectRefused(dir, {"pack", "--bogus"}, kExitUsage, "--bogus");
  expectRefused(dir, {"pack", "-o", dir.path("out.qbz")}, kExitUsage, "either one");
  expectRefused(dir, {"pack", "x.png"}, kExitUsage, "-o");
  expectRefused(dir, {"pack", "x.png", "--front", "f.png", "-o", dir.path("o.qbz")}, kExitUsage, "either one");
  expectRefused(dir, {"pack", "--front", "f.png", "--back", "b.png", "-o", dir.path("o.qbz")}, kExitUsage,
                "--right face is missing");
  expectRefused(dir, {"pack", "x.png", "-o", dir.path("o.qbz"), "--tile-size", "24"}, kExitUsage, "power of two");
  expectRefused(dir, {"pack", "x.png", "-o", dir.path("o.qbz"), "--tile-size", "256"}, kExitUsage, "power of two");
  expectRefused(dir, {"pack", "x.png", "-o", dir.path("o.qbz"), "--tile-size", "1"}, kExitUsage, "power of two");
  expectRefused(dir, {"pack", "x.png", "-o", dir.path("o.qbz"), "--face-size", "4096"}, kExitUsage, "2048");
  expectRefused(dir, {"pack", "x.png", "-o", dir.path("o.qbz"), "--face-size", "16"}, kExitUsage, "between");
  expectRefused(dir, {"pack", "x.png", "-o", dir.path("o.qbz"), "--face-size", "500"}, kExitUsage, "tiles");
  expectRefused(dir, {"pack", "x.png", "-o", dir.path("o.qbz"), "--draw-mode", "4"}, kExitUsage, "draw mode");
  expectRefused(dir, {"pack", "x.png", "-o", dir.path("o.qbz"), "--background", "blue"}, kExitUsage, "--background");
  expectRefused(dir, {"pack", "x.png", "-o", dir.path("o.qbz"), "--caption", "hi"}, kExitUsage, "need --viewer");
  expectRefused(dir, {"pack", "x.png", "-o", dir.path("o.qbz"), "--yaw", "10"}, kExitUsage, "need --viewer");
  expectRefused(dir, {"testcard"}, kExitUsage, "-o FILE");
  expectRefused(dir, {"testcard", "--faces", dir.path("f"), "--banner", "x"}, kExitUsage, "need -o");
  expectRefused(dir, {"info"}, kExitUsage, "FILE");

  std::string errors;
  testing::internal::CaptureStdout();
  EXPECT_EQ(runTool({"pack", "--help"}, &errors), kExitOk);
  const std::string help = testing::internal::GetCapturedStdout();
  for (const char* wanted : {"512u = 90 degrees", "Exit status: 0", "000000", "--viewer", "--overlay2-y"}) {
    EXPECT_NE(help.find(wanted), std::string::npos) << wanted;
  }
}

TEST(CommandLine, BadPicturesExitWithOne) {
  ScratchDirectory dir;
  const std::string out = dir.path("out.qbz");
  qbzpack_test::writeRgbPng(dir.path("square.png"), qbzpack_test::flatPicture(64, 64, {1, 2, 3}));
  expectRefused(dir, {"pack", dir.path("square.png"), "-o", out}, kExitFailure, "twice as wide");
  expectRefused(dir, {"pack", dir.path("missing.png"), "-o", out}, kExitFailure, "cannot open");
  qbzpack_test::writeBytes(dir.path("notes.txt"), {'a', 'b', 'c'});
  expectRefused(dir, {"pack", dir.path("notes.txt"), "-o", out}, kExitFailure, "not a PNG or JPEG");
  const std::vector<uint8_t> whole = qbzpack_test::readBytes(dir.path("square.png"));
  qbzpack_test::writeBytes(dir.path("cut.png"), std::vector<uint8_t>(whole.begin(), whole.begin() + 60));
  expectRefused(dir, {"pack", dir.path("cut.png"), "-o", out}, kExitFailure, "cut.png");

  // Faces: one not square, one of another size, a face size that disagrees.
  FaceFiles faces = writeFaces(dir, 64);
  qbzpack_test::writeRgbPng(dir.path("left.png"), qbzpack_test::flatPicture(64, 32, {}));
  expectRefused(dir, join({"pack", "-o", out}, faces.arguments), kExitFailure, "square");
  qbzpack_test::writeRgbPng(dir.path("left.png"), qbzpack_test::flatPicture(32, 32, {}));
  expectRefused(dir, join({"pack", "-o", out}, faces.arguments), kExitFailure, "same size");
  faces = writeFaces(dir, 64);
  expectRefused(dir, join({"pack", "-o", out, "--face-size", "128"}, faces.arguments), kExitFailure, "--face-size");
  // Faces whose own size the viewer cannot take.
  faces = writeFaces(dir, 48);
  expectRefused(dir, join({"pack", "-o", out}, faces.arguments), kExitUsage, "whole number");
}

TEST(CommandLine, UnwritableOutputLeavesNothing) {
  ScratchDirectory dir;
  qbzpack_test::writeRgbPng(dir.path("pano.png"), qbzpack_test::flatPicture(64, 32, {90, 80, 70}));
  expectRefused(dir, {"pack", dir.path("pano.png"), "--face-size", "16", "--tile-size", "8", "-o",
                      dir.path("no/such/dir/out.qbz")},
                kExitFailure, "cannot write");
  expectRefused(dir, {"pack", dir.path("pano.png"), "--face-size", "16", "--tile-size", "8", "-o", dir.path("")},
                kExitFailure, "cannot write");
  // A directory in the way of the output name.
  std::filesystem::create_directory(dir.path("taken"));
  expectRefused(dir, {"pack", dir.path("pano.png"), "--face-size", "16", "--tile-size", "8", "-o", dir.path("taken")},
                kExitFailure, "cannot write");
}

TEST(CommandLine, SelfContainedViewerCarriesTheViewerAndTrailer) {
  ScratchDirectory dir;
  qbzpack_test::writeRgbPng(dir.path("pano.png"), qbzpack_test::flatPicture(64, 32, {90, 80, 70}));
  const std::vector<uint8_t> viewer = {0x7F, 'E', 'L', 'F', 1, 2, 3, 4, 5};
  qbzpack_test::writeBytes(dir.path("viewer"), viewer);
  const std::string out = dir.path("panorama-viewer");

  // Settings errors, including the overlay, come before any output.
  qbzpack_test::writeRgbPng(dir.path("big.png"), qbzpack_test::flatPicture(300, 20, {}));
  const std::vector<std::string> base = {"pack", dir.path("pano.png"), "--face-size", "16", "--tile-size", "8",
                                         "--viewer", dir.path("viewer"), "-o", out};
  expectRefused(dir, join(base, {"--overlay1", dir.path("big.png")}), kExitFailure, "screen");
  expectRefused(dir, join(base, {"--banner", std::string(100, 'b')}), kExitUsage, "99");
  expectRefused(dir, join(base, {"--zoom", "5000"}), kExitUsage, "--zoom");
  expectRefused(dir, {"pack", dir.path("pano.png"), "--face-size", "16", "--tile-size", "8", "--viewer",
                      dir.path("no-viewer"), "-o", out},
                kExitFailure, "no-viewer");

  std::string errors;
  ASSERT_EQ(runTool(join(base, {"--yaw", "90", "--caption", "Hill", "--banner", "web"}), &errors), kExitOk) << errors;
  const std::vector<uint8_t> bytes = qbzpack_test::readBytes(out);
  ASSERT_GT(bytes.size(), viewer.size() + 28 + 108);
  EXPECT_TRUE(std::equal(viewer.begin(), viewer.end(), bytes.begin()));
  EXPECT_EQ(std::memcmp(bytes.data() + viewer.size(), "QBZP", 4), 0);
  EXPECT_EQ(std::memcmp(bytes.data() + bytes.size() - 4, "AQBZ", 4), 0);
  const uint8_t* trailer = bytes.data() + bytes.size() - 108;
  auto field = [trailer](int offset) {
    return uint32_t(trailer[offset]) | uint32_t(trailer[offset + 1]) << 8 | uint32_t(trailer[offset + 2]) << 16 |
           uint32_t(trailer[offset + 3]) << 24;
  };
  EXPECT_EQ(field(8), viewer.size());  // containerOffset
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + field(12))), "web");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + field(16))), "Hill");
  EXPECT_EQ(field(52), 512u);    // initialYaw
  EXPECT_EQ(field(28), 0xFC81u);  // bannerColour
  EXPECT_EQ(field(100), 108u);
  struct stat info {};
  ASSERT_EQ(stat(out.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0755u);

  // Stand-alone containers are plain files.
  ASSERT_EQ(runTool({"pack", dir.path("pano.png"), "--face-size", "16", "--tile-size", "8", "-o", dir.path("p.qbz")}),
            kExitOk);
  ASSERT_EQ(stat(dir.path("p.qbz").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}
