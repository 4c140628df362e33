// `qbzpack pack IMAGE` with every default, into memory instead of a file: the
// viewer opens pictures with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qbzpack {

// The stand-alone container `qbzpack pack IMAGE -o OUT` would write for this
// equirectangular PNG or JPEG. Throws ToolError (one line) when the picture
// cannot be read or is not 2:1.
std::vector<uint8_t> packPictureInMemory(const std::string& picturePath);

}  // namespace qbzpack
