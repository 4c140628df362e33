// PNG and JPEG input: every format becomes RGB and transparency meets the
// background. Bad files are refused through the command line.

#include "qbzpack/image_input.h"
#include "test_files.h"

using namespace qbzpack;
using qbzpack_test::ScratchDirectory;

TEST(ImageInput, EveryFormatBecomesRgbOverTheBackground) {
  ScratchDirectory dir;
  const uint16_t deep[3] = {0, 65535, 0};  // 16-bit linear green
  const uint8_t grey[2] = {85, 255}, map[6] = {10, 20, 30, 200, 100, 50}, indices[2] = {1, 0},
                rgba[8] = {255, 0, 0, 0, 255, 255, 255, 128}, greyAlpha[4] = {100, 0, 100, 255};
  qbzpack_test::writePng(dir.path("grey.png"), 2, 1, PNG_FORMAT_GRAY, grey);
  qbzpack_test::writePng(dir.path("deep.png"), 1, 1, PNG_FORMAT_LINEAR_RGB, deep);
  qbzpack_test::writePng(dir.path("palette.png"), 2, 1, PNG_FORMAT_RGB_COLORMAP, indices, map, 2);
  qbzpack_test::writePng(dir.path("alpha.png"), 2, 1, PNG_FORMAT_RGBA, rgba);
  qbzpack_test::writePng(dir.path("ga.png"), 2, 1, PNG_FORMAT_GA, greyAlpha);
  // Path, column, the colour over a blue background, tolerance.
  const std::tuple<std::string, uint32_t, Rgb, int> cases[] = {
      {dir.path("grey.png"), 1, {255, 255, 255}, 0},  {dir.path("deep.png"), 0, {0, 255, 0}, 0},
      {dir.path("palette.png"), 0, {200, 100, 50}, 0}, {dir.path("alpha.png"), 0, {0, 0, 200}, 0},  // clear
      {dir.path("alpha.png"), 1, {128, 128, 228}, 1},  {dir.path("ga.png"), 1, {100, 100, 100}, 0},
      {qbzpack_test::fixture("colour.jpg"), 7, {200, 60, 20}, 4},
      {qbzpack_test::fixture("grey.jpg"), 3, {90, 90, 90}, 2}};
  for (const auto& [path, x, wanted, tolerance] : cases) {
    qbzpack_test::expectNear(pixelAt(loadPicture(path, {0, 0, 200}), x, 0), wanted, tolerance, path);
  }
}
