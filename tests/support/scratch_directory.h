// A fresh empty directory under the system's temporary directory, removed
// with everything in it when the object goes.
#pragma once

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

struct ScratchDirectory {
  // Named at random and made only if new: two test processes never share one,
  // even where every process has the same id (WebAssembly under node).
  std::filesystem::path root = [] {
    std::random_device random;
    for (;;) {
      char name[32];
      std::snprintf(name, sizeof name, "qbz_test_%08x%08x", static_cast<unsigned>(random()),
                    static_cast<unsigned>(random()));
      const std::filesystem::path directory = std::filesystem::temp_directory_path() / name;
      if (std::filesystem::create_directory(directory)) return directory;
    }
  }();
  ~ScratchDirectory() { std::error_code ignored; std::filesystem::remove_all(root, ignored); }
  std::string path(const std::string& name) const { return (root / name).string(); }
  // Names of every entry, to show that no partial or temporary file stays.
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root)) names.push_back(entry.path().filename().string());
    return names;
  }
};
