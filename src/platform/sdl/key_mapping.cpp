#include "platform/sdl/key_mapping.h"

#include <SDL_keyboard.h>

namespace platform {

namespace {

constexpr uint8_t kVkHome = 0x24;  // the fill-mode toggle
constexpr uint8_t kVkLeft = 0x25;
constexpr uint8_t kVkUp = 0x26;
constexpr uint8_t kVkRight = 0x27;
constexpr uint8_t kVkDown = 0x28;
constexpr uint8_t kVkButton1 = 0xC1;
constexpr uint8_t kVkButton2 = 0xC2;  // reset
constexpr uint8_t kVkButton3 = 0xC3;  // zoom in
constexpr uint8_t kVkButton4 = 0xC4;  // zoom out
constexpr uint8_t kVkButton5 = 0xC5;  // quit at once

}  // namespace

uint8_t virtualKeyFor(SDL_Keycode key, uint16_t modifiers) {
  switch (key) {
    case SDLK_LEFT: return kVkLeft;
    case SDLK_UP: return kVkUp;
    case SDLK_RIGHT: return kVkRight;
    case SDLK_DOWN: return kVkDown;
    case SDLK_F1: return kVkButton1;
    case SDLK_F2: return kVkButton2;
    case SDLK_F3: return kVkButton3;
    case SDLK_F4: return kVkButton4;
    case SDLK_F5: return kVkButton5;
    case SDLK_ESCAPE: return kVkButton5;
    case SDLK_HOME:
    case SDLK_w: return kVkHome;
    case SDLK_r: return kVkButton2;
    case SDLK_PLUS:
    case SDLK_KP_PLUS:
    case SDLK_PAGEUP: return kVkButton3;
    // On layouts where '+' is the shifted '=' key, SDL reports '='.
    case SDLK_EQUALS: return (modifiers & KMOD_SHIFT) != 0 ? kVkButton3 : 0;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
    case SDLK_PAGEDOWN: return kVkButton4;
    default: return 0;
  }
}

uint8_t HeldKeys::press(int32_t scancode, uint8_t virtualKey) {
  if (virtualKey == 0 || scancode < 0 || scancode >= kScancodes || sentFor_[scancode] != 0) return 0;
  sentFor_[scancode] = virtualKey;
  return holders_[virtualKey]++ == 0 ? virtualKey : 0;
}

uint8_t HeldKeys::release(int32_t scancode) {
  if (scancode < 0 || scancode >= kScancodes || sentFor_[scancode] == 0) return 0;
  const uint8_t virtualKey = sentFor_[scancode];
  sentFor_[scancode] = 0;
  return --holders_[virtualKey] == 0 ? virtualKey : 0;
}

}  // namespace platform
