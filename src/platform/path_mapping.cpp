#include "platform/path_mapping.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

// Handheld paths ignore case, as its file system does.
bool sameHandheldPath(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string runningExecutablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

std::string hostTempDirectory() {
  std::error_code error;
  const std::filesystem::path directory = std::filesystem::temp_directory_path(error);
  return error ? std::string("/tmp") : directory.string();
}

std::string standaloneHostPath(const std::string& standaloneFile) {
  if (!standaloneFile.empty()) return standaloneFile;
  return (std::filesystem::path(hostTempDirectory()) / "Test.QBZ").string();
}

std::string mapHandheldPath(const std::string& handheldPath, const std::string& standaloneFile) {
  if (sameHandheldPath(handheldPath, kStandaloneHandheldPath)) return standaloneHostPath(standaloneFile);
  const std::string tempPrefix = "\\Temp\\";
  if (handheldPath.size() > tempPrefix.size() &&
      sameHandheldPath(handheldPath.substr(0, tempPrefix.size()), tempPrefix)) {
    std::string rest = handheldPath.substr(tempPrefix.size());
    std::replace(rest.begin(), rest.end(), '\\', '/');
    if (rest.find("..") != std::string::npos) return std::string();
    return (std::filesystem::path(hostTempDirectory()) / rest).string();
  }
  return std::string();
}

}  // namespace platform
