// A fixed-rate clock for presenting frames: after each frame, the time to
// wait for the next tick, as the handheld's display paces the viewer.
#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

class FramePacer {
 public:
  using Clock = std::chrono::steady_clock;

  // framesPerSecond is clamped to 1..1000.
  explicit FramePacer(int32_t framesPerSecond);

  Clock::duration period() const { return period_; }
  // Called when a frame has been presented at now: how long to wait for the
  // next tick. Ticks follow each other at exactly the period, so waits do
  // not drift; a frame late by a whole period or more starts the ticks
  // afresh from now instead of rushing to catch up.
  Clock::duration waitAfterFrame(Clock::time_point now);
  // Sleeps until the next tick.
  void waitForNextTick();

 private:
  Clock::duration period_;
  Clock::time_point nextTick_{};
  bool started_ = false;
};

}  // namespace platform
