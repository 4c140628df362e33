// Reads a baseline or progressive JPEG (colour or grey) as 8-bit RGB.
#pragma once

#include <cstdio>
#include <string>

#include "qbzpack/image.h"

namespace qbzpack {

// Throws ToolError for corrupt, truncated or oversized pictures; a JPEG that
// the library could only decode with warnings counts as corrupt.
RgbImage readJpeg(std::FILE* file, const std::string& name);

}  // namespace qbzpack
