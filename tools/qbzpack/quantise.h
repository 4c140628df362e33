// Turns a picture into stored colour indices (bit 0 clear), either to the
// nearest level per channel or with Floyd-Steinberg error diffusion, which
// keeps the mean colour of smooth areas at 5 bits per channel.
#pragma once

#include <cstdint>
#include <vector>

#include "qbzpack/image.h"

namespace qbzpack {

// One index per pixel, in the picture's own order (rows top first).
std::vector<uint16_t> quantisePicture(const RgbImage& picture, bool dither);

}  // namespace qbzpack
