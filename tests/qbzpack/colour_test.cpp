// Colour indices, quantisation and dithering.
#include <gtest/gtest.h>

#include <cmath>

#include "qbzpack/colour_index.h"
#include "qbzpack/quantise.h"
#include "qbzpack/tool_error.h"
#include "test_files.h"

using namespace qbzpack;

TEST(ColourIndex, LevelsIndicesAndTextColours) {
  const std::pair<double, int> levels[] = {{10.9, 0}, {11.1, 1}, {255, 31}, {400, 31}, {-40, 0}, {NAN, 0}};
  for (const auto& [intensity, level] : levels) EXPECT_EQ(nearestLevel(intensity), level) << intensity;
  for (int l = 7; l <= 255; ++l) EXPECT_LE(std::abs(levelIntensity(nearestLevel(l)) - l), 4) << l;
  // Every shown colour packs back to its own index, bit 0 left for the renderer.
  for (uint32_t index = 0; index < 65536; index += 2) EXPECT_EQ(storedIndexOf(colourOfStoredIndex(index)), index);
  // Text colours are full brightness with depth bit set: r 31, g 18, b 0 is the viewer's 0xFC81.
  const std::pair<const char*, uint16_t> texts[] = {{"FF9700", 0xFC81}, {"#FB9403", 0xFC81}, {"0xffffff", 0xFFFF}};
  for (const auto& [text, colour] : texts) EXPECT_EQ(textColourOf(parseRgb(text, "t")), colour) << text;
  for (const char* bad : {"", "FFF", "GG0000", "1234567", "0x", "12 456"}) EXPECT_THROW(parseRgb(bad, ""), ToolError);
}

TEST(Quantise, DitheringKeepsTheMeanAndExactLevelsStay) {
  // A gentle ramp whose red values 100..115 mostly fall between two levels.
  const uint32_t width = 256, height = 64;
  RgbImage ramp(width, height);
  for (uint32_t i = 0; i < width * height; ++i) setPixel(ramp, i % 256, i / 256, {uint8_t(100 + i % 256 / 16), 0, 3});
  const std::vector<uint16_t> dithered = quantisePicture(ramp, true), rounded = quantisePicture(ramp, false);
  // Per 16-column band, after the error has settled, dithering keeps the red
  // mean within a unit; plain rounding is off by several.
  double dithSum[16] = {}, roundSum[16] = {}, worstDithered = 0, worstRounded = 0;
  for (uint32_t i = 8 * width; i < width * height; ++i) {
    dithSum[i % width / 16] += levelIntensity(dithered[i] >> 11);
    roundSum[i % width / 16] += levelIntensity(rounded[i] >> 11);
  }
  for (uint32_t band = 0; band < 16; ++band) {
    worstDithered = std::max(worstDithered, std::fabs(dithSum[band] / (56 * 16) - (100.0 + band)));
    worstRounded = std::max(worstRounded, std::fabs(roundSum[band] / (56 * 16) - (100.0 + band)));
  }
  EXPECT_LT(worstDithered, 0.6);
  EXPECT_GT(worstRounded, 3.0);
  // Blue 3 is below the darkest level and stays at level 0 without piling up error.
  for (uint16_t index : dithered) EXPECT_EQ(index & 0x3F, 0);

  // Colours already on the levels pass unchanged, dithered or not.
  RgbImage exact(40, 30);
  for (uint32_t i = 0; i < 1200; ++i) setPixel(exact, i % 40, i / 40, colourOfStoredIndex(uint16_t(i * 977 * 2)));
  const std::vector<uint16_t> kept = quantisePicture(exact, true);
  for (uint32_t i = 0; i < 1200; ++i) EXPECT_EQ(kept[i], uint16_t(i * 977 * 2)) << i;
}
