// Encodes an RGB picture as an 8-bit PNG.
#pragma once

#include <cstdint>
#include <vector>

#include "qbzpack/image.h"

namespace qbzpack {

std::vector<uint8_t> encodePng(const RgbImage& picture);

}  // namespace qbzpack
