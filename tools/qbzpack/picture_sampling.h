// Reading a decoded picture between its pixels, shared by the conversions
// from an equirectangular panorama and from face pictures of another size,
// so both average the same way.
#pragma once

#include <cstdint>

#include "qbzpack/row_picture.h"

namespace qbzpack {

struct SampleRgb {
  double r, g, b;
};

// Bilinear between the four nearest pixels at picture coordinates (column,
// row), with pixel centres at whole numbers. Columns wrap across the left and
// right edges when wrapColumns, and clamp otherwise; rows always clamp.
SampleRgb bilinearSample(const RowPicture& picture, double column, double row, bool wrapColumns);

// Sub-samples per output pixel along each axis so that each covers one source
// pixel or less: the source span over the output span, rounded up, at least 1.
uint32_t subsamplesFor(uint32_t sourceSpan, uint32_t outputSpan);

// The mean of count sub-samples, rounded to the nearest 8-bit value.
void storeMean(const SampleRgb& sum, uint32_t count, uint8_t* out);

}  // namespace qbzpack
