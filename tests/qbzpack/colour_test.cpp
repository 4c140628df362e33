// Colour indices, quantisation and dithering.
#include <gtest/gtest.h>

#include <cmath>

#include "qbzpack/colour_index.h"
#include "qbzpack/quantise.h"
#include "qbzpack/tool_error.h"
#include "test_files.h"

using namespace qbzpack;

TEST(ColourIndex, LevelsIndicesAndTextColours) {
  const std::pair<double, int> levels[] = {{0, 0}, {10.9, 0}, {11.1, 1}, {151, 18}, {255, 31}, {400, 31}, {-40, 0},
                                           {NAN, 0}};
  for (const auto& [intensity, level] : levels) EXPECT_EQ(nearestLevel(intensity), level) << intensity;
  for (int l = 7; l <= 255; ++l) EXPECT_LE(std::abs(levelIntensity(nearestLevel(l)) - l), 4) << l;
  // Every shown colour packs back to its own index, bit 0 left for the renderer.
  for (uint32_t index = 0; index < 65536; index += 2) {
    EXPECT_EQ(storedIndexOf(colourOfStoredIndex(static_cast<uint16_t>(index))), index);
  }
  // Text colours are full brightness with depth bit set: r 31, g 18, b 0 is the viewer's 0xFC81.
  const std::pair<const char*, uint16_t> texts[] = {{"FF9700", 0xFC81}, {"#FB9403", 0xFC81}, {"0xffffff", 0xFFFF},
                                                    {"000000", 1}, {"3FFFFF", 0x3FFF}};
  for (const auto& [text, colour] : texts) EXPECT_EQ(textColourOf(parseRgb(text, "t")), colour) << text;
  EXPECT_EQ(storedIndexOf(Rgb{255, 151, 0}), 0xFC80);
  for (const char* bad : {"", "FFF", "GG0000", "#12345", "1234567", "0x", "12 456"}) {
    try {
      parseRgb(bad, "--caption-colour");
      ADD_FAILURE() << bad;
    } catch (const ToolError& error) {
      EXPECT_TRUE(error.isUsage());
      EXPECT_NE(std::string(error.what()).find("--caption-colour"), std::string::npos);
    }
  }
}

TEST(Quantise, DitheringKeepsTheMeanAndExactLevelsStay) {
  // A gentle ramp whose red values 100..115 mostly fall between two levels.
  const uint32_t width = 256, height = 64;
  RgbImage ramp(width, height);
  for (uint32_t i = 0; i < width * height; ++i) setPixel(ramp, i % width, i / width, {uint8_t(100 + i % width / 16), 0, 3});
  const std::vector<uint16_t> dithered = quantisePicture(ramp, true);
  const std::vector<uint16_t> rounded = quantisePicture(ramp, false);
  // Per 16-column band, after the error has settled, dithering keeps the red
  // mean within a unit; plain rounding is off by several.
  double worstDithered = 0, worstRounded = 0;
  for (uint32_t band = 0; band < width / 16; ++band) {
    double dithSum = 0, roundSum = 0;
    for (uint32_t y = 8; y < height; ++y) {
      for (uint32_t x = band * 16; x < band * 16 + 16; ++x) {
        dithSum += levelIntensity(dithered[y * width + x] >> 11);
        roundSum += levelIntensity(rounded[y * width + x] >> 11);
      }
    }
    worstDithered = std::max(worstDithered, std::fabs(dithSum / (56 * 16) - (100.0 + band)));
    worstRounded = std::max(worstRounded, std::fabs(roundSum / (56 * 16) - (100.0 + band)));
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

  // A large black area does not darken the mid grey that follows it.
  RgbImage dark = qbzpack_test::flatPicture(300, 4, {0, 0, 0});
  for (uint32_t i = 0; i < 80; ++i) setPixel(dark, 280 + i % 20, i / 20, {127, 127, 127});
  const std::vector<uint16_t> grey = quantisePicture(dark, true);
  for (uint32_t i = 0; i < 76; ++i) EXPECT_NEAR(grey[i / 19 * 300 + 281 + i % 19] >> 11, 15, 1) << i;
}
