// Pictures and scratch directories for the qbzpack tests. PNGs are written
// with libpng directly and the JPEGs are small files made with libjpeg, so
// the tool's own readers are tested against them.
#pragma once

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "qbzpack/cli.h"
#include "qbzpack/cube_geometry.h"
#include "qbzpack/file_output.h"
#include "qbzpack/image.h"
#include "support/scratch_directory.h"

namespace qbzpack_test {

// Beside this header: colour.jpg, 16 x 16 of (200, 60, 20); grey.jpg, 8 x 8 of 90.
inline std::string fixture(const std::string& name) { return QBZPACK_FIXTURES + name; }

using ::ScratchDirectory;

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
  qbzpack::writeOutputFile(path, bytes);
}

// The small JPEG fixture with its frame header declaring another size.
inline std::vector<uint8_t> hollowJpeg(uint32_t width, uint32_t height) {
  std::vector<uint8_t> jpeg = readBytes(fixture("colour.jpg"));
  const uint8_t frameMarker[] = {0xFF, 0xC0};
  const auto frame = std::search(jpeg.begin(), jpeg.end(), frameMarker, frameMarker + 2);
  frame[5] = static_cast<uint8_t>(height >> 8), frame[6] = static_cast<uint8_t>(height);
  frame[7] = static_cast<uint8_t>(width >> 8), frame[8] = static_cast<uint8_t>(width);
  return jpeg;
}

using Arguments = std::vector<std::string>;
inline Arguments operator+(Arguments a, const Arguments& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// "--front PATH --right PATH ..." with each face's path from pathOf(face name).
template <class PathOf>
Arguments faceArguments(PathOf pathOf) {
  Arguments arguments;
  for (const std::string name : qbzpack::kFaceNames) arguments.insert(arguments.end(), {"--" + name, pathOf(name)});
  return arguments;
}

inline qbzpack::RgbImage flatPicture(uint32_t width, uint32_t height, qbzpack::Rgb colour) {
  qbzpack::RgbImage picture(width, height);
  for (uint32_t i = 0; i < width * height; ++i) qbzpack::setPixel(picture, i % width, i / width, colour);
  return picture;
}

// Colour that encodes a direction: each channel maps one axis from -1..1 to 0..255.
inline qbzpack::Rgb directionColour(qbzpack::Vec3 d) {
  const double length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
  auto channel = [length](double v) { return static_cast<uint8_t>(std::lround(127.5 + 127.5 * v / length)); };
  return {channel(d.x), channel(d.y), channel(d.z)};
}

// Every pixel shows the colour of its own direction: column c is longitude
// from straight ahead (-z) towards the right (+x), row r latitude from the top.
inline qbzpack::RgbImage directionPanorama(uint32_t height) {
  qbzpack::RgbImage picture(2 * height, height);
  for (uint32_t i = 0; i < 2 * height * height; ++i) {
    const uint32_t c = i % (2 * height), r = i / (2 * height);
    const double latitude = std::numbers::pi / 2 - (r + 0.5) / height * std::numbers::pi;
    const double longitude = (c + 0.5) / height * std::numbers::pi - std::numbers::pi;
    qbzpack::setPixel(picture, c, r, directionColour({std::cos(latitude) * std::sin(longitude), std::sin(latitude),
                                             -std::cos(latitude) * std::cos(longitude)}));
  }
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
