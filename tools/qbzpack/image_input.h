// Loads a PNG or JPEG picture from a file, recognised by its first bytes, and
// flattens any transparency over a background colour.
#pragma once

#include <string>

#include "qbzpack/image.h"

namespace qbzpack {

RgbImage loadPicture(const std::string& path, Rgb background);

// Alpha blend of every pixel over the background, rounded to nearest.
RgbImage compositeOver(const RgbaImage& image, Rgb background);

}  // namespace qbzpack
