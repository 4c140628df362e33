// 8-bit grey or RGB PNGs made with zlib alone: every build has zlib, while
// the Windows and web builds have no libpng. The screenshots, the authoring
// tool's pictures and the font preview all come from here.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

enum class PngColour : uint8_t { Grey = 1, Rgb = 3 };  // the number of samples a pixel

// samples: height rows, top first, of width pixels. Every row is Paeth
// filtered (for photographs about a tenth smaller than libpng's choice of
// filter row by row) and the whole deflated at zlib's default level. Empty when the picture is
// refused (no pixels, a row of 2 GiB or more, a height above 2^31 - 1, a
// sample count that does not match) or zlib fails.
std::vector<uint8_t> encodePng(std::span<const uint8_t> samples, uint32_t width, uint32_t height, PngColour colour);

}  // namespace platform
