// Pictures and scratch directories for the qbzpack tests, written with the
// libraries directly so the tool's own readers are tested against them.
#pragma once

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "qbzpack/cli.h"
#include "qbzpack/image.h"

namespace qbzpack_test {

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
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  image.colormap_entries = colourCount;
  ASSERT_NE(png_image_write_to_file(&image, path.c_str(), 0, samples, 0, colourMap), 0) << image.message;
}

inline void writePng(const std::string& path, const qbzpack::RgbImage& picture) {
  writePng(path, picture.width, picture.height, PNG_FORMAT_RGB, picture.samples.data());
}

// Baseline JPEG, RGB (components 3) or grey (1), quality 95.
inline void writeJpeg(const std::string& path, uint32_t width, uint32_t height, int components,
                      const std::vector<uint8_t>& samples) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + size_t{info.next_scanline} * width * components);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

inline qbzpack::RgbImage flatPicture(uint32_t width, uint32_t height, qbzpack::Rgb colour) {
  qbzpack::RgbImage picture(width, height);
  for (uint32_t i = 0; i < width * height; ++i) qbzpack::setPixel(picture, i % width, i / width, colour);
  return picture;
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
