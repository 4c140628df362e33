#include "platform/headless/headless_backend.h"

#include <gtest/gtest.h>

#include "support/headless_fixture.h"

namespace {

using HeadlessBackendTest = HeadlessTest;

TEST_F(HeadlessBackendTest, EventsOfAFrameArriveBeforeItAndTheRunEndsAfterTheLastFrame) {
  platform::HeadlessOptions options;
  options.frameLimit = 3;
  options.events = {{3, platform::kMessageKeyDown, 0x25, 0}, {1, platform::kMessageKeyDown, 0x27, 0},
                    {1, platform::kMessageKeyUp, 0x27, 0}};
  useBackend(options);
  std::vector<std::pair<int32_t, uintptr_t>> arrivals;  // (frames produced so far, wParam)
  platform::Message message{};
  while (message.message != platform::kMessageQuit) {
    if (!platform::peekMessage(message, nullptr, true)) continue;
    arrivals.emplace_back(headless().framesProduced(), message.wParam);
  }
  arrivals.pop_back();  // the quit
  EXPECT_EQ(arrivals, (std::vector<std::pair<int32_t, uintptr_t>>{{0, 0x27}, {0, 0x27}, {2, 0x25}}))
      << "frame 1's events come before frame 1, frame 3's after frame 2";
  EXPECT_EQ(headless().framesProduced(), 3);
  EXPECT_EQ(headless().nowMs(), 3u * 33u);
}

TEST_F(HeadlessBackendTest, HandheldPathsMapOntoHostFiles) {
  platform::HeadlessOptions options;
  options.standaloneFile = "/some/panorama.qbz";
  options.moduleFile = "/some/viewer";
  useBackend(options);
  EXPECT_EQ(headless().mapPath("\\Temp\\Test.QBZ"), "/some/panorama.qbz");
  EXPECT_EQ(headless().mapPath("\\temp\\test.qbz"), "/some/panorama.qbz") << "the handheld's paths ignore case";
  EXPECT_EQ(headless().mapPath("\\Windows\\x"), "");
  EXPECT_EQ(headless().mapPath("\\Temp\\..\\etc"), "");
  char16_t name[260];
  EXPECT_EQ(platform::moduleFileName(name, 260), 12u);
  EXPECT_EQ(std::u16string(name), u"/some/viewer");
  EXPECT_EQ(platform::moduleFileName(name, 5), 0u) << "a path that does not fit is a failure";

  useBackend(platform::HeadlessOptions{});
  EXPECT_NE(headless().mapPath("\\Temp\\Test.QBZ").find("Test.QBZ"), std::string::npos);
  EXPECT_FALSE(headless().moduleFilePath().empty());
}

}  // namespace
