// Packing and reading back through the viewer's own loader: extract gives
// the packed indices again, and info judges files as the viewer does.
#include <gtest/gtest.h>

#include "qbzpack/colour_index.h"
#include "qbzpack/container_reading.h"
#include "qbzpack/image_input.h"
#include "qbzpack/tool_error.h"
#include "test_files.h"

using namespace qbzpack;
using qbzpack_test::runTool;
using qbzpack_test::ScratchDirectory;

namespace {

const char* const kNames[6] = {"front", "right", "back", "left", "up", "down"};

void expectSamePictures(const std::string& first, const std::string& second) {
  for (const char* name : kNames) {
    const RgbImage a = loadPicture(first + "/" + name + ".png", {});
    const RgbImage b = loadPicture(second + "/" + name + ".png", {});
    EXPECT_EQ(a.width, b.width) << name;
    EXPECT_TRUE(a.samples == b.samples) << name;
  }
}

std::string infoOf(const std::string& path, int* status) {
  testing::internal::CaptureStdout();
  *status = runTool({"info", path});
  return testing::internal::GetCapturedStdout();
}

// A smooth equirectangular picture with enough detail to make dithering work.
void writePanorama(const std::string& path) {
  RgbImage picture(128, 64);
  for (uint32_t y = 0; y < 64; ++y) {
    for (uint32_t x = 0; x < 128; ++x) {
      setPixel(picture, x, y, {uint8_t(x * 2), uint8_t(y * 3 + 10), uint8_t((x * y) % 251)});
    }
  }
  qbzpack_test::writeRgbPng(path, picture);
}

}  // namespace

TEST(RoundTrip, TestCardComesBackUnchanged) {
  ScratchDirectory dir;
  for (const char* storage : {"--raw", "--no-dither"}) {  // raw, then compressed
    const std::string out = dir.path(std::string("card") + storage + ".qbz");
    ASSERT_EQ(runTool({"testcard", "--face-size", "64", "--tile-size", "8", "--faces", dir.path("drawn"), "-o", out,
                       storage}),
              kExitOk);
    ASSERT_EQ(runTool({"extract", out, dir.path("extracted")}), kExitOk);
    expectSamePictures(dir.path("drawn"), dir.path("extracted"));
    const LoadedPanorama loaded = readPanoramaFile(out);
    ASSERT_TRUE(loaded.loaded);
    EXPECT_EQ(loaded.header->compressedSize == 0, std::string(storage) == "--raw");
  }
}

TEST(RoundTrip, ExtractedFacesRepackToTheSameIndices) {
  ScratchDirectory dir;
  writePanorama(dir.path("pano.png"));
  ASSERT_EQ(runTool({"pack", dir.path("pano.png"), "--face-size", "32", "--tile-size", "4", "-o", dir.path("a.qbz")}),
            kExitOk);
  ASSERT_EQ(runTool({"extract", dir.path("a.qbz"), dir.path("faces")}), kExitOk);
  std::vector<std::string> repack = {"pack", "--no-dither", "--tile-size", "16", "-o", dir.path("b.qbz")};
  for (const char* name : kNames) {
    repack.push_back(std::string("--") + name);
    repack.push_back(dir.path("faces") + "/" + name + ".png");
  }
  std::string errors;
  ASSERT_EQ(runTool(repack, &errors), kExitOk) << errors;

  const LoadedPanorama a = readPanoramaFile(dir.path("a.qbz"));
  const LoadedPanorama b = readPanoramaFile(dir.path("b.qbz"));
  ASSERT_TRUE(a.loaded);
  ASSERT_TRUE(b.loaded);
  EXPECT_EQ(a.header->faceSize, 32u);
  EXPECT_EQ(b.header->tileSize, 16u);
  // The tile sizes differ, so the stores are ordered differently; the faces agree.
  ASSERT_EQ(runTool({"extract", dir.path("b.qbz"), dir.path("again")}), kExitOk);
  expectSamePictures(dir.path("faces"), dir.path("again"));
  for (uint16_t index : a.pixels) EXPECT_EQ(index & 1, 0);
}

TEST(RoundTrip, SelfContainedViewerLoadsWithItsSettings) {
  ScratchDirectory dir;
  writePanorama(dir.path("pano.png"));
  qbzpack_test::writeBytes(dir.path("viewer"), std::vector<uint8_t>(1000, 0x90));
  qbzpack_test::writeRgbPng(dir.path("logo.png"), qbzpack_test::flatPicture(20, 10, {255, 255, 255}));
  const std::string out = dir.path("viewer-with-panorama");
  std::string errors;
  ASSERT_EQ(runTool({"pack", dir.path("pano.png"), "--face-size", "32", "--tile-size", "8", "--viewer",
                     dir.path("viewer"), "-o", out, "--yaw", "1327u", "--pitch", "-10", "--zoom", "200", "--zoom-min",
                     "75", "--zoom-max", "350", "--banner", "example.org", "--banner-frames", "80", "--caption",
                     "Husband Hill", "--caption-colour", "FFFFFF", "--overlay1", dir.path("logo.png"), "--overlay1-x",
                     "5", "--overlay1-y", "7"},
                    &errors),
            kExitOk)
      << errors;
  const LoadedPanorama p = readPanoramaFile(out);
  ASSERT_TRUE(p.loaded);
  EXPECT_TRUE(p.hasTrailer);
  EXPECT_EQ(p.trailer->containerOffset, 1000u);
  EXPECT_EQ(p.settings.initialYaw, 1327);
  EXPECT_EQ(p.settings.initialPitch, -57);
  EXPECT_EQ(p.settings.initialZoom, 200u);
  EXPECT_EQ(p.settings.zoomMin, 75u);
  EXPECT_EQ(p.settings.zoomMax, 350u);
  EXPECT_EQ(p.settings.bannerFrames, 80);
  EXPECT_EQ(p.settings.captionColour, 0xFFFF);
  EXPECT_EQ(p.banner, "example.org");
  EXPECT_EQ(p.caption, "Husband Hill");
  EXPECT_EQ(p.settings.overlay1Width, 20u);
  EXPECT_EQ(p.settings.overlay1Height, 10u);
  EXPECT_EQ(p.overlay1Pixels, 200u);
  EXPECT_EQ(p.overlay2Pixels, 0u);

  int status = -1;
  const std::string info = infoOf(out, &status);
  EXPECT_EQ(status, kExitOk);
  for (const char* wanted : {"self-contained viewer", "1327u", "\"Husband Hill\"", "75 to 350", "viewer loads:   yes",
                             "20 x 10 at (5, 7)"}) {
    EXPECT_NE(info.find(wanted), std::string::npos) << wanted << " in\n" << info;
  }
  // Its faces extract like those of a stand-alone container.
  EXPECT_EQ(runTool({"extract", out, dir.path("faces")}), kExitOk);
}

