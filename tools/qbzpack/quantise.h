// Turns a picture into stored colour indices (bit 0 clear), either to the
// nearest shown colour per channel or with error diffusion, which keeps the
// mean colour of smooth areas. Errors are measured against the colour the
// viewer's screen actually shows for each level.
#pragma once

#include <cstdint>
#include <vector>

#include "qbzpack/image.h"

namespace qbzpack {

// One index per pixel, in the picture's own order (rows top first).
std::vector<uint16_t> quantisePicture(const RgbImage& picture, bool dither);

}  // namespace qbzpack
