// The browser's backend without a browser: its frames against the headless
// host's, its input through the desktop key table and the no-lost-taps rule,
// and the 30 fps schedule on displays of other rates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "panorama/container_writer.h"
#include "platform/atomic_file.h"
#include "platform/backend.h"
#include "platform/host/headless_host.h"
#include "platform/pixel_widening.h"
#include "platform/web/frame_schedule.h"
#include "platform/web/web_backend.h"
#include "platform/web/web_input.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "support/grid_panorama.h"
#include "support/headless_fixture.h"
#include "support/scratch_directory.h"

namespace {

using platform::kMessageKeyDown;
using platform::kMessageKeyUp;
using platform::kMessageStylusDown;
using platform::kMessageStylusMove;
using platform::kMessageStylusUp;

// The viewer on the web backend, driven as the page drives it; the headless
// fixture puts every global back afterwards.
class WebViewer : public HeadlessTest {
 protected:
  bool start(const std::string& panorama) {
    platform::resetWindowManager();
    web_ = std::make_unique<platform::WebBackend>(panorama);
    platform::installBackend(web_.get());
    resetApplication();
    static int instanceTag = 0;
    int32_t exitCode = 0;
    return viewerStartUp(&instanceTag, nullptr, u"", 1, exitCode);
  }
  bool frame() {
    int32_t exitCode = 0;
    const bool running = stepMainLoop(exitCode);
    input_.frameDone();
    return running;
  }

