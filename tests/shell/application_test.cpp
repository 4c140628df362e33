// Start-up without a panorama, the entry's window and display sequence, the
// single instance, and the main loop's frames and messages.
#include <gtest/gtest.h>

#include <vector>

#include "core/render_context.h"
#include "panorama/panorama_container.h"
#include "platform/backend.h"
#include "raster/raster_stage.h"
#include "render/depth_buckets.h"
#include "render/matrix.h"
#include "shell/application.h"
#include "shell/input_state.h"
#include "shell/main_window.h"
#include "shell/view_control.h"
#include "support/headless_fixture.h"

namespace {

using platform::Call;

class StartUpTest : public HeadlessTest {
 protected:
  void useNoPanorama() {
    useBackend({.events = {}, .standaloneFile = "/nonexistent/Test.QBZ", .moduleFile = "/nonexistent/viewer"});
  }
};

TEST_F(StartUpTest, WithoutAPanoramaInitFailsReadyTheEntryEndsWithStatus1AndASecondStartCreatesNothing) {
  useNoPanorama();
  stylusState.anchorX = 5;
  EXPECT_FALSE(initApplication());
  // The renderer is ready all the same (the default limits show in the golden screens).
  EXPECT_TRUE(stylusState.anchorX == -1 && renderContext.triangleFiller == &fillTriangleAffine && matrixStack.base != nullptr);

  useNoPanorama();
  static int instance = 0;
  EXPECT_EQ(viewerEntry(&instance, nullptr, u"", 1), 1);
  // The failed start gives back the display and the keys it opened.
  for (Call call : {Call::CreateWindow, Call::GXOpenDisplay, Call::GXOpenInput, Call::GXCloseInput, Call::GXCloseDisplay})
    EXPECT_EQ(platform::countCalls(call), 1u) << static_cast<int>(call);
  EXPECT_EQ(platform::countCalls(Call::GXBeginDraw), 0u) << "no frame without a panorama";
  EXPECT_NE(renderContext.blitFunction, nullptr) << "the blitter is chosen even when loading failed";

  // The failed start left its window: a second start brings it forward and creates nothing.
  EXPECT_EQ(viewerEntry(&instance, nullptr, u"", 1), 0);
  EXPECT_EQ(platform::countCalls(Call::CreateWindow), 1u);
  EXPECT_EQ(platform::countCalls(Call::SetForeground), 1u);
}

std::vector<int32_t> blitFrames;  // frameCounter at each blit
std::vector<size_t> foregroundBeforeBlit;
std::vector<uint32_t> dispatched;

class MainLoopTest : public HeadlessTest {
 protected:
  void start(int32_t frameLimit, std::vector<platform::ScriptedEvent> events = {}) {
    platform::HeadlessOptions options;
    options.frameLimit = frameLimit;
    options.events = std::move(events);
    useBackend(options);
    platform::WindowClass windowClass{};
    windowClass.procedure = [](platform::WindowHandle, uint32_t message, uintptr_t, intptr_t) {
      dispatched.push_back(message);
      return platform::MessageResult{0};
    };
    windowClass.className = u"loop";
    platform::registerClass(windowClass);
    mainWindow = platform::createWindow(0, u"loop", u"loop", 0, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    blitFrames.clear(), foregroundBeforeBlit.clear(), dispatched.clear();
    renderContext = RenderContext{};
    renderContext.blitFunction = [] {
      blitFrames.push_back(renderContext.frameCounter);
      foregroundBeforeBlit.push_back(platform::countCalls(Call::SetForeground));
      return int32_t{1};
    };
    bucketsReset(depthBuckets);
    matrixStackInit(matrixStack, 4);
  }
};

TEST_F(MainLoopTest, WaitingMessagesComeFirstTheQuitMessageEndsTheLoopAndEveryFrameBlits) {
  start(0, {{1, platform::kMessageKeyDown, 1, 0}, {1, platform::kMessageKeyUp, 1, 0}});
  // Two messages wait before the first frame; a quit posted with them ends the loop before any frame.
  platform::postMessage(mainWindow, platform::kMessageStylusDown, 0, 0);
  platform::postQuitMessage(42);
  EXPECT_EQ(runMainLoop(), 42);
  EXPECT_EQ(dispatched, std::vector<uint32_t>{platform::kMessageStylusDown});
  EXPECT_TRUE(blitFrames.empty());

  // Every frame counts up and blits; every 16th first brings the window forward.
  start(32, {{2, platform::kMessageKeyDown, 1, 0}});
  EXPECT_EQ(runMainLoop(), 0);
  EXPECT_EQ(dispatched, std::vector<uint32_t>{platform::kMessageKeyDown});
  ASSERT_EQ(blitFrames.size(), 32u);
  EXPECT_TRUE(blitFrames[15] == 16 && blitFrames[31] == 32 && foregroundBeforeBlit[14] == 0 &&
              foregroundBeforeBlit[15] == 1 && foregroundBeforeBlit[31] == 2);
}

}  // namespace
