// Host files named by UTF-8 paths. Every path in the platform layer is
// UTF-8; on a host whose file names are wide characters (Windows) they are
// converted here, so a path with any character opens the right file.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace platform {

std::filesystem::path hostFilePath(const std::string& utf8Path);
std::string utf8FilePath(const std::filesystem::path& path);
// std::fopen for a UTF-8 path.
std::FILE* openHostFile(const std::string& utf8Path, const char* mode);

}  // namespace platform