  ScratchDirectory scratch_;
  std::unique_ptr<platform::WebBackend> web_;
  platform::WebInput input_;
};

// The same input before the same frames gives the headless host's screens,
// widened as the screenshots widen them, through an appended trailer too.
TEST_F(WebViewer, FramesAreTheHeadlessFramesForTheSameInput) {
  AppendedExtras extras;
  ViewerSettings& s = extras.settings;
  s.initialYaw = 300, s.initialZoom = 150, s.zoomMin = 100, s.zoomMax = 300;
  s.captionColour = 0xFFFF, s.captionX = 10, s.captionY = 300;
  extras.caption = "web";
  const std::vector<uint8_t> file =
      encodeAppended({}, encodeContainer(golden::gridPanorama(64, 16), true), extras);
  const std::string path = scratch_.path("grid.qbz");
  ASSERT_TRUE(platform::writeFileAtomically(path, file));

  platform::HeadlessRun run;
  run.options.moduleFile = path;
  run.options.frameLimit = 8;
  run.options.events = {{3, kMessageKeyDown, 0x24, 0}, {4, kMessageKeyUp, 0x24, 0},
                        {5, kMessageStylusDown, 1, platform::stylusPosition(100, 100)},
                        {6, kMessageStylusMove, 1, platform::stylusPosition(140, 90)}};
  const platform::HeadlessResult expected = platform::runHeadless(run);
  ASSERT_EQ(expected.exitCode, 0);

  ASSERT_TRUE(start(path));
  for (int32_t f = 1; f <= 8; ++f) {
    if (f == 3) input_.key("KeyW", "w", true, false, 0), input_.key("KeyW", "w", false, false, 0);  // a tap
    if (f == 5) input_.pointer(platform::PointerKind::Down, 200.0, 200.0, 480.0, 640.0);
    if (f == 6) input_.pointer(platform::PointerKind::Move, 281.0, 181.5, 480.0, 640.0);
    ASSERT_TRUE(frame());
  }
  EXPECT_EQ(web_->framesProduced(), 8);
  const auto& canvas = web_->canvas();
  for (size_t i = 0; i < expected.screen.size(); ++i) {
    const uint16_t pixel = expected.screen[i];
    const uint8_t want[4] = {platform::widenRed(pixel), platform::widenGreen(pixel), platform::widenBlue(pixel), 0xFF};
    ASSERT_EQ(0, std::memcmp(&canvas[4 * i], want, 4)) << "pixel " << i;
  }
}

// Keys go through the desktop table; the viewer's messages reach its window.
TEST_F(WebViewer, KeysAndPointerBecomeHandheldMessages) {
  start("/nonexistent");  // the window exists even when nothing loads
  platform::WebInput input;
  // DOM code, key, modifiers, what the page does with it, the handheld key sent (0: none).
  const std::tuple<const char*, const char*, uint32_t, platform::PageKeyUse, uintptr_t> cases[] = {
      {"ArrowLeft", "ArrowLeft", 0, platform::PageKeyUse::Viewer, 0x25},
      {"BracketRight", "+", 1, platform::PageKeyUse::Viewer, 0xC3},  // '+' on a German layout
      {"F12", "F12", 0, platform::PageKeyUse::SaveScreen, 0},
      {"Escape", "Escape", 0, platform::PageKeyUse::Ignored, 0},  // the browser's own
  };
  platform::Message message{};
  for (const auto& [code, key, modifiers, use, virtualKey] : cases) {
    SCOPED_TRACE(code);
    EXPECT_EQ(input.key(code, key, true, false, modifiers), use);
    EXPECT_EQ(input.key(code, key, true, true, modifiers), virtualKey != 0 ? use : platform::PageKeyUse::Ignored);
    if (virtualKey == 0) {
      EXPECT_FALSE(platform::peekMessage(message, nullptr, true));
      continue;
    }
    ASSERT_TRUE(platform::peekMessage(message, nullptr, true));
    EXPECT_TRUE(message.message == kMessageKeyDown && message.wParam == virtualKey && message.window == mainWindow);
    input.key(code, key, false, false, 0);
    EXPECT_FALSE(platform::peekMessage(message, nullptr, true));  // held until a frame has seen the press
    input.frameDone();
    ASSERT_TRUE(platform::peekMessage(message, nullptr, true));
    EXPECT_TRUE(message.message == kMessageKeyUp && message.wParam == virtualKey);
  }

  // The pointer over a canvas box of any size lands on the 240 x 320 screen.
  input.pointer(platform::PointerKind::Move, 10, 10, 480, 640);  // not pressed: no move
  input.pointer(platform::PointerKind::Down, 479.9, 0.4, 480, 640);
  input.pointer(platform::PointerKind::Move, -30, 9000, 480, 640);
  input.pointer(platform::PointerKind::Move, std::nan(""), 5, 0, 640);
  input.frameDone();
  input.releaseAll();  // the page lost the focus
  const platform::Message expected[] = {
      {mainWindow, kMessageStylusDown, 1, platform::stylusPosition(239, 0)},
      {mainWindow, kMessageStylusMove, 1, platform::stylusPosition(0, 319)},
      {mainWindow, kMessageStylusMove, 1, platform::stylusPosition(0, 2)},
      {mainWindow, kMessageStylusUp, 0, platform::stylusPosition(0, 2)},
  };
  for (const platform::Message& want : expected) {
    ASSERT_TRUE(platform::peekMessage(message, nullptr, true));
    EXPECT_EQ(std::tie(message.message, message.wParam, message.lParam), std::tie(want.message, want.wParam, want.lParam));
  }
}

// Viewer frames per second of displays at 60, 75 and 144 Hz, with jitter.
TEST(FrameSchedule, RunsThirtyFramesASecondOnAnyDisplay) {
  for (const int64_t hertz : {60, 75, 144}) {
    platform::FrameSchedule schedule(1000000 / 30);
    int frames = 0;
    for (int64_t tick = 0; tick < hertz * 10; ++tick) {
      const int64_t jitter = (tick % 3 - 1) * 1500;
      frames += schedule.due(tick * 1000000 / hertz + jitter) ? 1 : 0;
    }
    EXPECT_NEAR(frames, 300, 2) << hertz << " Hz";
  }
  platform::FrameSchedule schedule(1000000 / 30);
  EXPECT_TRUE(schedule.due(0));
  EXPECT_TRUE(schedule.due(5000000));    // a hidden tab comes back: one frame, then the period again
  EXPECT_FALSE(schedule.due(5016000));
  EXPECT_TRUE(schedule.due(5034000));
}

}  // namespace
