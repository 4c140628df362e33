#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/emulated_display.h"
#include "platform/png_writer.h"
#include "platform/screen_capture.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// Raw screens are little-endian (the PNG's colours are held by the golden
// screens); failures leave no file behind.
TEST(ScreenCapture, RawAndPngFilesAndFailuresLeaveNothing) {
  const ScratchDirectory scratch;
  const fs::path& directory = scratch.root;
  std::vector<uint16_t> screen = {0xFFFF, 0x9E37, 0x07E0, 0x001F, 0x0821, 0x8410};
  screen.resize(platform::kScreenPixels);
  ASSERT_TRUE(platform::writeRawScreen((directory / "s.raw").string(), screen));
  ASSERT_TRUE(platform::writePngScreen((directory / "s.png").string(), screen));
  EXPECT_FALSE(platform::writeRawScreen((directory / "short.raw").string(), std::vector<uint16_t>(100)));

  std::ifstream in(directory / "s.raw", std::ios::binary);
  const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(raw.size() == 153600 && raw.substr(2, 2) == "\x37\x9E");

}

// Pictures of flat runs, ramps and noise, read back by libpng in their own format.
TEST(PngWriter, GreyAndRgbPicturesReadBackByLibpng) {
  struct Case {
    platform::PngColour colour;
    uint32_t width, height;
    png_uint_32 format;
  };
  for (const Case& c : {Case{platform::PngColour::Grey, 1, 1, PNG_FORMAT_GRAY},
                        Case{platform::PngColour::Grey, 37, 300, PNG_FORMAT_GRAY},
                        Case{platform::PngColour::Rgb, 301, 7, PNG_FORMAT_RGB},
                        Case{platform::PngColour::Rgb, 512, 512, PNG_FORMAT_RGB}}) {
    const size_t channels = static_cast<size_t>(c.colour);
    std::vector<uint8_t> samples(c.width * c.height * channels);
    uint32_t noise = 12345;
    for (size_t i = 0; i < samples.size(); ++i) {
      const size_t x = i / channels % c.width, y = i / channels / c.width;
      noise = noise * 1103515245u + 12345u;
      samples[i] = static_cast<uint8_t>(y % 3 == 0 ? x * 7 + y : y % 3 == 1 ? (x / 16) * 40 : noise >> 24);
    }
    const std::vector<uint8_t> png = platform::encodePng(samples, c.width, c.height, c.colour);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_memory(&image, png.data(), png.size()), 0) << c.width;
    EXPECT_TRUE(image.width == c.width && image.height == c.height);
    image.format = c.format;
    std::vector<uint8_t> read(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, read.data(), 0, nullptr), 0) << image.message;
    EXPECT_EQ(read, samples) << c.width << " x " << c.height;
  }
  EXPECT_TRUE(platform::encodePng(std::vector<uint8_t>(5), 2, 1, platform::PngColour::Rgb).empty());
  EXPECT_TRUE(platform::encodePng({}, 0, 4, platform::PngColour::Grey).empty());
}

}  // namespace
