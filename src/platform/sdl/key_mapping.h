// Desktop keys as the handheld's buttons: which virtual-key code a key press
// stands for, and which presses are still held.
#pragma once

#include <SDL_keycode.h>

#include <array>
#include <cstdint>

namespace platform {

// The virtual-key code a desktop key stands for, or 0 for a key the
// handheld has no button for. modifiers are SDL's key modifiers.
uint8_t virtualKeyFor(SDL_Keycode key, uint16_t modifiers);

// Turns key presses and releases into one key-down and one key-up per
// virtual key: the release sends the code its press sent (even if the
// modifiers changed in between), and when two desktop keys stand for the same
// button, the button goes down with the first and up with the last.
class HeldKeys {
 public:
  static constexpr int32_t kScancodes = 512;

  // The virtual key to send as key-down for this press, or 0 for none (a key
  // already held, an unmapped key or a scancode out of range).
  uint8_t press(int32_t scancode, uint8_t virtualKey);
  // The virtual key to send as key-up for this release, or 0 for none.
  uint8_t release(int32_t scancode);
  // Releases every held key, calling sendKeyUp(virtualKey) once per button.
  template <typename SendKeyUp>
  void releaseAll(SendKeyUp sendKeyUp) {
    for (int32_t scancode = 0; scancode < kScancodes; ++scancode) {
      const uint8_t virtualKey = release(scancode);
      if (virtualKey != 0) sendKeyUp(virtualKey);
    }
  }

 private:
  std::array<uint8_t, kScancodes> sentFor_{};  // per scancode: the code its press sent
  std::array<uint8_t, 256> holders_{};         // per virtual key: desktop keys holding it
};

}  // namespace platform
