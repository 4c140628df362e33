#include <gtest/gtest.h>

#include <vector>

#include "platform/backend.h"
#include "render/depth_buckets.h"
#include "render/matrix.h"
#include "render/render_context.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "support/headless_fixture.h"

namespace {

std::vector<int32_t> blitFrames;  // frameCounter at each blit
std::vector<size_t> foregroundBeforeBlit;

int32_t countingBlit() {
  blitFrames.push_back(renderContext.frameCounter);
  foregroundBeforeBlit.push_back(platform::countCalls(platform::Call::SetForeground));
  return 1;
}

std::vector<uint32_t> dispatched;
platform::MessageResult recordingProcedure(platform::WindowHandle, uint32_t message, uintptr_t, intptr_t) {
  dispatched.push_back(message);
  return 0;
}

class MainLoopTest : public HeadlessTest {
 protected:
  void start(int32_t frameLimit, std::vector<platform::ScriptedEvent> events = {}) {
    platform::HeadlessOptions options;
    options.frameLimit = frameLimit;
    options.events = std::move(events);
    useBackend(options);
    blitFrames.clear();
    foregroundBeforeBlit.clear();
    dispatched.clear();
    platform::WindowClass windowClass{};
    windowClass.procedure = recordingProcedure;
    windowClass.className = u"loop";
    platform::registerClass(windowClass);
    mainWindow = platform::createWindow(0, u"loop", u"loop", 0, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    dispatched.clear();
    renderContext = RenderContext{};
    renderContext.blitFunction = countingBlit;
    bucketsReset(depthBuckets);
    matrixStackInit(matrixStack, 4);
  }
};

TEST_F(MainLoopTest, EveryFrameCountsUpAndBlitsAndEvery16thBringsTheWindowForward) {
  start(48);
  EXPECT_EQ(runMainLoop(), 0);
  ASSERT_EQ(blitFrames.size(), 48u);
  for (size_t i = 0; i < blitFrames.size(); ++i) EXPECT_EQ(blitFrames[i], static_cast<int32_t>(i + 1));
  EXPECT_EQ(foregroundBeforeBlit[14], 0u);
  EXPECT_EQ(foregroundBeforeBlit[15], 1u) << "frame 16";
  EXPECT_EQ(foregroundBeforeBlit[30], 1u);
  EXPECT_EQ(foregroundBeforeBlit[31], 2u) << "frame 32";
  EXPECT_EQ(foregroundBeforeBlit[47], 3u) << "frame 48";
}

TEST_F(MainLoopTest, WaitingMessagesComeFirstAndTheQuitMessageEndsTheLoopWithItsCode) {
  start(0, {{1, platform::kMessageKeyDown, 1, 0}, {1, platform::kMessageKeyUp, 1, 0}});
  // Two messages wait before the first frame; a quit posted with them ends the loop before any frame.
  platform::postMessage(mainWindow, platform::kMessageStylusDown, 0, 0);
  platform::postQuitMessage(42);
  EXPECT_EQ(runMainLoop(), 42);
  EXPECT_EQ(dispatched, std::vector<uint32_t>{platform::kMessageStylusDown});
  EXPECT_TRUE(blitFrames.empty());

  start(2, {{2, platform::kMessageKeyDown, 1, 0}});
  EXPECT_EQ(runMainLoop(), 0);
  EXPECT_EQ(blitFrames.size(), 2u);
  EXPECT_EQ(dispatched, std::vector<uint32_t>{platform::kMessageKeyDown});
}

TEST_F(MainLoopTest, TheBucketsAreDrainedOnlyWhenSomethingWasQueued) {
  start(1);
  depthBuckets.minBucket = 77;  // a drain would reset this
  produceFrame();
  EXPECT_EQ(depthBuckets.minBucket, 77);
  EXPECT_EQ(blitFrames.size(), 1u);
}

}  // namespace
