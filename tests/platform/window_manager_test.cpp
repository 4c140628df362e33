#include <gtest/gtest.h>

#include <vector>

#include "platform/backend.h"
#include "support/headless_fixture.h"

namespace {

struct Seen {
  uint32_t message;
  uintptr_t wParam;
};
std::vector<Seen> seen;

platform::MessageResult recordingProcedure(platform::WindowHandle, uint32_t message, uintptr_t wParam, intptr_t) {
  seen.push_back({message, wParam});
  return 7;
}

class WindowManagerTest : public HeadlessTest {
 protected:
  platform::WindowHandle makeWindow() {
    seen.clear();
    platform::WindowClass windowClass{};
    windowClass.procedure = recordingProcedure;
    windowClass.className = u"test";
    EXPECT_NE(platform::registerClass(windowClass), 0);
    return platform::createWindow(0, u"test", u"title", 0x90000000u, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                                  nullptr);
  }
};

TEST_F(WindowManagerTest, ClassesWindowsAndTheCreateMessage) {
  platform::WindowHandle window = makeWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].message, platform::kMessageCreate);

  platform::WindowClass again{};
  again.procedure = recordingProcedure;
  again.className = u"test";
  EXPECT_EQ(platform::registerClass(again), 0) << "a class name registers once";
  EXPECT_EQ(platform::createWindow(0, u"unknown", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);

  EXPECT_EQ(platform::findWindow(u"test", u"title"), window);
  EXPECT_EQ(platform::findWindow(u"test", u"other"), nullptr);
  EXPECT_EQ(platform::inputWindow(), window);
}

TEST_F(WindowManagerTest, QueueOrderTimersAndQuit) {
  platform::HeadlessOptions unlimited;
  unlimited.frameLimit = 0;
  useBackend(unlimited);
  platform::WindowHandle window = makeWindow();
  platform::postMessage(window, platform::kMessageKeyDown, 0x41, 0);
  platform::postMessage(window, platform::kMessageKeyUp, 0x41, 0);
  platform::setTimer(window, 1024, 100);

  platform::Message message{};
  ASSERT_TRUE(platform::peekMessage(message, nullptr, true));
  EXPECT_EQ(message.message, platform::kMessageKeyDown);
  EXPECT_EQ(platform::dispatchMessage(message), 7);
  ASSERT_TRUE(platform::peekMessage(message, nullptr, true));
  EXPECT_EQ(message.message, platform::kMessageKeyUp);

  // The timer is not due yet: the queue is empty, so a frame may be produced (33 ms each).
  int frames = 0;
  while (!platform::peekMessage(message, nullptr, true)) ++frames;
  EXPECT_EQ(frames, 4) << "due after 100 ms of 33 ms frames";
  EXPECT_EQ(message.message, platform::kMessageTimer);
  EXPECT_EQ(message.wParam, 1024u);

  // A timer repeats until it is killed.
  frames = 0;
  while (!platform::peekMessage(message, nullptr, true)) ++frames;
  EXPECT_EQ(message.message, platform::kMessageTimer);
  EXPECT_TRUE(platform::killTimer(window, 1024));
  EXPECT_FALSE(platform::killTimer(window, 1024));

  platform::postQuitMessage(3);
  ASSERT_TRUE(platform::peekMessage(message, nullptr, true));
  EXPECT_EQ(message.message, platform::kMessageQuit);
  EXPECT_EQ(message.wParam, 3u);
  EXPECT_EQ(platform::countCalls(platform::Call::PostQuit), 1u);
}

}  // namespace
