// The scaled and letterboxed screen in a window, and window points back to
// screen pixels.
#include <gtest/gtest.h>

#include "platform/sdl/screen_layout.h"

namespace {

using platform::fitScreen;
using platform::ScreenRect;
using platform::screenPointAt;

void expectRect(const ScreenRect& rect, int32_t x, int32_t y, int32_t width, int32_t height) {
  EXPECT_EQ(rect.x, x);
  EXPECT_EQ(rect.y, y);
  EXPECT_EQ(rect.width, width);
  EXPECT_EQ(rect.height, height);
}

TEST(ScreenLayout, WholeFactorsCentredWithTheirLetterbox) {
  expectRect(fitScreen(240, 320), 0, 0, 240, 320);
  expectRect(fitScreen(480, 640), 0, 0, 480, 640);
  expectRect(fitScreen(720, 960), 0, 0, 720, 960);
  // A full-HD screen: factor 3 (960 high), bars left and right, 60 above and below.
  expectRect(fitScreen(1920, 1080), 600, 60, 720, 960);
  // A tall output: the width limits the factor.
  expectRect(fitScreen(500, 2000), 10, 680, 480, 640);
  // Just short of factor 2 in one direction.
  expectRect(fitScreen(479, 1000), 119, 340, 240, 320);
}

TEST(ScreenLayout, OutputsSmallerThanTheScreenShrinkKeepingTheAspect) {
  expectRect(fitScreen(120, 320), 0, 80, 120, 160);
  expectRect(fitScreen(240, 160), 60, 0, 120, 160);
  expectRect(fitScreen(0, 0), 0, 0, 1, 1);
  expectRect(fitScreen(-5, 100), 0, 49, 1, 1);
}

TEST(ScreenLayout, WindowPointsToScreenPixels) {
  const ScreenRect doubled = fitScreen(480, 640);
  EXPECT_EQ(screenPointAt(doubled, 0, 0).x, 0);
  EXPECT_EQ(screenPointAt(doubled, 1, 1).y, 0);
  EXPECT_EQ(screenPointAt(doubled, 2, 3).x, 1);
  EXPECT_EQ(screenPointAt(doubled, 2, 3).y, 1);
  EXPECT_EQ(screenPointAt(doubled, 479, 639).x, 239);
  EXPECT_EQ(screenPointAt(doubled, 479, 639).y, 319);
  EXPECT_EQ(screenPointAt(doubled, 241, 101).x, 120);
  EXPECT_EQ(screenPointAt(doubled, 241, 101).y, 50);

  // Outside the window (the mouse is captured while the button is held): clamped.
  EXPECT_EQ(screenPointAt(doubled, -40, 700).x, 0);
  EXPECT_EQ(screenPointAt(doubled, -40, 700).y, 319);
  EXPECT_EQ(screenPointAt(doubled, 100000, -1).x, 239);
  EXPECT_EQ(screenPointAt(doubled, 100000, -1).y, 0);
  EXPECT_EQ(screenPointAt(doubled, INT32_MIN, INT32_MAX).x, 0);
  EXPECT_EQ(screenPointAt(doubled, INT32_MIN, INT32_MAX).y, 319);
}

TEST(ScreenLayout, LetterboxOffsetsAreRemoved) {
  const ScreenRect fullHd = fitScreen(1920, 1080);  // (600, 60), 720 x 960
  EXPECT_EQ(screenPointAt(fullHd, 600, 60).x, 0);
  EXPECT_EQ(screenPointAt(fullHd, 600, 60).y, 0);
  EXPECT_EQ(screenPointAt(fullHd, 602, 62).x, 0);
  EXPECT_EQ(screenPointAt(fullHd, 603, 63).x, 1);
  EXPECT_EQ(screenPointAt(fullHd, 603, 63).y, 1);
  EXPECT_EQ(screenPointAt(fullHd, 1319, 1019).x, 239);
  EXPECT_EQ(screenPointAt(fullHd, 1319, 1019).y, 319);
  // In the bars: the nearest edge pixel.
  EXPECT_EQ(screenPointAt(fullHd, 10, 500).x, 0);
  EXPECT_EQ(screenPointAt(fullHd, 1900, 500).x, 239);
  EXPECT_EQ(screenPointAt(fullHd, 900, 5).y, 0);
  EXPECT_EQ(screenPointAt(fullHd, 900, 1075).y, 319);

  const ScreenRect shrunk = fitScreen(120, 320);  // (0, 80), 120 x 160: half size
  EXPECT_EQ(screenPointAt(shrunk, 60, 160).x, 120);
  EXPECT_EQ(screenPointAt(shrunk, 60, 160).y, 160);
  EXPECT_EQ(screenPointAt(shrunk, 119, 239).x, 238);
  EXPECT_EQ(screenPointAt(shrunk, 119, 239).y, 318);
}

}  // namespace