TEST(RoundTrip, InfoAndExtractJudgeFilesAsTheViewerDoes) {
  ScratchDirectory dir;
  ASSERT_EQ(runTool({"testcard", "--face-size", "32", "--tile-size", "8", "-o", dir.path("card.qbz")}), kExitOk);
  int status = -1;
  std::string info = infoOf(dir.path("card.qbz"), &status);
  EXPECT_EQ(status, kExitOk);
  for (const char* wanted : {"stand-alone container", "32 pixels, tiles of 8", "4 x 4 tiles per face",
                             "viewer loads:   yes"}) {
    EXPECT_NE(info.find(wanted), std::string::npos) << wanted << " in\n" << info;
  }

  // Cut short, wrong magic, empty: the viewer refuses, and so do info and extract.
  const std::vector<uint8_t> whole = qbzpack_test::readBytes(dir.path("card.qbz"));
  qbzpack_test::writeBytes(dir.path("short.qbz"), std::vector<uint8_t>(whole.begin(), whole.end() - 10));
  std::vector<uint8_t> wrong = whole;
  wrong[0] = 'X';
  qbzpack_test::writeBytes(dir.path("wrong.qbz"), wrong);
  qbzpack_test::writeBytes(dir.path("empty.qbz"), {});
  std::vector<uint8_t> cutTrailer = {1, 2, 3, 'A', 'Q', 'B', 'Z'};
  qbzpack_test::writeBytes(dir.path("trailer.qbz"), cutTrailer);
  for (const char* name : {"short.qbz", "wrong.qbz", "empty.qbz", "trailer.qbz"}) {
    info = infoOf(dir.path(name), &status);
    EXPECT_EQ(status, kExitFailure) << name;
    EXPECT_NE(info.find("viewer loads:   no"), std::string::npos) << name << "\n" << info;
    std::string errors;
    EXPECT_EQ(runTool({"extract", dir.path(name), dir.path(std::string("out_") + name)}, &errors), kExitFailure);
    EXPECT_NE(errors.find("would not load"), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(dir.path(std::string("out_") + name)));
  }
  // A header with a tile size the viewer cannot take says why.
  std::vector<uint8_t> odd(whole.begin(), whole.begin() + 28);
  odd[16] = 3;
  qbzpack_test::writeBytes(dir.path("odd.qbz"), odd);
  info = infoOf(dir.path("odd.qbz"), &status);
  EXPECT_EQ(status, kExitFailure);
  EXPECT_NE(info.find("tiles of 3"), std::string::npos) << info;
  EXPECT_NE(info.find("no (it needs a power-of-two tile size"), std::string::npos) << info;
  EXPECT_NE(infoOf(dir.path("wrong.qbz"), &status).find("no (no QBZP magic)"), std::string::npos);

  std::string errors;
  EXPECT_EQ(runTool({"info", dir.path("missing.qbz")}, &errors), kExitFailure);
  EXPECT_NE(errors.find("cannot open"), std::string::npos);
}

TEST(RoundTrip, SmallestAndOddGeometriesPack) {
  ScratchDirectory dir;
  // One 2-pixel tile per face of one flat colour deflates below the 18
  // scrambled bytes a compressed stream needs, so it is stored raw.
  qbzpack_test::writeRgbPng(dir.path("flat.png"), qbzpack_test::flatPicture(16, 8, {103, 103, 103}));
  ASSERT_EQ(runTool({"pack", dir.path("flat.png"), "--face-size", "2", "--tile-size", "2", "-o", dir.path("tiny.qbz")}),
            kExitOk);
  LoadedPanorama p = readPanoramaFile(dir.path("tiny.qbz"));
  ASSERT_TRUE(p.loaded);
  EXPECT_EQ(p.header->compressedSize, 0u);
  EXPECT_EQ(p.pixels.size(), 24u);
  for (uint16_t index : p.pixels) EXPECT_EQ(index, storedIndexOf({103, 103, 103}));

  // An odd number of tiles per side is fine for the viewer.
  ASSERT_EQ(runTool({"testcard", "--face-size", "96", "--tile-size", "32", "-o", dir.path("odd.qbz")}), kExitOk);
  p = readPanoramaFile(dir.path("odd.qbz"));
  ASSERT_TRUE(p.loaded);
  EXPECT_EQ(p.tilesPerSide, 3u);
  EXPECT_NE(p.header->compressedSize, 0u);
}
