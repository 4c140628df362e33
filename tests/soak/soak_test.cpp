// Random input for tens of thousands of frames through the real viewer, and
// the promise that a frame allocates nothing. Meant for the sanitizer build
// too: no crash, no report, no growth.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "core/render_context.h"
#include "panorama/container_writer.h"
#include "platform/atomic_file.h"
#include "platform/host/headless_host.h"
#include "shell/application.h"
#include "shell/input_state.h"
#include "support/grid_panorama.h"
#include "support/headless_fixture.h"
#include "support/scratch_directory.h"

namespace {

std::atomic<long> allocations{0};
std::atomic<long> liveAllocations{0};

void* countedAllocation(std::size_t size) noexcept {
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) return nullptr;
  allocations.fetch_add(1, std::memory_order_relaxed);
  liveAllocations.fetch_add(1, std::memory_order_relaxed);
  return memory;
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* memory = countedAllocation(size)) return memory;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return countedAllocation(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return countedAllocation(size); }
void operator delete(void* memory) noexcept {
  if (memory == nullptr) return;
  liveAllocations.fetch_sub(1, std::memory_order_relaxed);
  std::free(memory);
}
void operator delete[](void* memory) noexcept { operator delete(memory); }
void operator delete(void* memory, std::size_t) noexcept { operator delete(memory); }
void operator delete[](void* memory, std::size_t) noexcept { operator delete(memory); }

namespace {

std::string writeContainer(const ScratchDirectory& dir) {
  EXPECT_TRUE(platform::writeFileAtomically(dir.path("grid.qbz"), encodeContainer(golden::gridPanorama(256, 32), true)));
  return dir.path("grid.qbz");
}

TEST(Soak, RandomKeysAndStylusForTwentyThousandFramesEndCleanly) {
  std::mt19937 random(20261206);
  constexpr int32_t kFrames = 20000;
  const ScratchDirectory dir;
  platform::HeadlessRun run;
  run.options.frameLimit = 0;  // the run ends with the quit key below
  run.options.standaloneFile = writeContainer(dir);
  run.options.moduleFile = "/nonexistent/viewer";
  std::uniform_int_distribution<int> coordinate(-40000, 70000);
  const uint32_t messages[] = {platform::kMessageStylusDown, platform::kMessageStylusMove, platform::kMessageStylusUp};
  for (int32_t frame = 1; frame < kFrames; ++frame) {
    const uint32_t what = random() % 10;
    if (what < 4) {  // any key code but the two quit buttons, which would end the run early
      const uintptr_t key = random() & 0xFFFF;
      const bool quits = (key & 0xFF) == 0xC1 || (key & 0xFF) == 0xC5;
      run.options.events.push_back({frame, what < 2 ? platform::kMessageKeyDown : platform::kMessageKeyUp, key + quits, 0});
    } else if (what < 8) {  // stylus mostly on the screen, sometimes far outside it
      const bool wild = (random() & 7) == 0;
      const int x = wild ? coordinate(random) : static_cast<int>(random() % 240);
      const int y = wild ? coordinate(random) : static_cast<int>(random() % 320);
      const uint32_t message = messages[what % 3];
      run.options.events.push_back({frame, message, message == platform::kMessageStylusUp ? 0u : 1u,
                                    platform::stylusPosition(x, y)});
    }
  }
  run.options.events.push_back({kFrames, platform::kMessageKeyDown, 0xC5, 0});

  platform::HeadlessRun warmUp = run;
  warmUp.options.events.clear();
  warmUp.options.frameLimit = 3;
  platform::runHeadless(warmUp);  // first-use allocations of the libraries
  const long liveBefore = liveAllocations.load();
  {
    const platform::HeadlessResult result = platform::runHeadless(run);
    EXPECT_EQ(result.exitCode, 0) << result.error;
    EXPECT_EQ(result.framesProduced, kFrames - 1) << "quit before frame 20000";
  }
  EXPECT_EQ(liveAllocations.load(), liveBefore) << "everything the run allocated is released";
}

class FrameAllocations : public HeadlessTest {};

TEST_F(FrameAllocations, AFrameAllocatesNothingWhateverTheInput) {
  const ScratchDirectory dir;
  ASSERT_TRUE(startViewer({.events = {}, .standaloneFile = writeContainer(dir), .moduleFile = "/nonexistent/viewer"}));
  renderContext.blitFunction = [] { return int32_t{0}; };
  std::mt19937 random(7);
  const long before = allocations.load();
  for (int frame = 0; frame < 3000; ++frame) {
    KeyState[random() & 0xFF] = static_cast<uint8_t>(random() & 1);
    KeyState[kKeyQuit] = 0;
    stylusState.anchorX = (random() & 3) == 0 ? -1 : static_cast<int32_t>(random() % 240);
    stylusState.anchorY = static_cast<int32_t>(random() % 320);
    stylusState.currentX = static_cast<int32_t>(random() % 240);
    stylusState.currentY = static_cast<int32_t>(random() % 320);
    produceFrame();
  }
  EXPECT_EQ(allocations.load(), before);
}

}  // namespace
