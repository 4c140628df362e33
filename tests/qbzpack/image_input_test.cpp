// PNG and JPEG input: every format becomes RGB, transparency meets the
// background, and bad files are refused with a message instead of a crash.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include "qbzpack/image_input.h"
#include "qbzpack/tool_error.h"
#include "test_files.h"

using namespace qbzpack;
using qbzpack_test::ScratchDirectory;

namespace {

std::string errorOf(const std::string& path) {
  try {
    loadPicture(path, {});
  } catch (const ToolError& error) {
    return error.what();
  }
  return "";
}

// A PNG that claims an RGB picture of the given size but holds no pixel data.
std::vector<uint8_t> pngClaiming(uint32_t width, uint32_t height) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
  std::vector<uint8_t> chunk = {'I', 'H', 'D', 'R'};
  for (uint32_t v : {width, height}) chunk.insert(chunk.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
  chunk.insert(chunk.end(), {8, 2, 0, 0, 0});
  const uint32_t crc = static_cast<uint32_t>(crc32(0, chunk.data(), static_cast<uInt>(chunk.size())));
  chunk.insert(chunk.end(), {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
  out.insert(out.end(), chunk.begin(), chunk.end());
  out.insert(out.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
  return out;
}

}  // namespace

TEST(ImageInput, EveryFormatBecomesRgbOverTheBackground) {
  ScratchDirectory dir;
  const uint8_t grey[2] = {85, 255};
  const uint16_t deep[3] = {0, 65535, 0};  // 16-bit linear green
  const uint8_t map[6] = {10, 20, 30, 200, 100, 50}, indices[2] = {1, 0};
  const uint8_t rgba[8] = {255, 0, 0, 0, 255, 255, 255, 128};
  const uint8_t greyAlpha[4] = {100, 0, 100, 255};
  qbzpack_test::writePng(dir.path("grey.png"), 2, 1, PNG_FORMAT_GRAY, grey);
  qbzpack_test::writePng(dir.path("deep.png"), 1, 1, PNG_FORMAT_LINEAR_RGB, deep);
  qbzpack_test::writePng(dir.path("palette.png"), 2, 1, PNG_FORMAT_RGB_COLORMAP, indices, map, 2);
  qbzpack_test::writePng(dir.path("alpha.png"), 2, 1, PNG_FORMAT_RGBA, rgba);
  qbzpack_test::writePng(dir.path("ga.png"), 2, 1, PNG_FORMAT_GA, greyAlpha);
  std::vector<uint8_t> colour(16 * 16 * 3);
  for (size_t i = 0; i < colour.size(); i += 3) colour[i] = 200, colour[i + 1] = 60, colour[i + 2] = 20;
  qbzpack_test::writeJpeg(dir.path("colour.jpg"), 16, 16, 3, colour);
  qbzpack_test::writeJpeg(dir.path("grey.jpg"), 8, 8, 1, std::vector<uint8_t>(64, 90));
  const struct {
    const char* name;
    uint32_t x;
    Rgb wanted;
    int tolerance;
  } cases[] = {{"grey.png", 0, {85, 85, 85}, 0},       {"grey.png", 1, {255, 255, 255}, 0},
               {"deep.png", 0, {0, 255, 0}, 0},        {"palette.png", 0, {200, 100, 50}, 0},
               {"palette.png", 1, {10, 20, 30}, 0},    {"alpha.png", 0, {0, 0, 200}, 0},  // clear shows the background
               {"alpha.png", 1, {128, 128, 228}, 1},   {"ga.png", 0, {0, 0, 200}, 0},
               {"ga.png", 1, {100, 100, 100}, 0},      {"colour.jpg", 7, {200, 60, 20}, 4},
               {"grey.jpg", 3, {90, 90, 90}, 2}};
  for (const auto& c : cases) {
    const RgbImage picture = loadPicture(dir.path(c.name), {0, 0, 200});
    const Rgb got = pixelAt(picture, c.x, 0);
    EXPECT_TRUE(std::abs(got.r - c.wanted.r) <= c.tolerance && std::abs(got.g - c.wanted.g) <= c.tolerance &&
                std::abs(got.b - c.wanted.b) <= c.tolerance)
        << c.name << " " << c.x << ": " << int(got.r) << "," << int(got.g) << "," << int(got.b);
  }
}

TEST(ImageInput, BadFilesAreRefusedWithTheirNameBeforeAllocating) {
  ScratchDirectory dir;
  EXPECT_NE(errorOf(dir.path("missing.png")).find("cannot open"), std::string::npos);
  qbzpack_test::writeBytes(dir.path("text.png"), {'h', 'e', 'l', 'l', 'o'});
  EXPECT_NE(errorOf(dir.path("text.png")).find("not a PNG or JPEG"), std::string::npos);
  qbzpack_test::writeBytes(dir.path("empty.png"), {});
  EXPECT_NE(errorOf(dir.path("empty.png")).find("not a PNG or JPEG"), std::string::npos);

  // A good PNG and JPEG cut short at several points, and damaged in the middle.
  std::vector<uint8_t> rgb(64 * 64 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 7);
  qbzpack_test::writePng(dir.path("whole.png"), 64, 64, PNG_FORMAT_RGB, rgb.data());
  qbzpack_test::writeJpeg(dir.path("whole.jpg"), 64, 64, 3, rgb);
  for (const std::string name : {"whole.png", "whole.jpg"}) {
    const std::vector<uint8_t> whole = qbzpack_test::readBytes(dir.path(name));
    for (size_t keep : {size_t{10}, size_t{40}, whole.size() / 2, whole.size() - 20}) {
      qbzpack_test::writeBytes(dir.path("cut_" + name), std::vector<uint8_t>(whole.begin(), whole.begin() + keep));
      EXPECT_NE(errorOf(dir.path("cut_" + name)).find(dir.path("cut_" + name)), std::string::npos) << name << keep;
    }
    std::vector<uint8_t> damaged = whole;
    for (size_t i = whole.size() / 2; i < whole.size() / 2 + 64; ++i) damaged[i] ^= 0x5A;
    qbzpack_test::writeBytes(dir.path("bad_" + name), damaged);
    EXPECT_NE(errorOf(dir.path("bad_" + name)), "") << name;
  }
  // Claimed sizes beyond the limits fail on the header; within them, later.
  qbzpack_test::writeBytes(dir.path("huge.png"), pngClaiming(20000, 20000));
  EXPECT_NE(errorOf(dir.path("huge.png")), "");
  qbzpack_test::writeBytes(dir.path("tall.png"), pngClaiming(16, 16385));
  EXPECT_NE(errorOf(dir.path("tall.png")).find("IHDR"), std::string::npos) << errorOf(dir.path("tall.png"));
  qbzpack_test::writeBytes(dir.path("small.png"), pngClaiming(16, 16));
  EXPECT_EQ(errorOf(dir.path("small.png")).find("IHDR"), std::string::npos) << errorOf(dir.path("small.png"));
  EXPECT_NE(errorOf(dir.path("small.png")), "");
  qbzpack_test::writeJpeg(dir.path("wide.jpg"), 16385, 1, 3, std::vector<uint8_t>(16385 * 3, 50));
  EXPECT_NE(errorOf(dir.path("wide.jpg")).find("larger than"), std::string::npos);
}
