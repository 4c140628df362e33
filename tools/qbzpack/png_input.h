// Reads a PNG file into 8-bit RGB, row by row: palettes, grey and 16-bit
// samples are converted, transparency (alpha or tRNS) is laid over the
// background.
#pragma once

#include <cstdio>
#include <string>

#include "qbzpack/image_input.h"

namespace qbzpack {

// file is positioned at the start of the PNG; name is used in messages.
// Throws ToolError for unreadable, corrupt, truncated or too
// large pictures, and whatever check throws.
RowPicture readPng(std::FILE* file, const std::string& name, Rgb background, const SizeCheck& check);

}  // namespace qbzpack
