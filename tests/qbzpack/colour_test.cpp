// Colour indices, quantisation and dithering.
#include <gtest/gtest.h>

#include <cmath>

#include "qbzpack/colour_index.h"
#include "qbzpack/quantise.h"
#include "qbzpack/tool_error.h"
#include "test_files.h"

using namespace qbzpack;

TEST(ColourIndex, LevelsAreNearestShownIntensity) {
  EXPECT_EQ(nearestLevel(0), 0);
  EXPECT_EQ(nearestLevel(7), 0);
  EXPECT_EQ(nearestLevel(10.9), 0);
  EXPECT_EQ(nearestLevel(11.1), 1);
  EXPECT_EQ(nearestLevel(15), 1);
  EXPECT_EQ(nearestLevel(151), 18);
  EXPECT_EQ(nearestLevel(255), 31);
  EXPECT_EQ(nearestLevel(400), 31);
  EXPECT_EQ(nearestLevel(-40), 0);
  EXPECT_EQ(nearestLevel(NAN), 0);
  // Every intensity lands on a level within 4 of it, or at the ends of the range.
  for (int l = 7; l <= 255; ++l) EXPECT_LE(std::abs(levelIntensity(nearestLevel(l)) - l), 4) << l;
}

TEST(ColourIndex, TextColoursAreFullBrightnessWithDepthZero) {
  // r 31, g 18, b 0 at full brightness is the viewer's own text colour 0xFC81.
  EXPECT_EQ(textColourOf(parseRgb("FF9700", "t")), 0xFC81);
  EXPECT_EQ(textColourOf(parseRgb("#FB9403", "t")), 0xFC81);
  EXPECT_EQ(textColourOf(parseRgb("0xffffff", "t")), 0xFFFF);
  EXPECT_EQ(textColourOf(parseRgb("000000", "t")), 1);
  EXPECT_EQ(textColourOf(Rgb{63, 255, 255}), 0x3FFF);
  // Stored texels leave bit 0 for the renderer to add.
  EXPECT_EQ(storedIndexOf(Rgb{255, 151, 0}), 0xFC80);
  EXPECT_EQ(storedIndexOf(Rgb{255, 255, 255}), 0xFFFE);
}

TEST(ColourIndex, ShownColoursPackBackToTheSameIndex) {
  for (uint32_t index = 0; index < 65536; index += 2) {
    EXPECT_EQ(storedIndexOf(colourOfStoredIndex(static_cast<uint16_t>(index))), index);
  }
  const Rgb shown = colourOfStoredIndex(0xFC80);
  EXPECT_EQ(shown, (Rgb{255, 151, 7}));
}

TEST(ColourIndex, RgbTextIsCheckedStrictly) {
  EXPECT_EQ(parseRgb("0A0B0C", "c"), (Rgb{10, 11, 12}));
  for (const char* bad : {"", "FFF", "GG0000", "#12345", "1234567", "0x", "12 456"}) {
    EXPECT_THROW(parseRgb(bad, "--banner-colour"), ToolError) << bad;
  }
  try {
    parseRgb("red", "--caption-colour");
    FAIL();
  } catch (const ToolError& error) {
    EXPECT_TRUE(error.isUsage());
    EXPECT_NE(std::string(error.what()).find("--caption-colour"), std::string::npos);
  }
}

namespace {

double meanIntensity(const std::vector<uint16_t>& indices, int shift) {
  double sum = 0;
  for (uint16_t index : indices) sum += levelIntensity((index >> shift) & 31);
  return sum / indices.size();
}

}  // namespace

TEST(Quantise, DitheringKeepsTheMeanOfAFlatGradient) {
  // A gentle horizontal ramp whose values mostly fall between two levels.
  const uint32_t width = 256, height = 64;
  RgbImage ramp(width, height);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t v = static_cast<uint8_t>(100 + x / 16);  // 100..115
      setPixel(ramp, x, y, {v, static_cast<uint8_t>(200 - x / 32), 3});
    }
  }
  const std::vector<uint16_t> dithered = quantisePicture(ramp, true);
  const std::vector<uint16_t> rounded = quantisePicture(ramp, false);
  // Per 16-column band the dithered red mean stays within half a unit of the
  // source value; plain rounding is off by up to 4.
  double worstDithered = 0, worstRounded = 0;
  for (uint32_t band = 0; band < width / 16; ++band) {
    std::vector<uint16_t> d, r;
    for (uint32_t y = 8; y < height; ++y) {  // rows after the error has settled
      for (uint32_t x = band * 16; x < band * 16 + 16; ++x) {
        d.push_back(dithered[y * width + x]);
        r.push_back(rounded[y * width + x]);
      }
    }
    const double wanted = 100.0 + band;
    worstDithered = std::max(worstDithered, std::fabs(meanIntensity(d, 11) - wanted));
    worstRounded = std::max(worstRounded, std::fabs(meanIntensity(r, 11) - wanted));
  }
  EXPECT_LT(worstDithered, 0.6);
  EXPECT_GT(worstRounded, 3.0);
  // Over the whole picture green keeps its mean too; blue 3 is below the
  // darkest level (7) and simply stays at level 0 without piling up error.
  double greenWanted = 0;
  for (uint32_t x = 0; x < width; ++x) greenWanted += 200 - x / 32;
  EXPECT_NEAR(meanIntensity(dithered, 6), greenWanted / width, 0.3);
  for (uint16_t index : dithered) {
    EXPECT_EQ((index >> 1) & 31, 0);
    EXPECT_EQ(index & 1, 0);
  }
}

TEST(Quantise, ExactLevelsPassUnchangedWithOrWithoutDither) {
  RgbImage picture(40, 30);
  for (uint32_t y = 0; y < 30; ++y) {
    for (uint32_t x = 0; x < 40; ++x) {
      setPixel(picture, x, y, colourOfStoredIndex(static_cast<uint16_t>((x * 977 + y * 131) * 2)));
    }
  }
  const std::vector<uint16_t> dithered = quantisePicture(picture, true);
  EXPECT_EQ(dithered, quantisePicture(picture, false));
  for (uint32_t y = 0; y < 30; ++y) {
    for (uint32_t x = 0; x < 40; ++x) EXPECT_EQ(dithered[y * 40 + x], static_cast<uint16_t>((x * 977 + y * 131) * 2));
  }
}

TEST(Quantise, LargeDarkAreaDoesNotDarkenWhatFollows) {
  // Black (below the darkest shown intensity) for most of the picture, then
  // mid grey: the grey must come out right at once.
  RgbImage picture = qbzpack_test::flatPicture(300, 4, {0, 0, 0});
  for (uint32_t y = 0; y < 4; ++y) {
    for (uint32_t x = 280; x < 300; ++x) setPixel(picture, x, y, {127, 127, 127});
  }
  const std::vector<uint16_t> indices = quantisePicture(picture, true);
  for (uint32_t y = 0; y < 4; ++y) {
    for (uint32_t x = 281; x < 300; ++x) EXPECT_NEAR((indices[y * 300 + x] >> 11) & 31, 15, 1) << x;
  }
}
