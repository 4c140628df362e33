#include "qbzpack/picture_sampling.h"

#include <cmath>

namespace qbzpack {

SampleRgb bilinearSample(const RowPicture& picture, double column, double row, bool wrapColumns) {
  const double columnFloor = std::floor(column), rowFloor = std::floor(row);
  const double fx = column - columnFloor, fy = row - rowFloor;
  const int64_t width = picture.width(), height = picture.height();
  const auto clampTo = [](int64_t value, int64_t size) { return value < 0 ? 0 : (value >= size ? size - 1 : value); };
  const int64_t columnIndex = static_cast<int64_t>(columnFloor);
  int64_t x0, x1;
  if (wrapColumns) {
    x0 = columnIndex % width;
    if (x0 < 0) x0 += width;
    x1 = (x0 + 1) % width;
  } else {
    x0 = clampTo(columnIndex, width);
    x1 = clampTo(columnIndex + 1, width);
  }
  const int64_t rowIndex = static_cast<int64_t>(rowFloor);
  const uint8_t* top = picture.row(static_cast<uint32_t>(clampTo(rowIndex, height)));
  const uint8_t* bottom = picture.row(static_cast<uint32_t>(clampTo(rowIndex + 1, height)));
  const uint8_t *p00 = top + x0 * 3, *p10 = top + x1 * 3, *p01 = bottom + x0 * 3, *p11 = bottom + x1 * 3;
  double out[3];
  for (int c = 0; c < 3; ++c) {
    const double upper = p00[c] + (p10[c] - p00[c]) * fx;
    const double lower = p01[c] + (p11[c] - p01[c]) * fx;
    out[c] = upper + (lower - upper) * fy;
  }
  return {out[0], out[1], out[2]};
}

uint32_t subsamplesFor(uint32_t sourceSpan, uint32_t outputSpan) {
  const uint32_t factor = (sourceSpan + outputSpan - 1) / outputSpan;
  return factor < 1 ? 1 : factor;
}

void storeMean(const SampleRgb& sum, uint32_t count, uint8_t* out) {
  const double weight = 1.0 / count;
  out[0] = static_cast<uint8_t>(std::lround(sum.r * weight));
  out[1] = static_cast<uint8_t>(std::lround(sum.g * weight));
  out[2] = static_cast<uint8_t>(std::lround(sum.b * weight));
}

}  // namespace qbzpack
