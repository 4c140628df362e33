// File access with the handheld's paths. A path that starts with a backslash
// is a handheld path and the backend names the host file standing for it;
// any other path (the module file name, for one) is a host path already.
#include <cstdio>
#include <string>

#include "platform/backend.h"
#include "platform/host_file.h"
#include "platform/text_encoding.h"

namespace platform {

struct File {
  std::FILE* stream;
};

namespace {

File* openHostPath(const std::string& path, const std::string& mode) {
  const std::string hostPath = !path.empty() && path[0] == '\\' ? backend().mapPath(path) : path;
  if (hostPath.empty()) return nullptr;
  std::FILE* stream = openHostFile(hostPath, mode.c_str());
  if (stream == nullptr) return nullptr;
  return new File{stream};
}

}  // namespace

File* fileOpen(const char* path, const char* mode) {
  if (path == nullptr || mode == nullptr) return nullptr;
  return openHostPath(path, mode);
}

File* fileOpenWide(const char16_t* path, const char16_t* mode) {
  if (path == nullptr || mode == nullptr) return nullptr;
  return openHostPath(toUtf8(path), toUtf8(mode));
}

int fileSeek(File* file, int32_t offset, int origin) {
  if (file == nullptr) return -1;
  const int whence = origin == kSeekEnd ? SEEK_END : origin == kSeekCurrent ? SEEK_CUR : SEEK_SET;
  return std::fseek(file->stream, offset, whence) == 0 ? 0 : -1;
}

int32_t fileTell(File* file) {
  if (file == nullptr) return -1;
  const long position = std::ftell(file->stream);
  return position < 0 || position > INT32_MAX ? -1 : static_cast<int32_t>(position);
}

size_t fileRead(void* buffer, size_t size, size_t count, File* file) {
  if (file == nullptr || buffer == nullptr) return 0;
  return std::fread(buffer, size, count, file->stream);
}

int fileClose(File* file) {
  if (file == nullptr) return -1;
  const int result = std::fclose(file->stream);
  delete file;
  return result;
}

uint32_t moduleFileName(char16_t* buffer, uint32_t capacity) {
  if (buffer == nullptr || capacity == 0) return 0;
  const std::u16string path = toUtf16(backend().moduleFilePath());
  if (path.empty() || path.size() >= capacity) {
    buffer[0] = u'\0';
    return 0;
  }
  path.copy(buffer, path.size());
  buffer[path.size()] = u'\0';
  return static_cast<uint32_t>(path.size());
}

}  // namespace platform
