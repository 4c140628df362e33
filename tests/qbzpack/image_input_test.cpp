// PNG and JPEG input: every format becomes RGB, transparency meets the
// background, and bad files are refused with a message instead of a crash.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>

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

void appendChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(data.size() >> (8 * i)));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  const uint32_t crc = static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())));
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(crc >> (8 * i)));
}

// A PNG that claims the given size but holds no pixel data to speak of.
std::vector<uint8_t> pngClaiming(uint32_t width, uint32_t height) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  for (uint32_t v : {width, height}) {
    for (int i = 3; i >= 0; --i) header.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  header.insert(header.end(), {8, 2, 0, 0, 0});
  appendChunk(out, "IHDR", header);
  appendChunk(out, "IEND", {});
  return out;
}

}  // namespace

TEST(ImageInput, EveryPngFormatBecomesRgb) {
  ScratchDirectory dir;
  const uint8_t grey[4] = {0, 85, 170, 255};
  qbzpack_test::writePngFormat(dir.path("grey.png"), 2, 2, PNG_FORMAT_GRAY, grey);
  RgbImage picture = loadPicture(dir.path("grey.png"), {});
  ASSERT_EQ(picture.width, 2u);
  EXPECT_EQ(pixelAt(picture, 1, 0), (Rgb{85, 85, 85}));
  EXPECT_EQ(pixelAt(picture, 1, 1), (Rgb{255, 255, 255}));

  const uint16_t deep[6] = {65535, 0, 0, 0, 65535, 0};  // 16-bit linear red, green
  qbzpack_test::writePngFormat(dir.path("deep.png"), 2, 1, PNG_FORMAT_LINEAR_RGB, deep);
  picture = loadPicture(dir.path("deep.png"), {});
  EXPECT_EQ(pixelAt(picture, 0, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(pixelAt(picture, 1, 0), (Rgb{0, 255, 0}));

  const uint8_t map[3 * 3] = {10, 20, 30, 200, 100, 50, 1, 2, 3};
  const uint8_t indices[3] = {1, 0, 2};
  qbzpack_test::writePngFormat(dir.path("palette.png"), 3, 1, PNG_FORMAT_RGB_COLORMAP, indices, map, 3);
  picture = loadPicture(dir.path("palette.png"), {});
  EXPECT_EQ(pixelAt(picture, 0, 0), (Rgb{200, 100, 50}));
  EXPECT_EQ(pixelAt(picture, 1, 0), (Rgb{10, 20, 30}));
  EXPECT_EQ(pixelAt(picture, 2, 0), (Rgb{1, 2, 3}));
}

TEST(ImageInput, TransparencyIsCompositedOverTheBackground) {
  ScratchDirectory dir;
  const uint8_t rgba[4 * 3] = {255, 0, 0, 255, 255, 0, 0, 0, 255, 255, 255, 128};
  qbzpack_test::writePngFormat(dir.path("alpha.png"), 3, 1, PNG_FORMAT_RGBA, rgba);
  const RgbImage picture = loadPicture(dir.path("alpha.png"), {0, 0, 200});
  EXPECT_EQ(pixelAt(picture, 0, 0), (Rgb{255, 0, 0}));  // opaque stays
  EXPECT_EQ(pixelAt(picture, 1, 0), (Rgb{0, 0, 200}));  // clear shows the background
  const Rgb half = pixelAt(picture, 2, 0);
  EXPECT_NEAR(half.r, 128, 1);
  EXPECT_NEAR(half.b, 228, 1);

  const uint8_t greyAlpha[2 * 2] = {100, 0, 100, 255};
  qbzpack_test::writePngFormat(dir.path("ga.png"), 2, 1, PNG_FORMAT_GA, greyAlpha);
  const RgbImage grey = loadPicture(dir.path("ga.png"), {9, 8, 7});
  EXPECT_EQ(pixelAt(grey, 0, 0), (Rgb{9, 8, 7}));
  EXPECT_EQ(pixelAt(grey, 1, 0), (Rgb{100, 100, 100}));
}

TEST(ImageInput, JpegColourAndGrey) {
  ScratchDirectory dir;
  std::vector<uint8_t> colour(16 * 16 * 3);
  for (size_t i = 0; i < colour.size(); i += 3) colour[i] = 200, colour[i + 1] = 60, colour[i + 2] = 20;
  qbzpack_test::writeJpeg(dir.path("colour.jpg"), 16, 16, 3, colour);
  RgbImage picture = loadPicture(dir.path("colour.jpg"), {});
  ASSERT_EQ(picture.width, 16u);
  ASSERT_EQ(picture.height, 16u);
  const Rgb c = pixelAt(picture, 7, 7);
  EXPECT_NEAR(c.r, 200, 4);
  EXPECT_NEAR(c.g, 60, 4);
  EXPECT_NEAR(c.b, 20, 4);

  qbzpack_test::writeJpeg(dir.path("grey.jpg"), 8, 8, 1, std::vector<uint8_t>(64, 90));
  picture = loadPicture(dir.path("grey.jpg"), {});
  const Rgb g = pixelAt(picture, 3, 3);
  EXPECT_NEAR(g.r, 90, 2);
  EXPECT_EQ(g.r, g.g);
  EXPECT_EQ(g.g, g.b);
}

TEST(ImageInput, BadFilesAreRefusedWithTheirName) {
  ScratchDirectory dir;
  EXPECT_NE(errorOf(dir.path("missing.png")).find("cannot open"), std::string::npos);

  qbzpack_test::writeBytes(dir.path("text.png"), {'h', 'e', 'l', 'l', 'o'});
  EXPECT_NE(errorOf(dir.path("text.png")).find("not a PNG or JPEG"), std::string::npos);
  qbzpack_test::writeBytes(dir.path("empty.png"), {});
  EXPECT_NE(errorOf(dir.path("empty.png")).find("not a PNG or JPEG"), std::string::npos);

  // A good PNG and JPEG cut short at several points.
  std::vector<uint8_t> rgb(64 * 64 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 7);
  qbzpack_test::writePngFormat(dir.path("whole.png"), 64, 64, PNG_FORMAT_RGB, rgb.data());
  qbzpack_test::writeJpeg(dir.path("whole.jpg"), 64, 64, 3, rgb);
  for (const char* name : {"whole.png", "whole.jpg"}) {
    const std::vector<uint8_t> whole = qbzpack_test::readBytes(dir.path(name));
    for (size_t keep : {size_t{10}, size_t{40}, whole.size() / 2, whole.size() - 20}) {
      const std::string cut = dir.path(std::string("cut_") + name);
      qbzpack_test::writeBytes(cut, std::vector<uint8_t>(whole.begin(), whole.begin() + keep));
      const std::string message = errorOf(cut);
      EXPECT_NE(message.find(cut), std::string::npos) << name << " cut at " << keep << ": " << message;
    }
    // Damage in the middle of the data.
    std::vector<uint8_t> damaged = whole;
    for (size_t i = whole.size() / 2; i < whole.size() / 2 + 64; ++i) damaged[i] ^= 0x5A;
    qbzpack_test::writeBytes(dir.path(std::string("bad_") + name), damaged);
    EXPECT_NE(errorOf(dir.path(std::string("bad_") + name)), "") << name;
  }
}

TEST(ImageInput, OversizedPicturesAreRefusedBeforeAllocating) {
  ScratchDirectory dir;
  qbzpack_test::writeBytes(dir.path("huge.png"), pngClaiming(20000, 20000));
  EXPECT_NE(errorOf(dir.path("huge.png")), "");
  qbzpack_test::writeBytes(dir.path("tall.png"), pngClaiming(16, 16385));
  EXPECT_NE(errorOf(dir.path("tall.png")).find("IHDR"), std::string::npos) << errorOf(dir.path("tall.png"));
  // Within the limits, the same file fails later, for its missing pixel data.
  qbzpack_test::writeBytes(dir.path("small.png"), pngClaiming(16, 16));
  EXPECT_EQ(errorOf(dir.path("small.png")).find("IHDR"), std::string::npos) << errorOf(dir.path("small.png"));
  EXPECT_NE(errorOf(dir.path("small.png")), "");

  std::vector<uint8_t> wide(16385 * 3, 50);
  qbzpack_test::writeJpeg(dir.path("wide.jpg"), 16385, 1, 3, wide);
  EXPECT_NE(errorOf(dir.path("wide.jpg")).find("larger than"), std::string::npos);
}
