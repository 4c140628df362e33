// The command line end to end: exit codes, one-line errors, and no output
// file (not even a temporary one) after a failure.

#include "qbzpack/tool_error.h"
#include "test_files.h"

using namespace qbzpack;
using namespace qbzpack_test;

namespace {

// Each run fails with its status, exactly one line naming the problem, and
// no file left behind. "@name" stands for a file in the scratch directory.
void expectRefusals(const ScratchDirectory& dir, const std::vector<std::tuple<Arguments, int, std::string>>& cases) {
  for (const auto& [arguments, status, wanted] : cases) {
    Arguments resolved;
    for (const std::string& a : arguments) resolved.push_back(a.starts_with('@') ? dir.path(a.substr(1)) : a);
    const std::vector<std::string> before = dir.entries();
    std::string errors;
    EXPECT_EQ(qbzpack_test::runTool(resolved, &errors), status) << errors;
    EXPECT_TRUE(errors.starts_with("qbzpack: ") && std::count(errors.begin(), errors.end(), '\n') == 1) << errors;
    EXPECT_NE(errors.find(wanted), std::string::npos) << "wanted '" << wanted << "' in: " << errors;
    EXPECT_EQ(dir.entries(), before) << "a file was left behind by: " << errors;
  }
}

Arguments facesOf(const ScratchDirectory& dir, uint32_t size, uint32_t leftWidth, uint32_t leftHeight = 0) {
  return Arguments{"pack", "-o", "@out.qbz", "--allow-holes"} + qbzpack_test::faceArguments([&](const std::string& name) {
    const bool left = name == "left";
    writePng(dir.path(name + ".png"), flatPicture(left ? leftWidth : size, left && leftHeight ? leftHeight : size, {}));
    return "@" + name + ".png";
  });
}

}  // namespace

TEST(CommandLine, BadArgumentsExitWithTwo) {
  ScratchDirectory dir;
  writePng(dir.path("pano.png"), flatPicture(64, 32, {90, 80, 70}));
  writePng(dir.path("logo.png"), flatPicture(2, 3, {}));
  const Arguments pack = {"pack", "x.png", "-o", "@o.qbz"};
  const Arguments viewer = {"pack", "@pano.png", "--face-size", "16", "--tile-size", "8", "--allow-holes",
                            "--viewer", "@pano.png", "-o", "@v"};
  expectRefusals(dir, {
      {{}, kExitUsage, "subcommand"}, {{"pack", "--bogus"}, kExitUsage, "--bogus"}, {{"pack", "x.png"}, kExitUsage, "-o"},
      {pack + Arguments{"--front", "f.png"}, kExitUsage, "either one"},
      {{"pack", "--front", "f.png", "-o", "@o.qbz"}, kExitUsage, "--right face is missing"},
      {pack + Arguments{"--tile-size", "24"}, kExitUsage, "power of two"},
      {pack + Arguments{"--face-size", "4096"}, kExitUsage, "2048"}, {pack + Arguments{"--face-size", "500"}, kExitUsage, "tiles"},
      {pack + Arguments{"--face-size", "2048", "--tile-size", "2"}, kExitUsage, "--tile-size 8"},
      {pack + Arguments{"--draw-mode", "4"}, kExitUsage, "draw mode"}, {pack + Arguments{"--caption", "hi"}, kExitUsage, "need --viewer"},
      // Settings of a self-contained viewer, checked before any output.
      {viewer + Arguments{"--pitch", "91"}, kExitUsage, "--pitch"}, {viewer + Arguments{"--zoom", "5000"}, kExitUsage, "--zoom"},
      {viewer + Arguments{"--pitch-min", "20", "--pitch-max", "10"}, kExitUsage, "--pitch-min"},
      {viewer + Arguments{"--pitch", "50", "--pitch-max", "40"}, kExitUsage, "--pitch"},
      {viewer + Arguments{"--zoom-min", "300"}, kExitUsage, "--zoom-min"},  // above the default max
      {viewer + Arguments{"--zoom", "100"}, kExitUsage, "--zoom"},  // below the default min
      {viewer + Arguments{"--banner", std::string(100, 'b')}, kExitUsage, "99"},
      // Texts that would not show whole in the viewer's font and text routine.
      {viewer + Arguments{"--banner", std::string(30, 'W')}, kExitUsage,
       "is 480 pixels wide in the viewer's font but the screen is 240: the first 15 characters fit"},
      {viewer + Arguments{"--caption", "Husband Hill", "--caption-x", "150"}, kExitUsage,
       "from x 150 there are 90: the first 8 characters fit there"},
      {viewer + Arguments{"--caption", "Mars", "--caption-y", "310"}, kExitUsage, "y 0..308 shows it whole"},
      {viewer + Arguments{"--banner", "left|right"}, kExitUsage, "only \"left\" would show"},
      // Geometry that leaves holes in some views, with what would work instead.
      {{"pack", "@pano.png", "--face-size", "256", "-o", "@o.qbz"}, kExitUsage,
       "would show holes at zoom 130: tiles at the edge of the view come nearer than the viewer draws (depth 65); use "
       "--face-size 416 or more, --tile-size 2 or less, --zoom-min 342 or more with --viewer (or --allow-holes)"},
      {{"testcard", "--face-size", "512", "--tile-size", "128", "--viewer", "@pano.png", "-o", "@v"}, kExitUsage,
       "use --face-size 1024 or more, --tile-size 32 or less, --zoom-min 700 or more ("},
      {viewer + Arguments{"--banner-frames", "-1"}, kExitUsage, "--banner-frames"},
      {viewer + Arguments{"--caption-x", "240"}, kExitUsage, "--caption-x"},
      {viewer + Arguments{"--banner-colour", "orange"}, kExitUsage, "--banner-colour"},
      {viewer + Arguments{"--overlay1-x", "10"}, kExitUsage, "no picture"},
      {viewer + Arguments{"--overlay1", "@logo.png", "--overlay1-x", "239"}, kExitUsage, "fit"}});
}

