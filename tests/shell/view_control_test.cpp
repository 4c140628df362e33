#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "core/frame_buffer.h"
#include "core/render_context.h"
#include "panorama/panorama_container.h"
#include "render/matrix.h"
#include "render/renderer.h"
#include "shell/input_state.h"
#include "shell/view_control.h"
#include "support/headless_fixture.h"

namespace {

int32_t bannerCalls = 0;
void countingText(int32_t, int32_t y, int32_t, const char*, int32_t centre) { bannerCalls += centre != 0 && y == 120; }

using View = std::tuple<int32_t, int32_t, bool>;  // yaw, pitch, turning by itself
View view() { return {viewState.yaw, viewState.pitch, viewState.autoRotate}; }

class ViewControlTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    renderInit(renderContext);
    matrixStackInit(matrixStack, 4);
    settings().zoomMin = 130, settings().zoomMax = 240, settings().pitchMin = -512, settings().pitchMax = 512;
    viewState.zoom = 130;
    bannerCalls = 0;
  }
  // Frame steps as the main loop makes them, without the blit.
  void frame(int count = 1) {
    for (int k = 0; k < count; ++k) renderContext.frameCounter += 1, updateFrame();
  }
  ViewerSettings& settings() { return panoramaContainer.settings; }
};

TEST_F(ViewControlTest, HeldKeysTurnAtTwoThousandFortyEighthOverZoomAndTheLaterKeyOfAPairWins) {
  viewState.yaw = 100;
  KeyState[kKeyLeft] = KeyState[kKeyRight] = 1;
  frame();
  EXPECT_EQ(view(), (View{115, 0, false})) << "right beats left; 2048 / 130 = 15";
  KeyState[kKeyLeft] = KeyState[kKeyRight] = 0;
  KeyState[kKeyUp] = KeyState[kKeyDown] = 1;
  viewState.zoom = 240;
  frame();
  EXPECT_EQ(view(), (View{115, 8, false})) << "down beats up; 2048 / 240 = 8";
  EXPECT_EQ(viewState.yawVelocity, 0) << "velocities end every frame at 0";
}

TEST_F(ViewControlTest, TheIdleViewTurnsRightUntilTheUserActs) {
  frame(2);
  EXPECT_EQ(view(), (View{30, 0, true}));
  stylusState.anchorX = stylusState.anchorY = 50;
  frame();
  EXPECT_EQ(view(), (View{45, 0, false})) << "a press without a move stops the turning, after the keys were handled";
  frame();
  EXPECT_EQ(viewState.yaw, 45);
  KeyState[kKeyRight] = 1;
  frame();
  EXPECT_EQ(viewState.yaw, 60) << "keys still turn until the stylus moves";
}

TEST_F(ViewControlTest, TheDragWorksLikeAJoystickAlongItsDominantAxis) {
  stylusState = StylusState{100, 100, 103, 98, 0};  // dx 3, dy -2
  viewState.yaw = 10;
  KeyState[kKeyUp] = 1;
  frame();
  EXPECT_EQ(view(), (View{13, 0, false})) << "turns only, by 3: the drag replaces the keys";
  frame();
  EXPECT_EQ(viewState.yaw, 16) << "the anchor stays: it keeps turning";
  stylusState.currentX = stylusState.currentY = 104;  // |dx| = |dy| = 4
  frame();
  EXPECT_EQ(view(), (View{16, 4, false})) << "ties tilt";
}

TEST_F(ViewControlTest, YawWrapsAtAWholeTurnAndPitchKeepsItsLimits) {
  const struct { int32_t yaw, velocity, expected; } turns[] = {
      {2040, 8, 2048}, {2040, 15, 7}, {3, -8, 2043}, {2048, 1, 1}, {0, 70000, 70000 & 2047},
      {INT32_MAX, -3, 2044}, {INT32_MIN, 3, 3}};  // a trailer's heading: wraps, defined
  for (const auto& c : turns) {
    viewState.yaw = c.yaw;
    stylusState = c.velocity > 0 ? StylusState{0, 0, c.velocity, 0, 0} : StylusState{-c.velocity, 0, 0, 0, 0};
    frame();
    EXPECT_EQ(viewState.yaw, c.expected) << c.yaw << " + " << c.velocity;
  }
  stylusState = StylusState{-1, -1, -1, -1, 0};
  // The same headings with the turning keys (15 a frame), and the reset to one with auto-rotation.
  const struct { int32_t yaw; uint8_t key; int32_t expected; } keyed[] = {
      {INT32_MAX, kKeyRight, 14}, {INT32_MIN, kKeyLeft, 2033}, {INT32_MAX, kKeyReset, 14}};
  for (const auto& c : keyed) {
    viewState.yaw = settings().initialYaw = c.yaw;
    KeyState[c.key] = 1;
    frame();
    KeyState[c.key] = 0;
    EXPECT_EQ(viewState.yaw, c.expected) << c.yaw;
  }
  KeyState[kKeyDown] = 1;
  const struct { int32_t pitchMin, pitchMax, pitch, expected; } tilts[] = {
      {-512, 512, 505, 512}, {-512, 512, 512, 512},
      {600, 512, 512, 600},                           // crossed limits: the minimum wins
      {-512, INT32_MAX, INT32_MAX - 3, INT32_MAX}};  // no overflow at the end of the range
  for (const auto& c : tilts) {
    settings().pitchMin = c.pitchMin, settings().pitchMax = c.pitchMax, viewState.pitch = c.pitch;
    frame();
    EXPECT_EQ(viewState.pitch, c.expected) << c.pitch;
  }
}

