#include <gtest/gtest.h>

#include <cstring>

#include "display/frame_buffer.h"
#include "panorama/panorama_container.h"
#include "raster/fillers.h"
#include "raster/lines.h"
#include "render/matrix.h"
#include "render/render_context.h"
#include "shell/input_state.h"
#include "shell/view_control.h"
#include "support/headless_fixture.h"

namespace {

int32_t bannerCalls = 0;
int32_t captionCalls = 0;
void countingText(int32_t, int32_t y, int32_t, const char*, int32_t centre) {
  if (centre != 0 && y == 120) ++bannerCalls;
  if (centre == 0) ++captionCalls;
}

class ViewControlTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    renderInit(renderContext);
    matrixStackInit(matrixStack, 4);
    ViewerSettings& settings = panoramaContainer.settings;
    settings.zoomMin = 130;
    settings.zoomMax = 240;
    settings.pitchMin = -512;
    settings.pitchMax = 512;
    viewState.zoom = 130;
    bannerCalls = captionCalls = 0;
  }
  // One frame step as the main loop makes it, without the blit.
  void frame() {
    renderContext.frameCounter += 1;
    updateFrame();
  }
  ViewerSettings& settings() { return panoramaContainer.settings; }
};

TEST_F(ViewControlTest, HeldKeysTurnAtTwoThousandFortyEighthOverZoomAndTheLaterKeyOfAPairWins) {
  viewState.yaw = 100;
  KeyState[kKeyLeft] = KeyState[kKeyRight] = 1;
  frame();
  EXPECT_EQ(viewState.yaw, 115) << "right beats left; 2048 / 130 = 15";
  EXPECT_FALSE(viewState.autoRotate);
  KeyState[kKeyLeft] = KeyState[kKeyRight] = 0;
  KeyState[kKeyUp] = KeyState[kKeyDown] = 1;
  viewState.zoom = 240;
  frame();
  EXPECT_EQ(viewState.pitch, 8) << "down beats up; 2048 / 240 = 8";
  EXPECT_EQ(viewState.yawVelocity, 0) << "velocities end every frame at 0";
}

TEST_F(ViewControlTest, TheIdleViewTurnsRightUntilTheUserActs) {
  viewState.yaw = 0;
  frame();
  frame();
  EXPECT_EQ(viewState.yaw, 30);
  EXPECT_TRUE(viewState.autoRotate);
  stylusState.anchorX = 50;
  stylusState.anchorY = 50;
  frame();
  EXPECT_FALSE(viewState.autoRotate) << "a press without a move stops the turning";
  EXPECT_EQ(viewState.yaw, 45) << "the keys were handled before the press was seen";
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
  EXPECT_EQ(viewState.yaw, 13) << "turns only, by 3";
  EXPECT_EQ(viewState.pitch, 0) << "the drag replaces the keys";
  frame();
  EXPECT_EQ(viewState.yaw, 16) << "the anchor stays: it keeps turning";
  stylusState.currentX = 104;
  stylusState.currentY = 104;  // |dx| = |dy| = 4
  frame();
  EXPECT_EQ(viewState.yaw, 16);
  EXPECT_EQ(viewState.pitch, 4) << "ties tilt";
}

TEST_F(ViewControlTest, YawWrapsAtAWholeTurnAndPitchKeepsItsLimits) {
  struct Case {
    int32_t yaw, velocity, expected;
  } cases[] = {{2040, 8, 2048}, {2040, 15, 7}, {3, -8, 2043}, {2048, 1, 1}, {0, 70000, 70000 & 2047}};
  for (const Case& c : cases) {
    viewState.yaw = c.yaw;
    stylusState = StylusState{0, 0, c.velocity > 0 ? c.velocity : 0, 0, 0};
    if (c.velocity < 0) stylusState = StylusState{-c.velocity, 0, 0, 0, 0};
    frame();
    EXPECT_EQ(viewState.yaw, c.expected) << c.yaw << " + " << c.velocity;
  }
  stylusState = StylusState{-1, -1, -1, -1, 0};
  KeyState[kKeyDown] = 1;
  viewState.pitch = 505;
  frame();
  EXPECT_EQ(viewState.pitch, 512);
  frame();
  EXPECT_EQ(viewState.pitch, 512);
  settings().pitchMin = 600;  // crossed limits: the minimum wins
  frame();
  EXPECT_EQ(viewState.pitch, 600);
  settings().pitchMin = -512;
  settings().pitchMax = INT32_MAX;
  viewState.pitch = INT32_MAX - 3;
  frame();
  EXPECT_EQ(viewState.pitch, INT32_MAX) << "no overflow at the end of the range";
}

