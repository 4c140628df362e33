// Which of the browser's animation frames (60 a second or more, at display
// rate) run a viewer frame, so that the viewer runs at 30 frames a second
// like the handheld's display.
#pragma once

#include <cstdint>

namespace platform {

class FrameSchedule {
 public:
  // periodUs: the viewer's frame period (33333 for 30 frames a second).
  explicit FrameSchedule(int64_t periodUs) : periodUs_(periodUs) {}

  // Called on every animation frame with the browser's timestamp: true when
  // a viewer frame is due. Due times follow each other at exactly the period,
  // so the rate does not drift with the display's; a tick a whole period
  // late or more (a hidden tab, a slow machine) starts afresh from now
  // instead of rushing to catch up.
  bool due(int64_t nowUs);

 private:
  int64_t periodUs_;
  int64_t nextUs_ = 0;
  bool started_ = false;
};

}  // namespace platform