TEST(CommandLine, BadInputAndUnwritableOutputExitWithOne) {
  ScratchDirectory dir;
  writePng(dir.path("pano.png"), flatPicture(64, 32, {90, 80, 70}));
  writePng(dir.path("tall.png"), flatPicture(1, 16385, {}));
  qbzpack_test::writeBytes(dir.path("notes.txt"), {'a', 'b', 'c'});
  const std::vector<uint8_t> png = qbzpack_test::readBytes(dir.path("pano.png"));
  const std::vector<uint8_t> jpeg = qbzpack_test::readBytes(qbzpack_test::fixture("colour.jpg"));
  for (const auto& [name, bytes, keep] : {std::tuple{"head.png", png, size_t{10}}, std::tuple{"cut.png", png, size_t{60}},
                                          std::tuple{"head.jpg", jpeg, size_t{40}}, std::tuple{"cut.jpg", jpeg, jpeg.size() - 2}}) {
    qbzpack_test::writeBytes(dir.path(name), std::vector<uint8_t>(bytes.begin(), bytes.begin() + keep));
  }
  qbzpack_test::writeBytes(dir.path("wide.jpg"), qbzpack_test::hollowJpeg(16385, 16));
  const auto packing = [](const std::string& name) { return Arguments{"pack", "@" + name, "-o", "@o.qbz"}; };
  const Arguments pano = {"pack", "@pano.png", "--face-size", "16", "--tile-size", "8", "--allow-holes"};
  // A picture not twice as wide as high: the hostile-header test in resource_test.cpp.
  expectRefusals(dir, {
      {packing("missing.png"), kExitFailure, "cannot open"}, {packing("notes.txt"), kExitFailure, "not a PNG or JPEG"},
      {packing("head.png"), kExitFailure, "not a readable PNG"}, {packing("cut.png"), kExitFailure, "truncated PNG"},
      {packing("tall.png"), kExitFailure, "IHDR"}, {packing("head.jpg"), kExitFailure, "not a readable JPEG"},
      {pano + Arguments{"-o", "@v", "--viewer", "@pano.png", "--overlay1", "@cut.jpg"}, kExitFailure, "truncated JPEG"},
      {packing("wide.jpg"), kExitFailure, "larger than"},
      {pano + Arguments{"-o", "@no/such/dir/out.qbz"}, kExitFailure, "cannot write"},
      {pano + Arguments{"-o", "@v", "--viewer", "@no-viewer"}, kExitFailure, "no-viewer"},
      {pano + Arguments{"--html", "@p.html", "--web-viewer", "@notes.txt"}, kExitFailure, "not the web build's qbzview.html"}});
  // Faces: one not square, one of another size, a size the viewer cannot take (each writes its own faces).
  for (const auto& [size, width, height, status, wanted] : {std::tuple{64u, 32u, 0u, kExitFailure, "square"},
       std::tuple{64u, 32u, 32u, kExitFailure, "same size"}, std::tuple{48u, 48u, 0u, kExitUsage, "whole number"}}) {
    expectRefusals(dir, {{facesOf(dir, size, width, height), status, wanted}});
  }
}
