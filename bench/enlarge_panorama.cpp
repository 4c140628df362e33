// Makes a large equirectangular test picture for scripts/bench-authoring.sh:
// an existing panorama enlarged by a whole factor (bilinear, columns wrapping
// round), written as an 8-bit RGB PNG.
//   qbz_enlarge_panorama IN.png FACTOR OUT.png
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "qbzpack/file_output.h"
#include "qbzpack/image_input.h"
#include "qbzpack/picture_sampling.h"

int main(int argc, char** argv) {
  if (argc != 4 || std::atoi(argv[2]) < 1) {
    std::fprintf(stderr, "usage: qbz_enlarge_panorama IN.png FACTOR OUT.png\n");
    return 2;
  }
  try {
    const qbzpack::RowPicture source = qbzpack::decodePicture(argv[1], {});
    const uint32_t factor = static_cast<uint32_t>(std::atoi(argv[2]));
    qbzpack::RgbImage large(source.width() * factor, source.height() * factor);
    for (uint32_t y = 0; y < large.height; ++y) {
      for (uint32_t x = 0; x < large.width; ++x) {
        const qbzpack::SampleRgb s =
            qbzpack::bilinearSample(source, (x + 0.5) / factor - 0.5, (y + 0.5) / factor - 0.5, true);
        qbzpack::storeMean(s, 1, large.at(x, y));
      }
    }
    qbzpack::writeOutputFile(argv[3], qbzpack::pngBytes(large));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "qbz_enlarge_panorama: %s\n", error.what());
    return 1;
  }
  return 0;
}
