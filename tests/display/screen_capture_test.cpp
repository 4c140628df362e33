#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/emulated_display.h"
#include "platform/screen_capture.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// Raw screens are little-endian; PNG widens each channel by bit replication;
// failures leave no file behind.
TEST(ScreenCapture, RawAndPngFilesAndFailuresLeaveNothing) {
  const ScratchDirectory scratch;
  const fs::path& directory = scratch.root;
  std::vector<uint16_t> screen = {0xFFFF, 0x9E37, 0x07E0, 0x001F, 0x0821, 0x8410};
  screen.resize(platform::kScreenPixels);
  ASSERT_TRUE(platform::writeRawScreen((directory / "s.raw").string(), screen));
  ASSERT_TRUE(platform::writePngScreen((directory / "s.png").string(), screen));
  EXPECT_FALSE(platform::writeRawScreen((directory / "short.raw").string(), std::vector<uint16_t>(100)));
  EXPECT_FALSE(platform::writeRawScreen((directory / "missing/s.raw").string(), screen));
  EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator{}), 2);

  std::ifstream in(directory / "s.raw", std::ios::binary);
  const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(raw.size() == 153600 && raw.substr(2, 2) == "\x37\x9E");

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_file(&image, (directory / "s.png").string().c_str()), 0);
  EXPECT_TRUE(image.width == 240 && image.height == 320);
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0);
  const std::vector<uint8_t> expected = {255, 255, 255, 156, 199, 189, 0, 255, 0, 0, 0, 255, 8, 4, 8, 132, 130, 132};
  EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.begin() + 18), expected);
}

}  // namespace
