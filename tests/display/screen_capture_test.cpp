#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/emulated_display.h"
#include "platform/screen_capture.h"

namespace {

namespace fs = std::filesystem;

class ScreenCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() / ("qbz_capture_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }
  std::string pathOf(const char* name) const { return (directory_ / name).string(); }
  size_t fileCount() const { return static_cast<size_t>(std::distance(fs::directory_iterator(directory_), fs::directory_iterator{})); }

  fs::path directory_;
};

std::vector<uint16_t> patternScreen() {
  std::vector<uint16_t> screen(platform::kScreenPixels);
  for (size_t i = 0; i < screen.size(); ++i) screen[i] = static_cast<uint16_t>(i * 40503u);
  return screen;
}

TEST_F(ScreenCapture, RawScreenIsLittleEndianAndFailuresLeaveNothing) {
  ASSERT_TRUE(platform::writeRawScreen(pathOf("screen.raw"), patternScreen()));
  std::ifstream in(pathOf("screen.raw"), std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(bytes.size(), 153600u);
  EXPECT_EQ(bytes[2], 0x37);  // pixel 1 is 40503 = 0x9E37
  EXPECT_EQ(bytes[3], 0x9E);
  EXPECT_EQ(fileCount(), 1u);  // no temporary file left beside it

  EXPECT_FALSE(platform::writeRawScreen(pathOf("short.raw"), std::vector<uint16_t>(100)));
  EXPECT_FALSE(platform::writePngScreen(pathOf("long.png"), std::vector<uint16_t>(76801)));
  EXPECT_FALSE(platform::writeRawScreen(pathOf("missing/screen.raw"), patternScreen()));
  EXPECT_FALSE(platform::writePngScreen(pathOf("missing/screen.png"), patternScreen()));
  EXPECT_EQ(fileCount(), 1u);
}

TEST_F(ScreenCapture, PngWidensEachChannelByBitReplication) {
  std::vector<uint16_t> screen(platform::kScreenPixels, 0);
  const std::vector<uint16_t> first = {0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0821, 0x8410};
  std::copy(first.begin(), first.end(), screen.begin());
  screen.back() = 0x7BEF;
  ASSERT_TRUE(platform::writePngScreen(pathOf("screen.png"), screen));
  EXPECT_EQ(fileCount(), 1u);

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_file(&image, pathOf("screen.png").c_str()), 0);
  EXPECT_EQ(image.width, 240u);
  EXPECT_EQ(image.height, 320u);
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0);
  const std::vector<uint8_t> expected = {255, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255, 8, 4, 8, 132, 130, 132};
  EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.begin() + 18), expected);
  EXPECT_EQ(std::vector<uint8_t>(rgb.end() - 3, rgb.end()), (std::vector<uint8_t>{123, 125, 123}));
}

TEST(ScreenHash, IsFnv1aOverTheRawBytes) {
  // Reference values computed independently over the 153600 raw bytes.
  EXPECT_EQ(platform::screenHash(std::vector<uint16_t>(platform::kScreenPixels, 0)), 0x1100fdb97cd50325ull);
  EXPECT_EQ(platform::screenHash(patternScreen()), 0x2b53029e8575e8e1ull);
}

}  // namespace
