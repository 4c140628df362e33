// Reads a baseline or progressive JPEG (colour or grey) into 8-bit RGB, row
// by row.
#pragma once

#include <cstdio>
#include <string>

#include "qbzpack/image_input.h"

namespace qbzpack {

// Throws ToolError (naming the file by name) for unreadable, corrupt, CMYK
// or too large pictures, and whatever check throws; a JPEG that the library
// could only decode with warnings counts as corrupt.
RowPicture readJpeg(std::FILE* file, const std::string& name, const SizeCheck& check);

}  // namespace qbzpack
