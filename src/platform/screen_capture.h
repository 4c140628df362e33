// Writing a 240 x 320 portrait screen of 5-6-5 pixels to a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/atomic_file.h"

namespace platform {

// Both written atomically (platform/atomic_file.h).
// 320 rows of 240 pixels, top row first, each 16-bit little-endian (153600 bytes).
FileWrite writeRawScreen(const std::string& path, const std::vector<uint16_t>& screen);
// 8-bit RGB PNG; each 5- or 6-bit channel widened by bit replication.
FileWrite writePngScreen(const std::string& path, const std::vector<uint16_t>& screen);
// FNV-1a over the raw form: the golden-screen hash.
uint64_t screenHash(const std::vector<uint16_t>& screen);

}  // namespace platform
