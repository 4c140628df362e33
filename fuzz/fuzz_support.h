// Shared by the fuzz targets: a scratch directory of this process, a headless
// backend whose executable and stand-alone panorama are one scratch file, and
// a reader that takes fixed-size values from the front of an input.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/headless/headless_backend.h"

namespace fuzz {

// A directory of its own under the temporary directory, made once.
inline const std::filesystem::path& scratchDirectory() {
  static const std::filesystem::path path = [] {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("qbz_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
  }();
  return path;
}

inline std::string scratchFile(const std::string& name) { return (scratchDirectory() / name).string(); }

inline bool writeFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary);
  return out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size)).flush().good();
}

// The file scratchFile(name) as both the executable and "\Temp\Test.QBZ", installed once.
inline const std::string& fileBackend(const std::string& name) {
  static const std::string path = scratchFile(name);
  static const std::unique_ptr<platform::HeadlessBackend> backend = [] {
    platform::HeadlessOptions options;
    options.moduleFile = options.standaloneFile = path;
    auto made = std::make_unique<platform::HeadlessBackend>(options);
    platform::installBackend(made.get());
    return made;
  }();
  return path;
}

struct Reader {
  const uint8_t* data;
  size_t size;
  uint8_t byte() { return size == 0 ? 0 : (--size, *data++); }
  uint16_t u16() { return static_cast<uint16_t>(byte() | byte() << 8); }
  uint32_t u32() { return static_cast<uint32_t>(u16()) | static_cast<uint32_t>(u16()) << 16; }
  // Up to count bytes.
  std::string_view take(size_t count) {
    if (count > size) count = size;
    const std::string_view part(reinterpret_cast<const char*>(data), count);
    data += count, size -= count;
    return part;
  }
};

}  // namespace fuzz
