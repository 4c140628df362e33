// The desktop's keys, host-neutral: what each key does in a desktop window,
// either press one of the handheld's keys or run a command of the host
// window. Every desktop backend (SDL, Win32, web) translates its own key
// codes into DesktopKey and asks keyAction; nothing here knows a toolkit.
//
//   key                         action
//   arrows                      handheld arrows 0x25..0x28 (turn, tilt)
//   Home, W                     0x24, textured / wire-frame
//   R                           button 2 (0xC2), reset the view
//   +, =, keypad +, PageUp      button 3 (0xC3), zoom in (= also without shift)
//   -, keypad -, PageDown       button 4 (0xC4), zoom out
//   Q                           button 1 (0xC1), quit
//   F1, H                       host: show the help card
//   F11, Alt+Enter              host: toggle full screen
//   F12                         host: save the screen as a PNG
//   Escape                      host: leave full screen, or quit from a window
//   mouse wheel                 one zoom-key tap per notch (wheelVirtualKey)
//
// The close button and Escape from a window press button 5 (0xC5, quit at once).
#pragma once

#include <array>
#include <cstdint>

#include "core/key_codes.h"

namespace platform {

enum class DesktopKey : uint8_t {
  Other,  // any key without a meaning here
  Left, Up, Right, Down,
  Home, PageUp, PageDown,
  W, R, Q, H,
  F1, F11, F12,
  Escape, Enter,
  Plus, Minus, Equals, KeypadPlus, KeypadMinus,
};

// Modifier flags held with a key.
constexpr uint32_t kDesktopShift = 1;
constexpr uint32_t kDesktopAlt = 2;

enum class HostCommand : uint8_t {
  None,              // the key presses a handheld key (KeyAction::virtualKey) or nothing
  Help,              // show the help card over the picture
  ToggleFullScreen,
  Screenshot,        // save the 240 x 320 screen as a PNG
  LeaveFullScreenOrQuit,  // Escape: leaves full screen; in a window presses kKeyQuitNow
};

struct KeyAction {
  uint8_t virtualKey = 0;  // the handheld key pressed, 0 for none
  HostCommand command = HostCommand::None;
};

// What a key press does; modifiers are kDesktop* flags.
KeyAction keyAction(DesktopKey key, uint32_t modifiers);
// The zoom key one notch of the wheel taps: away from the user zooms in.
inline uint8_t wheelVirtualKey(int32_t notches) { return notches > 0 ? kKeyZoomIn : kKeyZoomOut; }

// Lines of the help card, for the host to draw over the scaled picture.
extern const std::array<const char*, 10> kHelpCardLines;

// Turns key presses and releases into one key-down and one key-up per
// handheld key: the release sends the code its press sent (even if the
// modifiers changed in between), and when two desktop keys stand for the same
// handheld key, it goes down with the first and up with the last. Physical
// keys are the host's own codes (scancodes), 0..kPhysicalKeys-1.
class HeldKeys {
 public:
  static constexpr int32_t kPhysicalKeys = 512;

  // The virtual key to send as key-down for this press, or 0 for none (a key
  // already held, virtualKey 0 or a physical key out of range).
  uint8_t press(int32_t physicalKey, uint8_t virtualKey);
  // The virtual key to send as key-up for this release, or 0 for none.
  uint8_t release(int32_t physicalKey);
  // Releases every held key, calling sendKeyUp(virtualKey) once per handheld key.
  template <typename SendKeyUp>
  void releaseAll(SendKeyUp sendKeyUp) {
    for (int32_t key = 0; key < kPhysicalKeys; ++key) {
      const uint8_t virtualKey = release(key);
      if (virtualKey != 0) sendKeyUp(virtualKey);
    }
  }

 private:
  std::array<uint8_t, kPhysicalKeys> sentFor_{};  // per physical key: the code its press sent
  std::array<uint8_t, 256> holders_{};            // per virtual key: physical keys holding it
};

}  // namespace platform