TEST_F(ViewControlTest, ZoomKeysStayInTheirLimitsNeverReachZeroAndStopTheTurning) {
  const struct { uint8_t key; uint32_t zoomMin, zoomMax, zoom, expected; } cases[] = {
      {kKeyZoomIn, 130, 240, 238, 240}, {kKeyZoomIn, 130, 240, 240, 240},
      {kKeyZoomOut, 0, 240, 4, 1},                              // below the step 0, and 0 becomes 1
      {kKeyZoomIn, 0, 0xFFFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFFFu}};  // saturates instead of wrapping
  for (const auto& c : cases) {
    KeyState[kKeyZoomIn] = KeyState[kKeyZoomOut] = 0;
    KeyState[c.key] = 1;
    settings().zoomMin = c.zoomMin, settings().zoomMax = c.zoomMax;
    viewState.zoom = c.zoom, viewState.autoRotate = true;
    frame();
    EXPECT_EQ(viewState.zoom, c.expected) << c.zoom;
    EXPECT_FALSE(viewState.autoRotate) << "a zoom key, even at its limit, stops the turning";
  }
}

TEST_F(ViewControlTest, ResetRestoresTheStartViewAndShowsTheBannerAgain) {
  char banner[] = "banner";
  panoramaContainer.bannerText = banner;
  settings().bannerFrames = 9, settings().initialYaw = 1327, settings().initialPitch = 20;
  renderContext.textFunction = countingText;
  frame(12);
  EXPECT_EQ(bannerCalls, 3) << "frames 6, 7 and 8";
  KeyState[kKeyReset] = 1;
  viewState.autoRotate = false;
  frame();
  EXPECT_EQ(KeyState[kKeyReset], 0) << "one-shot";
  EXPECT_EQ(viewState.zoom, 130u) << "initialZoom 0: the reset uses zoomMin";
  EXPECT_EQ(view(), (View{1327 + 15, 20, true})) << "auto-rotation is on again and acts in the same frame";
  EXPECT_EQ(renderContext.frameCounter, 0);
  frame(8);
  EXPECT_EQ(bannerCalls, 6);
  settings().zoomMin = 0, KeyState[kKeyReset] = 1;
  frame();
  EXPECT_EQ(viewState.zoom, 1u) << "a reset to zoom 0 gives 1";
  panoramaContainer.bannerText = nullptr;
}

TEST_F(ViewControlTest, OverlaysLandWithTheirFirstStoredRowAtTheBottomAndAreClipped) {
  uint16_t pixels[40];
  for (int i = 0; i < 40; ++i) pixels[i] = static_cast<uint16_t>(i * 2);
  const OverlayBitmap bitmap{10, 4, 40, pixels};
  auto cellsDrawnAt = [&](int32_t x, int32_t y) {
    frameBufferReset();
    drawOverlayBitmap(x, y, &bitmap);
    return std::count_if(std::begin(FrameBuffer), std::end(FrameBuffer), [](int32_t cell) { return cell != 0; });
  };
  auto screen = [](int x, int y) { return FrameBuffer[x * kFrameColumns + (319 - y)]; };  // row x, column 319 - y
  EXPECT_EQ(cellsDrawnAt(20, 30), 40);
  EXPECT_EQ(screen(20, 33), pixels[0] + 1) << "first stored row on screen row 33";
  EXPECT_EQ(screen(20, 30), pixels[30] + 1) << "last stored row on top";
  EXPECT_EQ(cellsDrawnAt(235, -2), 5 * 2) << "hangs over the right and top edges";
  EXPECT_EQ(screen(239, 0), pixels[1 * 10 + 4] + 1) << "stored row 1 is the top one left on screen";
}

}  // namespace
