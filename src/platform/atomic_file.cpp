#include "platform/atomic_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "platform/host_file.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

FileWrite failure(const std::string& path, const std::string& reason) {
  return {"cannot write " + path + " (" + reason + ")"};
}

std::error_code lastError() { return {errno != 0 ? errno : EIO, std::generic_category()}; }

// Hidden, and random so that two writers of one target never share it.
fs::path temporaryName(const std::string& stem) {
  static std::atomic<uint32_t> count{0};
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08x%04x.partial", static_cast<unsigned>(std::random_device{}()),
                static_cast<unsigned>(count++ & 0xFFFF));
  return hostFilePath("." + stem + suffix);
}

bool flushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

}  // namespace

FileWrite writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes, FileMode mode,
                              const std::function<void(size_t)>& progress) {
  const fs::path target = hostFilePath(path);
  if (!target.has_filename()) return failure(path, "not a file name");
  const fs::path temporary = target.parent_path() / temporaryName(utf8FilePath(target.filename()));
  errno = 0;
  std::FILE* file = openHostFile(utf8FilePath(temporary), "wb");
  if (file == nullptr) return failure(path, lastError().message());

  std::error_code error;
  for (size_t written = 0; written < bytes.size() && !error;) {
    const size_t piece = std::min(kFileWritePiece, bytes.size() - written);
    if (std::fwrite(bytes.data() + written, 1, piece, file) != piece) error = lastError();
    written += piece;
    if (progress) progress(written);
  }
  if (!error && !flushToDisk(file)) error = lastError();
  if (std::fclose(file) != 0 && !error) error = lastError();
  if (!error && mode == FileMode::Executable) fs::permissions(temporary, static_cast<fs::perms>(0755), error);
  if (!error) fs::rename(temporary, target, error);
  if (!error) return {};
  std::error_code ignored;
  fs::remove(temporary, ignored);
  return failure(path, error.message());
}

FileWrite writeFilesTogether(const std::string& directory, uint32_t count,
                             const std::function<NamedFile(uint32_t)>& make) {
  const fs::path folder = hostFilePath(directory);
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder)) {
    return {"cannot create the directory " + directory + (error ? " (" + error.message() + ")" : "")};
  }
  const fs::path staging = folder / temporaryName("files");
  const fs::path fresh = staging / "new", replaced = staging / "old";
  // The staging folder goes however this ends; what it holds then is either
  // the new files (on failure) or the ones they replaced (on success).
  struct Cleanup {
    fs::path folder;
    ~Cleanup() {
      std::error_code ignored;
      fs::remove_all(folder, ignored);
    }
  } cleanup{staging};
  if (!fs::create_directory(staging, error) || !fs::create_directory(fresh, error) ||
      !fs::create_directory(replaced, error)) {
    return failure(utf8FilePath(staging), error ? error.message() : "it exists");
  }

  std::vector<fs::path> names;
  for (uint32_t i = 0; i < count; ++i) {
    const NamedFile file = make(i);
    names.push_back(hostFilePath(file.name));
    FileWrite written = writeFileAtomically(utf8FilePath(fresh / names.back()), file.bytes);
    if (!written) return written;
  }

  std::vector<std::pair<fs::path, bool>> placed;  // name, whether a file it replaced was set aside
  std::error_code ignored;
  for (const fs::path& name : names) {
    const fs::path target = folder / name;
    const fs::file_status old = fs::symlink_status(target, ignored);
    const bool setAside = fs::exists(old) && !fs::is_directory(old);
    if (setAside) fs::rename(target, replaced / name, error);
    if (!error) fs::rename(fresh / name, target, error);
    if (!error) {
      placed.emplace_back(name, setAside);
      continue;
    }
    if (setAside) fs::rename(replaced / name, target, ignored);
    for (auto back = placed.rbegin(); back != placed.rend(); ++back) {
      fs::rename(folder / back->first, fresh / back->first, ignored);
      if (back->second) fs::rename(replaced / back->first, folder / back->first, ignored);
    }
    return failure(utf8FilePath(target), error.message());
  }
  return {};
}

}  // namespace platform
