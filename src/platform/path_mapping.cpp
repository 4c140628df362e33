#include "platform/path_mapping.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/host_file.h"

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
#ifdef _WIN32
  wchar_t path[32768];
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  if (length == 0 || length >= std::size(path)) return std::string();
  return utf8FilePath(std::filesystem::path(std::wstring(path, length)));
#else
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
#endif
}

std::string hostTempDirectory() {
  std::error_code error;
  const std::filesystem::path directory = std::filesystem::temp_directory_path(error);
  return error ? std::string("/tmp") : utf8FilePath(directory);
}

std::string standaloneHostPath(const std::string& standaloneFile) {
  if (!standaloneFile.empty()) return standaloneFile;
  return utf8FilePath(hostFilePath(hostTempDirectory()) / "Test.QBZ");
}

std::string mapHandheldPath(const std::string& handheldPath, const std::string& standaloneFile) {
  if (sameHandheldPath(handheldPath, kStandaloneHandheldPath)) return standaloneHostPath(standaloneFile);
  const std::string tempPrefix = "\\Temp\\";
  if (handheldPath.size() > tempPrefix.size() &&
      sameHandheldPath(handheldPath.substr(0, tempPrefix.size()), tempPrefix)) {
    std::string rest = handheldPath.substr(tempPrefix.size());
    std::replace(rest.begin(), rest.end(), '\\', '/');
    if (rest.find("..") != std::string::npos) return std::string();
    return utf8FilePath(hostFilePath(hostTempDirectory()) / hostFilePath(rest));
  }
  return std::string();
}

}  // namespace platform
