// File access with the handheld's paths. A path that starts with a backslash
// is a handheld path and the backend names the host file standing for it;
// any other path (the module file name, for one) is a host path already.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/host_file.h"
#include "platform/text_encoding.h"

namespace platform {

struct File {
  std::FILE* stream;                    // a host file, or
  const std::vector<uint8_t>* memory;  // the memory file's bytes
  size_t position;
};

namespace {

struct MemoryFile {
  std::string hostPath;
  std::vector<uint8_t> bytes;
};

MemoryFile& memoryFile() {
  static MemoryFile file;
  return file;
}

File* openHostPath(const std::string& path, const std::string& mode) {
  const std::string hostPath = !path.empty() && path[0] == '\\' ? backend().mapPath(path) : path;
  if (hostPath.empty()) return nullptr;
  if (hostPath == memoryFile().hostPath) {
    if (mode.find_first_of("wa+") != std::string::npos) return nullptr;
    return new File{nullptr, &memoryFile().bytes, 0};
  }
  std::FILE* stream = openHostFile(hostPath, mode.c_str());
  if (stream == nullptr) return nullptr;
  return new File{stream, nullptr, 0};
}

}  // namespace

void setMemoryFile(const std::string& hostPath, std::vector<uint8_t> bytes) {
  memoryFile() = MemoryFile{hostPath, hostPath.empty() ? std::vector<uint8_t>() : std::move(bytes)};
}

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
  if (file->memory != nullptr) {
    const int64_t base = origin == kSeekEnd       ? static_cast<int64_t>(file->memory->size())
                         : origin == kSeekCurrent ? static_cast<int64_t>(file->position)
                                                  : 0;
    if (base + offset < 0) return -1;
    file->position = static_cast<size_t>(base + offset);
    return 0;
  }
  const int whence = origin == kSeekEnd ? SEEK_END : origin == kSeekCurrent ? SEEK_CUR : SEEK_SET;
  return std::fseek(file->stream, offset, whence) == 0 ? 0 : -1;
}

int32_t fileTell(File* file) {
  if (file == nullptr) return -1;
  if (file->memory != nullptr) return file->position > INT32_MAX ? -1 : static_cast<int32_t>(file->position);
  const long position = std::ftell(file->stream);
  return position < 0 || position > INT32_MAX ? -1 : static_cast<int32_t>(position);
}

size_t fileRead(void* buffer, size_t size, size_t count, File* file) {
  if (file == nullptr || buffer == nullptr) return 0;
  if (file->memory != nullptr) {
    // Whole elements only, as fread counts them.
    const size_t left = file->position < file->memory->size() ? file->memory->size() - file->position : 0;
    const size_t elements = size == 0 ? 0 : std::min(count, left / size);
    if (elements != 0) std::memcpy(buffer, file->memory->data() + file->position, elements * size);
    file->position += elements * size;
    return elements;
  }
  return std::fread(buffer, size, count, file->stream);
}

int fileClose(File* file) {
  if (file == nullptr) return -1;
  const int result = file->stream != nullptr ? std::fclose(file->stream) : 0;
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
