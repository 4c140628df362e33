#include <gtest/gtest.h>

#include <vector>

#include "platform/backend.h"
#include "support/headless_fixture.h"

namespace {

std::vector<uint32_t> seen;  // the messages the test class's procedure received

platform::MessageResult recordingProcedure(platform::WindowHandle, uint32_t message, uintptr_t, intptr_t) {
  seen.push_back(message);
  return 7;
}

using WindowManagerTest = HeadlessTest;

TEST_F(WindowManagerTest, ClassesWindowsPostedMessagesAndTimers) {
  platform::HeadlessOptions unlimited;
  unlimited.frameLimit = 0;
  useBackend(unlimited);
  platform::WindowClass windowClass{};
  windowClass.procedure = recordingProcedure;
  windowClass.className = u"test";
  EXPECT_NE(platform::registerClass(windowClass), 0);
  EXPECT_EQ(platform::registerClass(windowClass), 0) << "a class name registers once";
  EXPECT_EQ(platform::createWindow(0, u"unknown", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  seen.clear();
  platform::WindowHandle window =
      platform::createWindow(0, u"test", u"title", 0, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(seen, std::vector<uint32_t>{platform::kMessageCreate});
  // Finding the window and posting to it: the start-up and main-loop tests.
  EXPECT_EQ(platform::findWindow(u"test", u"other"), nullptr);
  platform::setTimer(window, 1024, 100);
  platform::Message message{};

  // The timer is not due yet: the queue is empty, so a frame may be produced (33 ms each).
  int frames = 0;
  while (!platform::peekMessage(message, nullptr, true)) ++frames;
  EXPECT_EQ(frames, 4) << "due after 100 ms of 33 ms frames";
  EXPECT_EQ(message.message, platform::kMessageTimer);
  EXPECT_EQ(message.wParam, 1024u);
  while (!platform::peekMessage(message, nullptr, true)) {
  }
  EXPECT_EQ(message.message, platform::kMessageTimer) << "a timer repeats until it is killed";
  EXPECT_TRUE(platform::killTimer(window, 1024));
  EXPECT_FALSE(platform::killTimer(window, 1024));
}

}  // namespace
