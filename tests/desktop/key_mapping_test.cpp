// Desktop keys as the handheld's buttons, and the one key-down and key-up
// per button whatever the desktop keys do in between.
#include <gtest/gtest.h>

#include "platform/sdl/key_mapping.h"

namespace {

using platform::HeldKeys;
using platform::virtualKeyFor;

TEST(KeyMapping, EveryDesktopKeyStandsForItsButton) {
  EXPECT_EQ(virtualKeyFor(SDLK_LEFT, 0), 0x25);
  EXPECT_EQ(virtualKeyFor(SDLK_UP, 0), 0x26);
  EXPECT_EQ(virtualKeyFor(SDLK_RIGHT, 0), 0x27);
  EXPECT_EQ(virtualKeyFor(SDLK_DOWN, 0), 0x28);
  const SDL_Keycode functionKeys[] = {SDLK_F1, SDLK_F2, SDLK_F3, SDLK_F4, SDLK_F5};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(virtualKeyFor(functionKeys[i], 0), 0xC1 + i) << "F" << i + 1;
  EXPECT_EQ(virtualKeyFor(SDLK_ESCAPE, 0), 0xC5);
  EXPECT_EQ(virtualKeyFor(SDLK_HOME, 0), 0x24);
  EXPECT_EQ(virtualKeyFor(SDLK_w, 0), 0x24);
  EXPECT_EQ(virtualKeyFor(SDLK_r, 0), 0xC2);
  for (const SDL_Keycode zoomIn : {SDLK_PLUS, SDLK_KP_PLUS, SDLK_PAGEUP}) EXPECT_EQ(virtualKeyFor(zoomIn, 0), 0xC3);
  for (const SDL_Keycode zoomOut : {SDLK_MINUS, SDLK_KP_MINUS, SDLK_PAGEDOWN}) {
    EXPECT_EQ(virtualKeyFor(zoomOut, 0), 0xC4);
  }
}

TEST(KeyMapping, EqualsIsPlusOnlyWithShiftAndOtherKeysAreNothing) {
  EXPECT_EQ(virtualKeyFor(SDLK_EQUALS, KMOD_LSHIFT), 0xC3);
  EXPECT_EQ(virtualKeyFor(SDLK_EQUALS, KMOD_RSHIFT), 0xC3);
  EXPECT_EQ(virtualKeyFor(SDLK_EQUALS, 0), 0);
  EXPECT_EQ(virtualKeyFor(SDLK_EQUALS, KMOD_CTRL), 0);
  // Modifiers change nothing for the other keys.
  EXPECT_EQ(virtualKeyFor(SDLK_r, KMOD_SHIFT), 0xC2);
  EXPECT_EQ(virtualKeyFor(SDLK_LEFT, KMOD_CTRL), 0x25);
  for (const SDL_Keycode unmapped : {SDLK_a, SDLK_SPACE, SDLK_RETURN, SDLK_F6, SDLK_END, SDLK_LSHIFT}) {
    EXPECT_EQ(virtualKeyFor(unmapped, 0), 0) << unmapped;
  }
}

TEST(HeldKeys, OneDownAndOneUpPerButton) {
  HeldKeys keys;
  EXPECT_EQ(keys.press(SDL_SCANCODE_LEFT, 0x25), 0x25);
  EXPECT_EQ(keys.press(SDL_SCANCODE_LEFT, 0x25), 0) << "a second press without release";
  EXPECT_EQ(keys.release(SDL_SCANCODE_LEFT), 0x25);
  EXPECT_EQ(keys.release(SDL_SCANCODE_LEFT), 0) << "a release without press";
  EXPECT_EQ(keys.press(SDL_SCANCODE_A, 0), 0) << "an unmapped key is not held";
  EXPECT_EQ(keys.release(SDL_SCANCODE_A), 0);
  EXPECT_EQ(keys.press(-1, 0x25), 0);
  EXPECT_EQ(keys.press(HeldKeys::kScancodes, 0x25), 0);
  EXPECT_EQ(keys.release(HeldKeys::kScancodes), 0);
}

TEST(HeldKeys, ReleaseSendsWhatThePressSentAndSharedButtonsWaitForTheLastKey) {
  HeldKeys keys;
  // '=' pressed with shift is zoom-in; its release after shift went up is too.
  EXPECT_EQ(keys.press(SDL_SCANCODE_EQUALS, virtualKeyFor(SDLK_EQUALS, KMOD_LSHIFT)), 0xC3);
  EXPECT_EQ(keys.release(SDL_SCANCODE_EQUALS), 0xC3);

  // PageUp and '+' are both zoom-in: down with the first, up with the last.
  EXPECT_EQ(keys.press(SDL_SCANCODE_PAGEUP, 0xC3), 0xC3);
  EXPECT_EQ(keys.press(SDL_SCANCODE_KP_PLUS, 0xC3), 0);
  EXPECT_EQ(keys.release(SDL_SCANCODE_PAGEUP), 0);
  EXPECT_EQ(keys.release(SDL_SCANCODE_KP_PLUS), 0xC3);

  EXPECT_EQ(keys.press(SDL_SCANCODE_HOME, 0x24), 0x24);
  EXPECT_EQ(keys.press(SDL_SCANCODE_W, 0x24), 0);
  EXPECT_EQ(keys.press(SDL_SCANCODE_DOWN, 0x28), 0x28);
  std::vector<uint8_t> released;
  keys.releaseAll([&released](uint8_t key) { released.push_back(key); });
  std::sort(released.begin(), released.end());
  EXPECT_EQ(released, (std::vector<uint8_t>{0x24, 0x28}));
  EXPECT_EQ(keys.press(SDL_SCANCODE_W, 0x24), 0x24) << "all were let go";
}

}  // namespace
