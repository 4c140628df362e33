// Pictures and scratch directories for the qbzpack tests, written with the
// libraries directly so the tool's own readers are tested against them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "qbzpack/image.h"

namespace qbzpack_test {

// A fresh empty directory, removed when the object goes.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  std::string path(const std::string& name) const { return (root_ / name).string(); }
  // Names of every entry, to show that no partial or temporary file stays.
  std::vector<std::string> entries() const;

 private:
  std::filesystem::path root_;
};

// 8-bit RGB PNG through the tool's own encoder.
void writeRgbPng(const std::string& path, const qbzpack::RgbImage& picture);
// PNGs of other formats through libpng's simplified writer; format is a
// PNG_FORMAT_* value and samples hold 1 or 2 bytes each as that format says.
void writePngFormat(const std::string& path, uint32_t width, uint32_t height, uint32_t format,
                    const void* samples, const void* colourMap = nullptr, uint32_t colourCount = 0);
// Baseline JPEG, RGB (components 3) or grey (1), quality 95.
void writeJpeg(const std::string& path, uint32_t width, uint32_t height, int components,
               const std::vector<uint8_t>& samples);

std::vector<uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

qbzpack::RgbImage flatPicture(uint32_t width, uint32_t height, qbzpack::Rgb colour);

// Runs the command line in-process; stderr is captured into errorOutput.
int runTool(const std::vector<std::string>& arguments, std::string* errorOutput = nullptr);

}  // namespace qbzpack_test
