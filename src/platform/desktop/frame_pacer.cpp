#include "platform/desktop/frame_pacer.h"

#include <algorithm>
#include <thread>

namespace platform {

FramePacer::FramePacer(int32_t framesPerSecond)
    : period_(std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(1'000'000'000) /
                                                          std::clamp<int32_t>(framesPerSecond, 1, 1000))) {}

FramePacer::Clock::duration FramePacer::waitAfterFrame(Clock::time_point now) {
  if (!started_) {
    started_ = true;
    nextTick_ = now;
  }
  nextTick_ += period_;
  if (nextTick_ <= now) nextTick_ = now + period_;  // late by a period or more
  return nextTick_ - now;
}

void FramePacer::waitForNextTick() { std::this_thread::sleep_for(waitAfterFrame(Clock::now())); }

}  // namespace platform
