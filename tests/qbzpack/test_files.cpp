#include "test_files.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <jpeglib.h>

#include "qbzpack/cli.h"
#include "qbzpack/file_output.h"
#include "qbzpack/png_output.h"

namespace qbzpack_test {

ScratchDirectory::ScratchDirectory() {
  static int counter = 0;
  root_ = std::filesystem::temp_directory_path() /
          ("qbzpack_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
  std::filesystem::remove_all(root_);
  std::filesystem::create_directories(root_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::vector<std::string> ScratchDirectory::entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(root_)) names.push_back(entry.path().filename());
  return names;
}

void writeRgbPng(const std::string& path, const qbzpack::RgbImage& picture) {
  writeBytes(path, qbzpack::encodePng(picture));
}

void writePngFormat(const std::string& path, uint32_t width, uint32_t height, uint32_t format, const void* samples,
                    const void* colourMap, uint32_t colourCount) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  image.colormap_entries = colourCount;
  ASSERT_NE(png_image_write_to_file(&image, path.c_str(), 0, samples, 0, colourMap), 0) << image.message;
}

void writeJpeg(const std::string& path, uint32_t width, uint32_t height, int components,
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

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

qbzpack::RgbImage flatPicture(uint32_t width, uint32_t height, qbzpack::Rgb colour) {
  qbzpack::RgbImage picture(width, height);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) qbzpack::setPixel(picture, x, y, colour);
  }
  return picture;
}

int runTool(const std::vector<std::string>& arguments, std::string* errorOutput) {
  std::vector<const char*> argv{"qbzpack"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  testing::internal::CaptureStderr();
  const int code = qbzpack::runQbzpack(static_cast<int>(argv.size()), argv.data());
  const std::string captured = testing::internal::GetCapturedStderr();
  if (errorOutput) *errorOutput = captured;
  return code;
}

}  // namespace qbzpack_test
