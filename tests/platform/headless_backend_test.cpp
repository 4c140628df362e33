#include "platform/headless/headless_backend.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "support/headless_fixture.h"
#include "support/scratch_directory.h"

namespace {

using HeadlessBackendTest = HeadlessTest;

// Every message up to the quit: (frames produced so far, message, wParam).
std::vector<std::tuple<int32_t, uint32_t, uintptr_t>> arrivalsOf(platform::HeadlessBackend& backend) {
  std::vector<std::tuple<int32_t, uint32_t, uintptr_t>> arrivals;
  for (platform::Message message{}; message.message != platform::kMessageQuit;) {
    if (platform::peekMessage(message, nullptr, true)) {
      arrivals.emplace_back(backend.framesProduced(), message.message, message.wParam);
    }
  }
  return arrivals;
}

TEST_F(HeadlessBackendTest, ALongScriptIsReadFrameByFrameAndArrivesAsAHeldOne) {
  const ScratchDirectory scratch;
  const std::string path = scratch.path("long.events");
  std::string text;
  for (size_t k = 0; k <= platform::kMaxHeldEvents; ++k) {
    text += std::to_string(1 + k * 4 / platform::kMaxHeldEvents) + (k % 2 ? " keyup " : " keydown ") +
            std::to_string(k % 256) + "\n";
  }
  std::ofstream(path) << text;
  platform::EventScriptSource source;
  std::string error;
  ASSERT_TRUE(platform::loadEventScript(path, source, error)) << error;
  EXPECT_TRUE(source.events.empty());
  ASSERT_EQ(source.streamedPath, path);

  platform::HeadlessOptions options;
  options.frameLimit = 6;
  ASSERT_TRUE(platform::parseEventScript(text, options.events, error));
  useBackend(options);
  const auto held = arrivalsOf(headless());
  options.events.clear();
  options.streamedEvents = source.streamedPath;
  useBackend(options);
  EXPECT_EQ(arrivalsOf(headless()), held);
  EXPECT_EQ(held.size(), platform::kMaxHeldEvents + 2);
  useBackend({});  // lets go of the script, which Windows will not remove while it is open

  // Out of frame order, so long a script is refused, naming the first line out of order.
  std::ofstream(path) << "3 keydown 1\n2 keyup 1\n" << text;
  EXPECT_FALSE(platform::loadEventScript(path, source, error));
  EXPECT_NE(error.find("line 2: frame 2 comes after frame 3"), std::string::npos) << error;
}

TEST_F(HeadlessBackendTest, HandheldPathsMapOntoHostFiles) {
  useBackend({.events = {}, .standaloneFile = "/some/panorama.qbz", .moduleFile = "/some/viewer"});
  EXPECT_EQ(headless().mapPath("\\Temp\\Test.QBZ"), "/some/panorama.qbz");
  EXPECT_EQ(headless().mapPath("\\temp\\test.qbz"), "/some/panorama.qbz") << "the handheld's paths ignore case";
  EXPECT_EQ(headless().mapPath("\\Windows\\x"), "");
  EXPECT_EQ(headless().mapPath("\\Temp\\..\\etc"), "");
  char16_t name[260];
  EXPECT_EQ(platform::moduleFileName(name, 260), 12u);
  EXPECT_EQ(std::u16string(name), u"/some/viewer");
  EXPECT_EQ(platform::moduleFileName(name, 5), 0u) << "a path that does not fit is a failure";
}

}  // namespace
