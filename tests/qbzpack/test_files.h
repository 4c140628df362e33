// Pictures and scratch directories for the qbzpack tests. PNGs are written
// with libpng directly and the JPEGs are small files made with libjpeg, so
// the tool's own readers are tested against them.
#pragma once

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "qbzpack/cli.h"
#include "qbzpack/file_output.h"
#include "qbzpack/image.h"

namespace qbzpack_test {

// Beside this header: colour.jpg, 16 x 16 of (200, 60, 20); grey.jpg, 8 x 8 of 90.
inline std::string fixture(const std::string& name) { return QBZPACK_FIXTURES + name; }

// A fresh empty directory, removed when the object goes.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    char pattern[] = "/tmp/qbzpack_test_XXXXXX";
    root_ = mkdtemp(pattern);
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::string path(const std::string& name) const { return (root_ / name).string(); }
  // Names of every entry, to show that no partial or temporary file stays.
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root_)) names.push_back(entry.path().filename());
    return names;
  }

 private:
  std::filesystem::path root_;
};

// PNG through libpng's simplified writer; format is a PNG_FORMAT_* value.
inline void writePng(const std::string& path, uint32_t width, uint32_t height, uint32_t format, const void* samples,
                     const void* colourMap = nullptr, uint32_t colourCount = 0) {
  png_image image{.opaque = nullptr, .version = PNG_IMAGE_VERSION, .width = width, .height = height, .format = format,
                  .flags = 0, .colormap_entries = colourCount, .warning_or_error = 0, .message = {}};
  ASSERT_NE(png_image_write_to_file(&image, path.c_str(), 0, samples, 0, colourMap), 0) << image.message;
}

inline void writePng(const std::string& path, const qbzpack::RgbImage& picture) {
  writePng(path, picture.width, picture.height, PNG_FORMAT_RGB, picture.samples.data());
}

inline std::vector<uint8_t> readBytes(const std::string& path) { return qbzpack::readWholeFile(path, 1u << 30); }

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  qbzpack::writeFileAtomically(path, bytes, false);
}

inline qbzpack::RgbImage flatPicture(uint32_t width, uint32_t height, qbzpack::Rgb colour) {
  qbzpack::RgbImage picture(width, height);
  for (uint32_t i = 0; i < width * height; ++i) qbzpack::setPixel(picture, i % width, i / width, colour);
  return picture;
}

inline void expectNear(qbzpack::Rgb actual, qbzpack::Rgb expected, int tolerance, const std::string& where) {
  EXPECT_TRUE(std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
              std::abs(actual.b - expected.b) <= tolerance)
      << where << ": " << int(actual.r) << "," << int(actual.g) << "," << int(actual.b);
}

// Runs the command line in-process, capturing what it writes.
inline int runTool(const std::vector<std::string>& arguments, std::string* errors = nullptr,
                   std::string* output = nullptr) {
  std::vector<const char*> argv{"qbzpack"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  const int code = qbzpack::runQbzpack(static_cast<int>(argv.size()), argv.data());
  const std::string out = testing::internal::GetCapturedStdout(), err = testing::internal::GetCapturedStderr();
  if (errors) *errors = err;
  if (output) *output = out;
  return code;
}

}  // namespace qbzpack_test
