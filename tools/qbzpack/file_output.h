// The tool's files on disk. Output goes through the platform's atomic writer
// (platform/atomic_file.h): it appears whole or not at all.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "qbzpack/image.h"

namespace qbzpack {

// Throws ToolError naming the path when it cannot be written. Writes that
// take a noticeable time show a progress line.
void writeOutputFile(const std::string& path, const std::vector<uint8_t>& bytes,
                     platform::FileMode mode = platform::FileMode::Plain);

// The six faces of a panorama appear together or not at all (throws
// ToolError naming what failed and leaves directory as it was).
void writeFilesTogether(const std::string& directory, uint32_t count,
                        const std::function<platform::NamedFile(uint32_t)>& make);

// The picture as an 8-bit RGB PNG.
std::vector<uint8_t> pngBytes(const RgbImage& picture);

// The whole file; throws ToolError when it cannot be read or exceeds maxBytes.
std::vector<uint8_t> readWholeFile(const std::string& path, uint64_t maxBytes);

}  // namespace qbzpack
