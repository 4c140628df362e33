#include "platform/headless/event_script.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

TEST(EventScript, ParsesEveryKindCommentsAndHex) {
  std::vector<platform::ScriptedEvent> events;
  std::string error;
  ASSERT_TRUE(platform::parseEventScript("# a comment\n\n1 keydown 0x27\n3 keyup 39  # right\n"
                                         "4 down 10 20\n5 move 239 319\n6 up 0 0\n7 keydown 300\n",
                                         events, error))
      << error;
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[0].frame, 1);
  EXPECT_EQ(events[0].message, platform::kMessageKeyDown);
  EXPECT_EQ(events[0].wParam, 0x27u);
  EXPECT_EQ(events[1].message, platform::kMessageKeyUp);
  EXPECT_EQ(events[1].wParam, 39u);
  EXPECT_EQ(events[2].message, platform::kMessageStylusDown);
  EXPECT_EQ(events[2].lParam, (20 << 16) | 10);
  EXPECT_EQ(events[3].message, platform::kMessageStylusMove);
  EXPECT_EQ(events[3].wParam & platform::kStylusHeldBit, 1u);
  EXPECT_EQ(events[3].lParam, (319 << 16) | 239);
  EXPECT_EQ(events[4].message, platform::kMessageStylusUp);
  EXPECT_EQ(events[5].wParam, 300u) << "codes above 255 travel whole; the window procedure keeps the low 8 bits";
}

TEST(EventScript, RejectsBadLinesNamingThem) {
  const char* bad[] = {"0 keydown 1",  "x keydown 1", "1 jump 2",      "1 keydown",      "1 keydown 0x10000",
                       "1 down 5",     "1 move a b",  "1 keyup 1 2",   "99999999999 keyup 1"};
  for (const char* line : bad) {
    std::vector<platform::ScriptedEvent> events;
    std::string error;
    EXPECT_FALSE(platform::parseEventScript(std::string("1 keydown 1\n") + line + "\n", events, error)) << line;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_TRUE(events.empty());
  }
}

}  // namespace
