// The fixed-rate clock: waits that land every frame on its tick, without
// drift, and no rush after a late frame.
#include <gtest/gtest.h>

#include "platform/desktop/frame_pacer.h"

using platform::FramePacer;
using namespace std::chrono_literals;

TEST(FramePacer, FramesLandOnTicksWithoutDriftAndLateOnesRestart) {
  FramePacer fast(30);
  FramePacer::Clock::time_point now{};
  for (int frame = 0; frame < 300; ++frame) now += 2ms + fast.waitAfterFrame(now + 2ms);
  EXPECT_LE(std::chrono::abs(now - FramePacer::Clock::time_point{} - 2ms - 10s), 1us) << "300 frames at 30 per second";

  FramePacer pacer(10);  // 100 ms ticks
  now = {};
  EXPECT_EQ(pacer.waitAfterFrame(now), 100ms);
  EXPECT_EQ(pacer.waitAfterFrame(now += 130ms), 70ms) << "30 ms late for the tick at 200 ms";
  EXPECT_EQ(pacer.waitAfterFrame(now += 320ms), 100ms) << "the ticks at 300 and 400 ms were missed";
  EXPECT_EQ(pacer.waitAfterFrame(now += 100ms), 100ms) << "ticks now run from the late frame";
  EXPECT_EQ(FramePacer(0).period(), 1s);
  EXPECT_EQ(FramePacer(100000).period(), 1ms);
}
