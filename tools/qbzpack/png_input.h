// Reads a PNG of any colour type and bit depth as 8-bit RGBA.
#pragma once

#include <cstdio>
#include <string>

#include "qbzpack/image.h"

namespace qbzpack {

// file is positioned at the start of the PNG; name is used in messages.
// Throws ToolError for corrupt, truncated or oversized pictures.
RgbaImage readPng(std::FILE* file, const std::string& name);

}  // namespace qbzpack
