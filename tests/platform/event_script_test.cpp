// What the script parser accepts is held by the golden screens and the
// headless and command-line runs that play scripts; here what it refuses.
#include "platform/headless/event_script.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

using namespace platform;

TEST(EventScript, RejectsBadLinesNamingThem) {
  const std::string tooLong = "1 keydown 1 #" + std::string(4085, ' ');  // 4097 characters
  const std::string bad[] = {"0 keydown 1",  "x keydown 1", "1 jump 2",      "1 keydown",      "1 keydown 0x10000",
                             "1 down 5",     "1 move a b",  "1 keyup 1 2",   "99999999999 keyup 1", tooLong};
  std::vector<ScriptedEvent> events;
  std::string error;
  for (const std::string& line : bad) {
    EXPECT_FALSE(parseEventScript(std::string("1 keydown 1\n") + line + "\n", events, error)) << line;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_TRUE(events.empty());
  }
  EXPECT_TRUE(parseEventScript(tooLong.substr(0, 4096) + "\n", events, error)) << "4096 characters are a line";
}

}  // namespace
