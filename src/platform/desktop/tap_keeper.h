// No lost taps: the rule of every real-time desktop window (not of the
// viewer, and not of the headless host, whose script says exactly which
// events come before which frame).
//
// The viewer reads its keys and the stylus once per frame. A key pressed and
// released between two frames would leave no trace, so a key-up or stylus-up
// that arrives before any frame has run with its key down is held back until
// one frame has. Events after a held one on the same key (or the stylus) are
// held too, so their order is kept; every other event passes at once.
//
// Host use: pass every handheld input message through admit() and post what
// it appends; call frameRan() once after each frame the viewer produced and
// post what it appends. Only the platform's message codes are used, so the
// SDL, Win32 and web backends share it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace platform {

struct InputMessage {
  uint32_t message;  // kMessageKeyDown/Up, kMessageStylusDown/Move/Up
  uintptr_t wParam;
  intptr_t lParam;
};

class TapKeeper {
 public:
  // Appends input to out when it may be handled now, else holds it back.
  void admit(const InputMessage& input, std::vector<InputMessage>& out);
  // A frame has run: every key down until now has been seen. Appends the held
  // events that may go now (a held release, and what follows it up to the
  // next release that must wait for another frame).
  void frameRan(std::vector<InputMessage>& out);
  bool holding() const { return !held_.empty(); }

 private:
  static constexpr size_t kStylus = 256;
  static constexpr size_t kHeldLimit = 1024;  // channel of the stylus after the 256 keys
  static size_t channelOf(const InputMessage& input);

  std::array<bool, kStylus + 1> unseenDown_{};  // per channel: down, and no frame has run since
  std::array<uint32_t, kStylus + 1> heldCount_{};
  std::deque<InputMessage> held_;  // in arrival order
};

}  // namespace platform
