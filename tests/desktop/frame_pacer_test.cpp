// The fixed-rate clock: waits that land every frame on its tick, without
// drift, and no rush after a late frame.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/sdl/frame_pacer.h"

namespace {

using platform::FramePacer;
using namespace std::chrono_literals;

TEST(FramePacer, FastFramesLandOnTicksWithoutDrift) {
  FramePacer pacer(30);
  FramePacer::Clock::time_point now{};
  const auto start = now;
  for (int frame = 0; frame < 300; ++frame) {
    now += 2ms;  // drawing the frame
    const auto wait = pacer.waitAfterFrame(now);
    EXPECT_GT(wait, FramePacer::Clock::duration::zero());
    now += wait;
  }
  // 300 frames at 30 per second: ten seconds, to within the period's rounding.
  EXPECT_LE(now - start - 2ms, 10s + 1us);
  EXPECT_GE(now - start - 2ms, 10s - 1us);
}

TEST(FramePacer, SlightlyLateFramesCatchUpAndVeryLateOnesRestart) {
  FramePacer pacer(10);  // 100 ms ticks
  FramePacer::Clock::time_point now{};
  EXPECT_EQ(pacer.waitAfterFrame(now), 100ms);  // first tick one period after the first frame
  now += 100ms + 30ms;                          // 30 ms late for the tick at 200 ms
  EXPECT_EQ(pacer.waitAfterFrame(now), 70ms);
  now += 70ms + 250ms;  // at 450 ms: the ticks at 300 and 400 ms were missed
  EXPECT_EQ(pacer.waitAfterFrame(now), 100ms);
  now += 100ms;
  EXPECT_EQ(pacer.waitAfterFrame(now), 100ms) << "ticks now run from the late frame";
}

TEST(FramePacer, RateIsClampedToTheAcceptedRange) {
  EXPECT_EQ(FramePacer(1).period(), 1s);
  EXPECT_EQ(FramePacer(1000).period(), 1ms);
  EXPECT_EQ(FramePacer(0).period(), 1s);
  EXPECT_EQ(FramePacer(-7).period(), 1s);
  EXPECT_EQ(FramePacer(100000).period(), 1ms);
  EXPECT_EQ(std::chrono::duration_cast<std::chrono::nanoseconds>(FramePacer(30).period()).count(), 33333333);
}

}  // namespace
