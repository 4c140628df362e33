#include "platform/host_file.h"

namespace platform {

std::filesystem::path hostFilePath(const std::string& utf8Path) {
  return std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end()));
}

std::string utf8FilePath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::FILE* openHostFile(const std::string& utf8Path, const char* mode) {
#ifdef _WIN32
  // The narrow fopen takes the ANSI code page, which cannot name every file.
  const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(hostFilePath(utf8Path).c_str(), wideMode.c_str());
#else
  return std::fopen(utf8Path.c_str(), mode);
#endif
}

}  // namespace platform
