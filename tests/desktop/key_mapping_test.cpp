// Desktop keys as the handheld's buttons, and one key-down and key-up per
// button whatever the desktop keys do in between.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/sdl/key_mapping.h"

using platform::HeldKeys;
using platform::virtualKeyFor;

TEST(KeyMapping, DesktopKeysStandForButtons) {
  const std::tuple<SDL_Keycode, uint16_t, uint8_t> cases[] = {
      {SDLK_LEFT, 0, 0x25}, {SDLK_UP, 0, 0x26},  {SDLK_RIGHT, KMOD_CTRL, 0x27}, {SDLK_DOWN, 0, 0x28},
      {SDLK_F1, 0, 0xC1},   {SDLK_F5, 0, 0xC5},  {SDLK_ESCAPE, 0, 0xC5},        {SDLK_HOME, 0, 0x24},
      {SDLK_w, 0, 0x24},    {SDLK_r, KMOD_SHIFT, 0xC2}, {SDLK_PLUS, 0, 0xC3},   {SDLK_KP_PLUS, 0, 0xC3},
      {SDLK_PAGEUP, 0, 0xC3}, {SDLK_MINUS, 0, 0xC4}, {SDLK_KP_MINUS, 0, 0xC4}, {SDLK_PAGEDOWN, 0, 0xC4},
      {SDLK_EQUALS, KMOD_RSHIFT, 0xC3},  // '=' is '+' only with shift
      {SDLK_EQUALS, 0, 0}, {SDLK_EQUALS, KMOD_CTRL, 0}, {SDLK_a, 0, 0}, {SDLK_F6, 0, 0}, {SDLK_LSHIFT, 0, 0}};
  for (const auto& [key, modifiers, button] : cases) EXPECT_EQ(virtualKeyFor(key, modifiers), button) << key;
}

TEST(HeldKeys, OneDownAndOneUpPerButton) {
  HeldKeys keys;
  EXPECT_EQ(keys.press(SDL_SCANCODE_LEFT, 0x25), 0x25);
  EXPECT_EQ(keys.press(SDL_SCANCODE_LEFT, 0x25), 0) << "a second press without release";
  EXPECT_EQ(keys.release(SDL_SCANCODE_LEFT), 0x25);
  EXPECT_EQ(keys.release(SDL_SCANCODE_LEFT), 0) << "a release without press";
  EXPECT_EQ(keys.press(SDL_SCANCODE_A, 0), 0) << "an unmapped key is not held";
  EXPECT_EQ(keys.press(-1, 0x25), 0);
  EXPECT_EQ(keys.press(HeldKeys::kScancodes, 0x25), 0);
  EXPECT_EQ(keys.release(HeldKeys::kScancodes), 0);
  // The release sends what the press sent, even after shift went up.
  EXPECT_EQ(keys.press(SDL_SCANCODE_EQUALS, virtualKeyFor(SDLK_EQUALS, KMOD_LSHIFT)), 0xC3);
  EXPECT_EQ(keys.release(SDL_SCANCODE_EQUALS), 0xC3);
  // Two keys for one button: down with the first, up with the last.
  EXPECT_EQ(keys.press(SDL_SCANCODE_PAGEUP, 0xC3), 0xC3);
  EXPECT_EQ(keys.press(SDL_SCANCODE_KP_PLUS, 0xC3), 0);
  EXPECT_EQ(keys.release(SDL_SCANCODE_PAGEUP), 0);
  EXPECT_EQ(keys.release(SDL_SCANCODE_KP_PLUS), 0xC3);
  keys.press(SDL_SCANCODE_HOME, 0x24);
  keys.press(SDL_SCANCODE_W, 0x24);
  keys.press(SDL_SCANCODE_DOWN, 0x28);
  std::vector<uint8_t> released;
  keys.releaseAll([&released](uint8_t key) { released.push_back(key); });
  std::sort(released.begin(), released.end());
  EXPECT_EQ(released, (std::vector<uint8_t>{0x24, 0x28}));
  EXPECT_EQ(keys.press(SDL_SCANCODE_W, 0x24), 0x24) << "all were let go";
}
