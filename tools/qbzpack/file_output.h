// Output files appear whole or not at all: the bytes go to a temporary file in
// the target's directory, which is renamed over the target only once written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qbzpack {

// Throws ToolError naming the path when it cannot be written.
void writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, bool executable);

// The whole file; throws ToolError when it cannot be read or exceeds maxBytes.
std::vector<uint8_t> readWholeFile(const std::string& path, uint64_t maxBytes);

}  // namespace qbzpack
