#include "platform/headless/event_script.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/platform.h"

namespace {

using namespace platform;

TEST(EventScript, ParsesEveryKindCommentsAndHex) {
  std::vector<ScriptedEvent> events;
  std::string error;
  ASSERT_TRUE(parseEventScript("# a comment\n\n1 keydown 0x27\n3 keyup 39  # right\n"
                               "4 down 10 20\n5 move 239 319\n6 up 0 0\n7 keydown 300\n",
                               events, error))
      << error;
  std::vector<std::tuple<int32_t, uint32_t, uintptr_t, intptr_t>> parsed;
  for (const ScriptedEvent& e : events) parsed.emplace_back(e.frame, e.message, e.wParam, e.lParam);
  // Codes above 255 travel whole (the window procedure keeps the low 8 bits); the stylus is held until it is up.
  EXPECT_EQ(parsed, (decltype(parsed){{1, kMessageKeyDown, 0x27, 0}, {3, kMessageKeyUp, 39, 0},
                                      {4, kMessageStylusDown, kStylusHeldBit, (20 << 16) | 10},
                                      {5, kMessageStylusMove, kStylusHeldBit, (319 << 16) | 239},
                                      {6, kMessageStylusUp, 0, 0}, {7, kMessageKeyDown, 300, 0}}));
}

TEST(EventScript, RejectsBadLinesNamingThem) {
  const std::string tooLong = "1 keydown 1 #" + std::string(4085, ' ');  // 4097 characters
  const std::string bad[] = {"0 keydown 1",  "x keydown 1", "1 jump 2",      "1 keydown",      "1 keydown 0x10000",
                             "1 down 5",     "1 move a b",  "1 keyup 1 2",   "99999999999 keyup 1", tooLong};
  for (const std::string& line : bad) {
    std::vector<ScriptedEvent> events;
    std::string error;
    EXPECT_FALSE(parseEventScript(std::string("1 keydown 1\n") + line + "\n", events, error)) << line;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_TRUE(events.empty());
  }
  std::vector<ScriptedEvent> events;
  std::string error;
  EXPECT_TRUE(parseEventScript(tooLong.substr(0, 4096) + "\n", events, error)) << "4096 characters are a line";
}

}  // namespace
