// Output files appear whole or not at all: the bytes go to a temporary file in
// the target's directory, which is renamed over the target only once written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qbzpack {

// Throws ToolError naming the path when it cannot be written.
void writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, bool executable);

// Several files that belong together (the six faces of a panorama) appear
// together or not at all: make(i) gives file i, which is written into a
// temporary folder inside directory (created when missing); only when all are
// written are they moved into place. Throws ToolError naming what failed and
// leaves directory as it was.
struct NamedFile {
  std::string name;
  std::vector<uint8_t> bytes;
};
void writeFilesTogether(const std::string& directory, uint32_t count, const std::function<NamedFile(uint32_t)>& make);

// The whole file; throws ToolError when it cannot be read or exceeds maxBytes.
std::vector<uint8_t> readWholeFile(const std::string& path, uint64_t maxBytes);

}  // namespace qbzpack
