#include "qbzpack/equirect_to_cube.h"

#include <cmath>
#include <numbers>

#include "qbzpack/progress.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

SampleRgb sampleEquirect(const RgbImage& source, Vec3 d) {
  const double longitude = std::atan2(d.x, -d.z);
  const double latitude = std::atan2(d.y, std::sqrt(d.x * d.x + d.z * d.z));
  // Picture coordinates with pixel centres at half-integers.
  const double column = (longitude / (2.0 * std::numbers::pi) + 0.5) * source.width - 0.5;
  const double row = (0.5 - latitude / std::numbers::pi) * source.height - 0.5;

  const double columnFloor = std::floor(column), rowFloor = std::floor(row);
  const double fx = column - columnFloor, fy = row - rowFloor;
  const int64_t width = source.width, height = source.height;
  int64_t x0 = static_cast<int64_t>(columnFloor) % width;
  if (x0 < 0) x0 += width;
  const int64_t x1 = (x0 + 1) % width;
  const int64_t rowIndex = static_cast<int64_t>(rowFloor);
  const int64_t y0 = rowIndex < 0 ? 0 : (rowIndex >= height ? height - 1 : rowIndex);
  const int64_t y1 = rowIndex + 1 < 0 ? 0 : (rowIndex + 1 >= height ? height - 1 : rowIndex + 1);

  const uint8_t* p00 = source.at(static_cast<uint32_t>(x0), static_cast<uint32_t>(y0));
  const uint8_t* p10 = source.at(static_cast<uint32_t>(x1), static_cast<uint32_t>(y0));
  const uint8_t* p01 = source.at(static_cast<uint32_t>(x0), static_cast<uint32_t>(y1));
  const uint8_t* p11 = source.at(static_cast<uint32_t>(x1), static_cast<uint32_t>(y1));
  double out[3];
  for (int c = 0; c < 3; ++c) {
    const double top = p00[c] + (p10[c] - p00[c]) * fx;
    const double bottom = p01[c] + (p11[c] - p01[c]) * fx;
    out[c] = top + (bottom - top) * fy;
  }
  return {out[0], out[1], out[2]};
}

uint32_t supersampleFactor(uint32_t sourceWidth, uint32_t faceSize) {
  const uint32_t span = 4 * faceSize;
  const uint32_t factor = (sourceWidth + span - 1) / span;
  return factor < 1 ? 1 : factor;
}

CubeFaces cubeFromEquirect(const RgbImage& source, uint32_t faceSize) {
  if (source.width != 2 * source.height) {
    throw ToolError("an equirectangular panorama must be twice as wide as high; this one is " +
                    std::to_string(source.width) + " x " + std::to_string(source.height));
  }
  const uint32_t n = supersampleFactor(source.width, faceSize);
  const double weight = 1.0 / (n * n);
  CubeFaces cube;
  cube.faceSize = faceSize;
  Progress progress("converting", uint64_t{kFaceCount} * faceSize);
  for (int face = 0; face < kFaceCount; ++face) {
    RgbImage& picture = cube.faces[face];
    picture = RgbImage(faceSize, faceSize);
    for (uint32_t y = 0; y < faceSize; ++y) {
      const uint32_t b = faceSize - 1 - y;  // face rows count from the bottom
      for (uint32_t a = 0; a < faceSize; ++a) {
        SampleRgb sum{0, 0, 0};
        for (uint32_t sy = 0; sy < n; ++sy) {
          for (uint32_t sx = 0; sx < n; ++sx) {
            const Vec3 d = faceDirection(face, a + (sx + 0.5) / n, b + (sy + 0.5) / n, faceSize);
            const SampleRgb s = sampleEquirect(source, d);
            sum.r += s.r;
            sum.g += s.g;
            sum.b += s.b;
          }
        }
        uint8_t* out = picture.at(a, y);
        out[0] = static_cast<uint8_t>(std::lround(sum.r * weight));
        out[1] = static_cast<uint8_t>(std::lround(sum.g * weight));
        out[2] = static_cast<uint8_t>(std::lround(sum.b * weight));
      }
      progress.advance();
    }
  }
  return cube;
}

}  // namespace qbzpack
