// Desktop keys as the handheld's buttons, and one key-down and key-up per
// button whatever the desktop keys do in between.
#include <gtest/gtest.h>

#include "platform/sdl/key_mapping.h"

using platform::HeldKeys;
using platform::virtualKeyFor;

TEST(KeyMapping, DesktopKeysStandForButtons) {
  // One key for each button; '=' is '+' only with shift; unmapped keys give 0.
  const std::tuple<SDL_Keycode, uint16_t, uint8_t> cases[] = {
      {SDLK_LEFT, 0, 0x25}, {SDLK_UP, 0, 0x26}, {SDLK_RIGHT, KMOD_CTRL, 0x27}, {SDLK_DOWN, 0, 0x28}, {SDLK_F1, 0, 0xC1},
      {SDLK_ESCAPE, 0, 0xC5}, {SDLK_HOME, 0, 0x24}, {SDLK_r, KMOD_SHIFT, 0xC2}, {SDLK_KP_PLUS, 0, 0xC3},
      {SDLK_MINUS, 0, 0xC4}, {SDLK_EQUALS, KMOD_RSHIFT, 0xC3}, {SDLK_EQUALS, 0, 0}, {SDLK_a, 0, 0}};
  for (const auto& [key, modifiers, button] : cases) EXPECT_EQ(virtualKeyFor(key, modifiers), button) << key;
}

TEST(HeldKeys, OneDownAndOneUpPerButton) {
  HeldKeys keys;
  EXPECT_EQ(keys.press(SDL_SCANCODE_LEFT, 0x25), 0x25);
  EXPECT_EQ(keys.press(SDL_SCANCODE_LEFT, 0x25), 0) << "a second press without release";
  EXPECT_EQ(keys.release(SDL_SCANCODE_LEFT), 0x25);
  EXPECT_EQ(keys.release(SDL_SCANCODE_LEFT), 0) << "a release without press";
  EXPECT_EQ(keys.press(-1, 0x25) + keys.release(HeldKeys::kScancodes), 0) << "scancodes out of range";
  // The release sends what the press sent, even after shift went up.
  EXPECT_EQ(keys.press(SDL_SCANCODE_EQUALS, virtualKeyFor(SDLK_EQUALS, KMOD_LSHIFT)), 0xC3);
  EXPECT_EQ(keys.release(SDL_SCANCODE_EQUALS), 0xC3);
  // Two keys for one button: down with the first, up with the last.
  EXPECT_EQ(keys.press(SDL_SCANCODE_PAGEUP, 0xC3), 0xC3);
  EXPECT_EQ(keys.press(SDL_SCANCODE_KP_PLUS, 0xC3), 0);
  EXPECT_EQ(keys.release(SDL_SCANCODE_PAGEUP), 0);
  EXPECT_EQ(keys.release(SDL_SCANCODE_KP_PLUS), 0xC3);
}
