#include "qbzpack/file_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "qbzpack/progress.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

ToolError writeError(const std::string& path, int error) {
  return ToolError("cannot write " + path + " (" + std::strerror(error) + ")");
}

}  // namespace

void writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, bool executable) {
  std::filesystem::path target(path);
  if (target.filename().empty()) throw ToolError("cannot write " + path + " (not a file name)");
  std::string hidden = ".";
  hidden.append(target.filename().string()).append(".XXXXXX");
  std::string pattern = (target.parent_path() / hidden).string();
  const int fd = mkstemp(pattern.data());
  if (fd < 0) throw writeError(path, errno);

  int error = 0;
  size_t written = 0;
  constexpr size_t kPiece = size_t{1} << 20;
  // Only writes that take a noticeable time get a progress line.
  std::optional<Progress> progress;
  if (bytes.size() >= 16 * kPiece) progress.emplace("writing " + target.filename().string(), bytes.size() / kPiece);
  while (written < bytes.size() && error == 0) {
    const ssize_t n = ::write(fd, bytes.data() + written, std::min(kPiece, bytes.size() - written));
    if (n < 0 && errno != EINTR) error = errno;
    if (n > 0) written += static_cast<size_t>(n);
    if (n > 0 && progress) progress->advance();
  }
  if (error == 0 && fchmod(fd, executable ? 0755 : 0644) != 0) error = errno;
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(pattern.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(pattern.c_str());
    throw writeError(path, error);
  }
}

void writeFilesTogether(const std::string& directory, uint32_t count, const std::function<NamedFile(uint32_t)>& make) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::create_directories(directory, error);
  if (!fs::is_directory(directory)) {
    throw ToolError("cannot create the directory " + directory + (error ? " (" + error.message() + ")" : ""));
  }
  std::string pattern = (fs::path(directory) / ".qbzpack-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw writeError(directory, errno);
  const fs::path staging(pattern);
  // The staging folder goes however this ends; after the moves it is empty.
  struct Cleanup {
    fs::path folder;
    ~Cleanup() {
      std::error_code ignored;
      fs::remove_all(folder, ignored);
    }
  } cleanup{staging};
  std::vector<std::string> names;
  for (uint32_t i = 0; i < count; ++i) {
    const NamedFile file = make(i);
    writeFileAtomically((staging / file.name).string(), file.bytes, false);
    names.push_back(file.name);
  }
  for (const std::string& name : names) {
    const fs::path target = fs::path(directory) / name;
    if (std::rename((staging / name).c_str(), target.c_str()) != 0) throw writeError(target.string(), errno);
  }
}

std::vector<uint8_t> readWholeFile(const std::string& path, uint64_t maxBytes) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw ToolError(path + ": cannot open (" + std::strerror(errno) + ")");
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    if (bytes.size() + got > maxBytes) throw ToolError(path + ": file is too large");
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  if (std::ferror(file.get())) throw ToolError(path + ": read error");
  return bytes;
}

}  // namespace qbzpack
