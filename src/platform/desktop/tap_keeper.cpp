#include "platform/desktop/tap_keeper.h"

#include "platform/platform.h"

namespace platform {

size_t TapKeeper::channelOf(const InputMessage& input) {
  switch (input.message) {
    case kMessageKeyDown:
    case kMessageKeyUp: return static_cast<size_t>(input.wParam & 0xFF);
    default: return kStylus;
  }
}

void TapKeeper::admit(const InputMessage& input, std::vector<InputMessage>& out) {
  const size_t channel = channelOf(input);
  const bool release = input.message == kMessageKeyUp || input.message == kMessageStylusUp;
  if (heldCount_[channel] != 0 || (release && unseenDown_[channel])) {
    // More than any hand can type between two frames: a stalled viewer does
    // not make the queue grow without end.
    if (held_.size() >= kHeldLimit) return;
    ++heldCount_[channel];
    held_.push_back(input);
    return;
  }
  if (input.message == kMessageKeyDown || input.message == kMessageStylusDown) unseenDown_[channel] = true;
  if (release) unseenDown_[channel] = false;
  out.push_back(input);
}

void TapKeeper::frameRan(std::vector<InputMessage>& out) {
  unseenDown_.fill(false);
  heldCount_.fill(0);
  // Admitted again in order: a release whose press is now seen goes, and a
  // press after it makes the next release on its channel wait again.
  std::deque<InputMessage> waiting;
  waiting.swap(held_);
  for (const InputMessage& input : waiting) admit(input, out);
}

}  // namespace platform
