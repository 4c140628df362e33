// SDL events as the handheld's messages, built by hand: no display needed.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"
#include "platform/sdl/input_translator.h"

namespace {

using platform::InputMessage;
using platform::InputTranslator;

SDL_Event keyEvent(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers = 0, Uint8 repeat = 0) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = key;
  event.key.keysym.scancode = scancode;
  event.key.keysym.mod = modifiers;
  event.key.repeat = repeat;
  return event;
}

SDL_Event buttonEvent(Uint32 type, Uint8 button, int32_t x, int32_t y) {
  SDL_Event event{};
  event.type = type;
  event.button.button = button;
  event.button.x = x;
  event.button.y = y;
  return event;
}

SDL_Event motionEvent(Uint32 state, int32_t x, int32_t y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.state = state;
  event.motion.x = x;
  event.motion.y = y;
  return event;
}

SDL_Event windowEvent(Uint8 which, int32_t data1 = 0, int32_t data2 = 0) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = which;
  event.window.data1 = data1;
  event.window.data2 = data2;
  return event;
}

void expectMessage(const InputMessage& got, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  EXPECT_EQ(got.message, message);
  EXPECT_EQ(got.wParam, wParam);
  EXPECT_EQ(got.lParam, lParam);
}

TEST(InputTranslator, KeysBecomeOneDownAndOneUpWithoutRepeats) {
  InputTranslator translator;
  std::vector<InputMessage> out;
  translator.translate(keyEvent(SDL_KEYDOWN, SDLK_RIGHT, SDL_SCANCODE_RIGHT), out);
  translator.translate(keyEvent(SDL_KEYDOWN, SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0, 1), out);
  translator.translate(keyEvent(SDL_KEYDOWN, SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0, 1), out);
  translator.translate(keyEvent(SDL_KEYUP, SDLK_RIGHT, SDL_SCANCODE_RIGHT), out);
  translator.translate(keyEvent(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A), out);
  translator.translate(keyEvent(SDL_KEYUP, SDLK_a, SDL_SCANCODE_A), out);
  translator.translate(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), out);
  ASSERT_EQ(out.size(), 3u);
  expectMessage(out[0], platform::kMessageKeyDown, 0x27, 0);
  expectMessage(out[1], platform::kMessageKeyUp, 0x27, 0);
  expectMessage(out[2], platform::kMessageKeyDown, 0xC5, 0);
}

TEST(InputTranslator, LeftButtonIsTheStylusInScreenPixels) {
  InputTranslator translator;
  translator.setWindowSize(480, 640);
  std::vector<InputMessage> out;
  translator.translate(motionEvent(0, 100, 100), out);  // hovering: the stylus is up
  translator.translate(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 10, 10), out);
  translator.translate(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 21, 41), out);
  translator.translate(motionEvent(SDL_BUTTON_LMASK, 479, 639), out);
  translator.translate(motionEvent(SDL_BUTTON_LMASK, -30, 900), out);
  translator.translate(buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 200, 300), out);
  translator.translate(motionEvent(SDL_BUTTON_LMASK, 5, 5), out);  // no press seen: ignored
  translator.translate(buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 200, 300), out);
  ASSERT_EQ(out.size(), 4u);
  expectMessage(out[0], platform::kMessageStylusDown, 1, platform::stylusPosition(10, 20));
  expectMessage(out[1], platform::kMessageStylusMove, 1, platform::stylusPosition(239, 319));
  expectMessage(out[2], platform::kMessageStylusMove, 1, platform::stylusPosition(0, 319));
  expectMessage(out[3], platform::kMessageStylusUp, 0, platform::stylusPosition(100, 150));
}

TEST(InputTranslator, ResizedWindowIsLetterboxed) {
  InputTranslator translator;
  std::vector<InputMessage> out;
  translator.translate(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 1920, 1080), out);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(translator.screenInWindow().x, 600);
  translator.translate(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 603, 66), out);
  translator.translate(buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 100, 1070), out);
  ASSERT_EQ(out.size(), 2u);
  expectMessage(out[0], platform::kMessageStylusDown, 1, platform::stylusPosition(1, 2));
  expectMessage(out[1], platform::kMessageStylusUp, 0, platform::stylusPosition(0, 319));
}

TEST(InputTranslator, CloseButtonAndQuitPressTheQuitButtonOnce) {
  InputTranslator translator;
  std::vector<InputMessage> out;
  translator.translate(windowEvent(SDL_WINDOWEVENT_CLOSE), out);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  translator.translate(quit, out);
  ASSERT_EQ(out.size(), 2u);
  expectMessage(out[0], platform::kMessageKeyDown, 0xC5, 0);
  expectMessage(out[1], platform::kMessageKeyUp, 0xC5, 0);

  InputTranslator other;
  out.clear();
  other.translate(quit, out);
  ASSERT_EQ(out.size(), 2u);
  expectMessage(out[0], platform::kMessageKeyDown, 0xC5, 0);
}

TEST(InputTranslator, FocusLossLetsGoOfKeysAndStylus) {
  InputTranslator translator;
  translator.setWindowSize(240, 320);
  std::vector<InputMessage> out;
  translator.translate(keyEvent(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP), out);
  translator.translate(keyEvent(SDL_KEYDOWN, SDLK_PAGEUP, SDL_SCANCODE_PAGEUP), out);
  translator.translate(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 7, 8), out);
  translator.translate(motionEvent(SDL_BUTTON_LMASK, 9, 10), out);
  out.clear();
  translator.translate(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST), out);
  ASSERT_EQ(out.size(), 3u);
  expectMessage(out[0], platform::kMessageKeyUp, 0xC3, 0);  // in scancode order: PageUp before Up
  expectMessage(out[1], platform::kMessageKeyUp, 0x26, 0);
  expectMessage(out[2], platform::kMessageStylusUp, 0, platform::stylusPosition(9, 10));
  // The real releases that follow change nothing more.
  out.clear();
  translator.translate(keyEvent(SDL_KEYUP, SDLK_UP, SDL_SCANCODE_UP), out);
  translator.translate(buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 7, 8), out);
  EXPECT_TRUE(out.empty());
}

}  // namespace