TEST_F(ViewControlTest, ZoomKeysStayInTheirLimitsAndNeverReachZero) {
  viewState.zoom = 238;
  KeyState[kKeyZoomIn] = 1;
  frame();
  EXPECT_EQ(viewState.zoom, 240u);
  viewState.autoRotate = true;
  frame();
  EXPECT_EQ(viewState.zoom, 240u);
  EXPECT_FALSE(viewState.autoRotate) << "a zoom key at its limit still stops the turning";
  KeyState[kKeyZoomIn] = 0;

  KeyState[kKeyZoomOut] = 1;
  settings().zoomMin = 0;
  viewState.zoom = 4;
  frame();
  EXPECT_EQ(viewState.zoom, 1u) << "below the step the zoom goes to 0, and 0 becomes 1";
  settings().zoomMax = 0xFFFFFFFFu;
  KeyState[kKeyZoomOut] = 0;
  KeyState[kKeyZoomIn] = 1;
  viewState.zoom = 0xFFFFFFFEu;
  frame();
  EXPECT_EQ(viewState.zoom, 0xFFFFFFFFu) << "zoom-in saturates instead of wrapping";
}

TEST_F(ViewControlTest, ResetRestoresTheStartViewAndShowsTheBannerAgain) {
  char banner[] = "banner";
  panoramaContainer.bannerText = banner;
  settings().bannerFrames = 9;
  settings().initialYaw = 1327;
  settings().initialPitch = 20;
  renderContext.textFunction = countingText;
  for (int i = 0; i < 12; ++i) frame();
  EXPECT_EQ(bannerCalls, 3) << "frames 6, 7 and 8";
  KeyState[kKeyReset] = 1;
  viewState.autoRotate = false;
  frame();
  EXPECT_EQ(KeyState[kKeyReset], 0) << "one-shot";
  EXPECT_EQ(viewState.zoom, 130u) << "initialZoom 0: the reset uses zoomMin";
  EXPECT_EQ(viewState.pitch, 20);
  EXPECT_EQ(viewState.yaw, 1327 + 15) << "auto-rotation is on again and acts in the same frame";
  EXPECT_EQ(renderContext.frameCounter, 0);
  for (int i = 0; i < 8; ++i) frame();
  EXPECT_EQ(bannerCalls, 6);
  panoramaContainer.bannerText = nullptr;
  EXPECT_EQ(captionCalls, 0);
}

TEST_F(ViewControlTest, FillModeKeyTogglesWireFrameAndQuitKeySetsTheFlag) {
  KeyState[kKeyFillMode] = 1;
  frame();
  EXPECT_TRUE(viewState.wireframe);
  EXPECT_EQ(renderContext.triangleFiller, &drawTriangleWire);
  frame();
  EXPECT_TRUE(viewState.wireframe) << "one-shot: acts once per key-down";
  KeyState[kKeyFillMode] = 1;
  frame();
  EXPECT_FALSE(viewState.wireframe);
  EXPECT_EQ(renderContext.triangleFiller, &fillTriangleAffine);
  KeyState[kKeyQuit] = 1;
  frame();
  EXPECT_TRUE(quitRequested);
  EXPECT_EQ(KeyState[kKeyQuit], 0);
}

TEST_F(ViewControlTest, OverlaysLandWithTheirFirstStoredRowAtTheBottomAndAreClipped) {
  uint16_t pixels[40];
  for (int i = 0; i < 40; ++i) pixels[i] = static_cast<uint16_t>(i * 2);
  OverlayBitmap bitmap{10, 4, 40, pixels};
  frameBufferReset();
  drawOverlayBitmap(20, 30, &bitmap);
  // Screen (x, y) is frame-buffer row x, column 319 - y.
  auto screen = [](int x, int y) { return FrameBuffer[x * kFrameColumns + (319 - y)]; };
  EXPECT_EQ(screen(20, 33), pixels[0] + 1) << "first stored row on screen row 33";
  EXPECT_EQ(screen(29, 33), pixels[9] + 1);
  EXPECT_EQ(screen(20, 30), pixels[30] + 1) << "last stored row on top";
  int written = 0;
  for (int32_t cell : FrameBuffer) written += cell != 0 ? 1 : 0;
  EXPECT_EQ(written, 40);

  frameBufferReset();
  drawOverlayBitmap(235, -2, &bitmap);  // hangs over the right and top edges
  written = 0;
  for (int32_t cell : FrameBuffer) written += cell != 0 ? 1 : 0;
  EXPECT_EQ(written, 5 * 2);
  EXPECT_EQ(screen(239, 0), pixels[1 * 10 + 4] + 1) << "stored row 1 is the top one left on screen";
}

}  // namespace
