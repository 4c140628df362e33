// A fresh empty directory under the system's temporary directory, removed
// with everything in it when the object goes.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

struct ScratchDirectory {
  std::filesystem::path root = [] {
    static std::atomic<int> made{0};
    const std::filesystem::path directory = std::filesystem::temp_directory_path() /
                                            ("qbz_test_" + std::to_string(::getpid()) + "_" + std::to_string(made++));
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    return directory;
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
