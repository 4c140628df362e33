// The scaled and letterboxed screen in a window (window points back to screen
// pixels: the input translator's test).
#include <gtest/gtest.h>

#include "platform/desktop/screen_layout.h"

using platform::fitScreen;

TEST(ScreenLayout, WholeFactorsCentredOrShrunkKeepingTheAspect) {
  // window width, height -> x, y, width, height
  // (480 x 640 and 1920 x 1080 are held by the input translator's letterbox test.)
  const std::array<int32_t, 6> cases[] = {{479, 1000, 119, 340, 240, 320}, {240, 160, 60, 0, 120, 160}, {-5, 100, 0, 49, 1, 1}};
  for (const auto& c : cases) {
    const platform::ScreenRect r = fitScreen(c[0], c[1]);
    EXPECT_EQ((std::array<int32_t, 4>{r.x, r.y, r.width, r.height}), (std::array<int32_t, 4>{c[2], c[3], c[4], c[5]}))
        << c[0] << "x" << c[1];
  }
  // Smooth scaling fills the output: full screen on 1280 x 1024 is 768 x 1024, not 720 x 960.
  const platform::ScreenRect r = fitScreen(1280, 1024, platform::ScreenScaling::Smooth);
  EXPECT_EQ((std::array<int32_t, 4>{r.x, r.y, r.width, r.height}), (std::array<int32_t, 4>{256, 0, 768, 1024}));
}
