#include "qbzpack/cube_faces.h"

#include "qbzpack/image_input.h"
#include "qbzpack/parallel_work.h"
#include "qbzpack/picture_sampling.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

void checkSquare(const std::string& path, int face, uint32_t width, uint32_t height) {
  if (width != height) {
    throw ToolError(path + ": the " + kFaceNames[face] + " face is " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels; faces must be square");
  }
}

}  // namespace

uint32_t checkFacePictures(const std::array<std::string, kFaceCount>& paths, std::optional<uint32_t> faceSize) {
  uint32_t firstSize = 0;
  for (int face = 0; face < kFaceCount; ++face) {
    const PictureSize size = readPictureSize(paths[face]);
    checkSquare(paths[face], face, size.width, size.height);
    if (face > 0 && !faceSize && size.width != firstSize) {
      throw ToolError(paths[face] + ": the " + kFaceNames[face] + " face is " + std::to_string(size.width) +
                      " pixels wide but the front face is " + std::to_string(firstSize) +
                      "; all faces must be the same size (or give --face-size to resize them)");
    }
    if (face == 0) firstSize = size.width;
  }
  return faceSize.value_or(firstSize);
}

RgbImage resampleFace(const RowPicture& picture, uint32_t faceSize, Progress& progress) {
  const uint32_t n = subsamplesFor(picture.width(), faceSize);
  const double scale = static_cast<double>(picture.width()) / faceSize;
  RgbImage face(faceSize, faceSize);
  forEachInParallel(faceSize, [&](uint32_t y) {
    for (uint32_t x = 0; x < faceSize; ++x) {
      SampleRgb sum{0, 0, 0};
      for (uint32_t sy = 0; sy < n; ++sy) {
        for (uint32_t sx = 0; sx < n; ++sx) {
          // Picture coordinates with pixel centres at whole numbers.
          const SampleRgb s = bilinearSample(picture, (x + (sx + 0.5) / n) * scale - 0.5,
                                             (y + (sy + 0.5) / n) * scale - 0.5, false);
          sum.r += s.r;
          sum.g += s.g;
          sum.b += s.b;
        }
      }
      storeMean(sum, n * n, face.at(x, y));
    }
    progress.advance();
  });
  return face;
}

RgbImage loadFacePicture(const std::string& path, int face, uint32_t faceSize, Rgb background) {
  const RowPicture picture = decodePicture(path, background, [&](uint32_t width, uint32_t height) {
    checkSquare(path, face, width, height);
  });
  if (picture.width() == faceSize) return picture.toImage();
  Progress progress(std::string(kFaceNames[face]) + " face: resampling", faceSize);
  return resampleFace(picture, faceSize, progress);
}

}  // namespace qbzpack
