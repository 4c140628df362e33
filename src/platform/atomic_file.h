// Files that appear whole or not at all. The bytes go to a new hidden
// temporary file beside the target and reach the disk; only then is the
// temporary renamed over the target. On any failure the temporary is removed,
// the target is left as it was, and the result names the path and the
// reason. Paths are UTF-8 (wide names on Windows, through hostFilePath).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace platform {

struct FileWrite {
  std::string error;  // "cannot write PATH (reason)"; empty when written
  explicit operator bool() const { return error.empty(); }
};

enum class FileMode : uint8_t { Plain, Executable };  // Executable: mode 0755 where the host has modes

// The bytes go out in pieces of this size; progress, when given, is called
// after each piece with the number of bytes written so far.
constexpr size_t kFileWritePiece = size_t{1} << 20;

FileWrite writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes, FileMode mode = FileMode::Plain,
                              const std::function<void(size_t)>& progress = {});

// Files that belong together (the six faces of a panorama) appear together
// or not at all: make(i) gives file i, which is written into a hidden folder
// inside directory (created when missing); only when all are written are
// they moved into place. A file a move replaces is set aside until every
// move has succeeded, so that a failed move puts the directory back as it
// was. make may throw; the hidden folder goes in every case.
struct NamedFile {
  std::string name;
  std::vector<uint8_t> bytes;
};
FileWrite writeFilesTogether(const std::string& directory, uint32_t count,
                             const std::function<NamedFile(uint32_t)>& make);

}  // namespace platform
