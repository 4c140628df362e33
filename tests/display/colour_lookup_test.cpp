#include <gtest/gtest.h>

#include "display/colour_lookup.h"

namespace {

TEST(ColourLookup, EveryIndexMatchesTheBrightnessFormulas) {
  buildColourLookup();
  for (uint32_t index = 0; index < 65536; ++index) {
    const uint32_t r = index >> 11, g = (index >> 6) & 31, b = (index >> 1) & 31;
    const uint32_t expected = (index & 1) != 0 ? r * 2048 + (2 * g + 1) * 32 + b : (r >> 1) * 2048 + g * 32 + (b >> 1);
    ASSERT_EQ(ColourLookup[index], expected) << "index " << index;
  }
  EXPECT_EQ(ColourLookup[0x0001], 0x0020);  // full-brightness black keeps the lowest green bit
  EXPECT_EQ(ColourLookup[0xFC81], 0xFCA0);  // the container's text colour
}

}  // namespace
