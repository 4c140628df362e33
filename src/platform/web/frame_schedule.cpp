#include "platform/web/frame_schedule.h"

namespace platform {

namespace {

// Animation frames arrive at the display's rate with some jitter: a tick
// that is early by less than this still counts, or 60 Hz displays would
// run the viewer at 20 frames a second instead of 30.
constexpr int64_t kEarlyToleranceUs = 4000;

}  // namespace

bool FrameSchedule::due(int64_t nowUs) {
  if (!started_) {
    started_ = true;
    nextUs_ = nowUs + periodUs_;
    return true;
  }
  if (nowUs + kEarlyToleranceUs < nextUs_) return false;
  nextUs_ += periodUs_;
  if (nowUs - nextUs_ >= periodUs_) nextUs_ = nowUs + periodUs_;
  return true;
}

}  // namespace platform
