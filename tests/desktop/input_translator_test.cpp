// SDL events as the handheld's messages, built by hand: no display needed.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/sdl/input_translator.h"

namespace {

using namespace platform;
constexpr uint32_t kDown = kMessageKeyDown, kUp = kMessageKeyUp;
constexpr uint32_t kPress = kMessageStylusDown, kMove = kMessageStylusMove, kLift = kMessageStylusUp;

using Translated = std::tuple<uint32_t, uintptr_t, intptr_t>;

SDL_Event key(Uint32 type, SDL_Keycode code, SDL_Scancode scancode, Uint8 repeat = 0) {
  SDL_Event event{};
  event.key = {type, 0, 0, 0, repeat, 0, 0, {scancode, code, 0, 0}};
  return event;
}

// A left-button (1) event, or a motion event when type is the held buttons' mask.
SDL_Event mouse(Uint32 type, int32_t x, int32_t y) {
  SDL_Event event{};
  if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) event.button = {type, 0, 0, 0, 1, 0, 0, 0, x, y};
  else event.motion = {SDL_MOUSEMOTION, 0, 0, 0, type, x, y, 0, 0};
  return event;
}

SDL_Event window(Uint8 which, int32_t width = 0, int32_t height = 0) {
  SDL_Event event{};
  event.window = {SDL_WINDOWEVENT, 0, 0, which, 0, 0, 0, width, height};
  return event;
}

SDL_Event wheel(int32_t notches) {
  SDL_Event event{};
  event.wheel = {SDL_MOUSEWHEEL, 0, 0, 0, 0, notches, SDL_MOUSEWHEEL_NORMAL, 0, 0, 0, 0};
  return event;
}

std::vector<Translated> translate(InputTranslator& translator, const std::vector<SDL_Event>& events,
                                  std::vector<HostCommand>* commands = nullptr) {
  std::vector<InputMessage> out;
  std::vector<HostCommand> asked;
  for (const SDL_Event& event : events) translator.translate(event, out, asked);
  if (commands != nullptr) *commands = asked;
  std::vector<Translated> messages;
  for (const InputMessage& m : out) messages.emplace_back(m.message, m.wParam, m.lParam);
  return messages;
}

Translated stylus(uint32_t message, int32_t x, int32_t y) {
  return {message, message == kLift ? 0 : 1, stylusPosition(x, y)};
}

}  // namespace

TEST(InputTranslator, KeysGiveOneDownAndOneUpAndQuitPressesTheQuitButton) {
  InputTranslator t;
  // The help card: F1 asks for it, the next key press only hides it.
  std::vector<HostCommand> commands;
  EXPECT_EQ(translate(t, {key(SDL_KEYDOWN, SDLK_F1, SDL_SCANCODE_F1), key(SDL_KEYUP, SDLK_F1, SDL_SCANCODE_F1),
                          key(SDL_KEYDOWN, SDLK_w, SDL_SCANCODE_W), key(SDL_KEYUP, SDLK_w, SDL_SCANCODE_W),
                          key(SDL_KEYDOWN, SDLK_F12, SDL_SCANCODE_F12)},
                      &commands),
            std::vector<Translated>{});
  EXPECT_EQ(commands, (std::vector{HostCommand::Help, HostCommand::Screenshot}));
  EXPECT_FALSE(t.helpShown());
  // One zoom tap per wheel notch.
  EXPECT_EQ(translate(t, {wheel(2), wheel(-1)}), (std::vector<Translated>{{kDown, 0xC3, 0}, {kUp, 0xC3, 0},
                                                                            {kDown, 0xC3, 0}, {kUp, 0xC3, 0},
                                                                            {kDown, 0xC4, 0}, {kUp, 0xC4, 0}}));
  EXPECT_EQ(translate(t, {key(SDL_KEYDOWN, SDLK_RIGHT, SDL_SCANCODE_RIGHT),
                          key(SDL_KEYDOWN, SDLK_RIGHT, SDL_SCANCODE_RIGHT, 1),
                          key(SDL_KEYUP, SDLK_RIGHT, SDL_SCANCODE_RIGHT), key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A),
                          window(SDL_WINDOWEVENT_CLOSE), SDL_Event{SDL_QUIT}}),
            (std::vector<Translated>{{kDown, 0x27, 0}, {kUp, 0x27, 0}, {kDown, 0xC5, 0}, {kUp, 0xC5, 0}}));
}

TEST(InputTranslator, LeftButtonIsTheStylusUnscaledFromTheLetterbox) {
  InputTranslator t;
  t.setWindowSize(480, 640);
  EXPECT_EQ(translate(t, {mouse(0, 100, 100),  // hovering: the stylus is up
                          mouse(SDL_MOUSEBUTTONDOWN, 21, 41), mouse(SDL_BUTTON_LMASK, 479, 639),
                          mouse(SDL_BUTTON_LMASK, -30, 900), mouse(SDL_BUTTON_LMASK, INT32_MAX, INT32_MIN),
                          mouse(SDL_MOUSEBUTTONUP, 200, 300),
                          mouse(SDL_BUTTON_LMASK, 5, 5), mouse(SDL_MOUSEBUTTONUP, 200, 300)}),  // no press: ignored
            (std::vector{stylus(kPress, 10, 20), stylus(kMove, 239, 319), stylus(kMove, 0, 319),
                         stylus(kMove, 239, 0), stylus(kLift, 100, 150)}));
  EXPECT_TRUE(translate(t, {window(SDL_WINDOWEVENT_SIZE_CHANGED, 1920, 1080)}).empty());
  EXPECT_EQ(translate(t, {mouse(SDL_MOUSEBUTTONDOWN, 603, 66), mouse(SDL_MOUSEBUTTONUP, 100, 1070)}),
            (std::vector{stylus(kPress, 1, 2), stylus(kLift, 0, 319)}));
  t.setWindowSize(120, 320);  // shrunk: two screen pixels a window pixel
  EXPECT_EQ(translate(t, {mouse(SDL_MOUSEBUTTONDOWN, 119, 239)}), (std::vector{stylus(kPress, 238, 318)}));
}

TEST(InputTranslator, FocusLossLetsGoOfKeysAndStylusOnce) {
  InputTranslator t;
  t.setWindowSize(240, 320);
  translate(t, {key(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP), key(SDL_KEYDOWN, SDLK_PAGEUP, SDL_SCANCODE_PAGEUP),
                mouse(SDL_MOUSEBUTTONDOWN, 7, 8), mouse(SDL_BUTTON_LMASK, 9, 10)});
  EXPECT_EQ(translate(t, {window(SDL_WINDOWEVENT_FOCUS_LOST)}),  // in scancode order: PageUp before Up
            (std::vector{Translated{kUp, 0xC3, 0}, {kUp, 0x26, 0}, stylus(kLift, 9, 10)}));
  EXPECT_TRUE(translate(t, {key(SDL_KEYUP, SDLK_UP, SDL_SCANCODE_UP), mouse(SDL_MOUSEBUTTONUP, 7, 8)}).empty());
}
