#include "qbzpack/equirect_to_cube.h"

#include <cmath>
#include <numbers>

#include "qbzpack/parallel_work.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

void checkEquirectShape(uint32_t width, uint32_t height) {
  if (width != 2 * uint64_t{height}) {
    throw ToolError("an equirectangular panorama must be twice as wide as high; this one is " +
                    std::to_string(width) + " x " + std::to_string(height));
  }
}

SampleRgb sampleEquirect(const RowPicture& source, Vec3 d) {
  const double longitude = std::atan2(d.x, -d.z);
  const double latitude = std::atan2(d.y, std::sqrt(d.x * d.x + d.z * d.z));
  // Picture coordinates with pixel centres at whole numbers.
  const double column = (longitude / (2.0 * std::numbers::pi) + 0.5) * source.width() - 0.5;
  const double row = (0.5 - latitude / std::numbers::pi) * source.height() - 0.5;
  return bilinearSample(source, column, row, true);
}

uint32_t supersampleFactor(uint32_t sourceWidth, uint32_t faceSize) {
  return subsamplesFor(sourceWidth, 4 * faceSize);
}

RgbImage equirectFace(const RowPicture& source, int face, uint32_t faceSize, Progress& progress) {
  const uint32_t n = supersampleFactor(source.width(), faceSize);
  RgbImage picture(faceSize, faceSize);
  forEachInParallel(faceSize, [&](uint32_t y) {
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
      storeMean(sum, n * n, picture.at(a, y));
    }
    progress.advance();
  });
  return picture;
}

CubeFaces cubeFromEquirect(const RgbImage& image, uint32_t faceSize) {
  checkEquirectShape(image.width, image.height);
  const RowPicture source = RowPicture::fromImage(image);
  CubeFaces cube;
  cube.faceSize = faceSize;
  Progress progress("sampling", uint64_t{kFaceCount} * faceSize);
  for (int face = 0; face < kFaceCount; ++face) cube.faces[face] = equirectFace(source, face, faceSize, progress);
  return cube;
}

}  // namespace qbzpack
