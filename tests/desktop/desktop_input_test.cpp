// The host-neutral desktop input layer: the key table, one key-down and
// key-up per handheld key, and no lost taps.
#include <gtest/gtest.h>

#include "platform/desktop/desktop_keys.h"
#include "platform/desktop/tap_keeper.h"
#include "platform/platform.h"
#include "platform/sdl/key_mapping.h"

namespace {

using namespace platform;
using Action = std::pair<uint8_t, HostCommand>;
using Sent = std::tuple<uint32_t, uintptr_t, intptr_t>;

std::vector<Sent> sent(const std::vector<InputMessage>& messages) {
  std::vector<Sent> out;
  for (const InputMessage& m : messages) out.emplace_back(m.message, m.wParam, m.lParam);
  return out;
}

}  // namespace

TEST(DesktopKeys, TableOfKeysAndCommands) {
  const std::tuple<SDL_Keycode, uint16_t, Action> cases[] = {
      {SDLK_LEFT, 0, {0x25, HostCommand::None}},      {SDLK_DOWN, KMOD_CTRL, {0x28, HostCommand::None}},
      {SDLK_w, 0, {0x24, HostCommand::None}},         {SDLK_r, KMOD_SHIFT, {0xC2, HostCommand::None}},
      {SDLK_q, 0, {0xC1, HostCommand::None}},         {SDLK_KP_PLUS, 0, {0xC3, HostCommand::None}},
      {SDLK_PAGEDOWN, 0, {0xC4, HostCommand::None}},  {SDLK_h, 0, {0, HostCommand::Help}},
      {SDLK_F11, 0, {0, HostCommand::ToggleFullScreen}}, {SDLK_RETURN, KMOD_LALT, {0, HostCommand::ToggleFullScreen}},
      {SDLK_RETURN, 0, {0, HostCommand::None}},       {SDLK_F12, 0, {0, HostCommand::Screenshot}},
      {SDLK_ESCAPE, 0, {0, HostCommand::LeaveFullScreenOrQuit}}, {SDLK_F5, 0, {0, HostCommand::None}}};
  for (const auto& [key, modifiers, expected] : cases) {
    const KeyAction action = keyAction(desktopKeyFor(key), desktopModifiers(modifiers));
    EXPECT_EQ(Action(action.virtualKey, action.command), expected) << key;
  }
  // The wheel's zoom key per notch: the translator test's wheel case.
}

TEST(DesktopKeys, OneDownAndOneUpPerHandheldKey) {
  HeldKeys keys;
  EXPECT_EQ(keys.press(SDL_SCANCODE_LEFT, 0x25), 0x25);
  EXPECT_EQ(keys.press(SDL_SCANCODE_LEFT, 0x25), 0) << "a second press without release";
  EXPECT_EQ(keys.release(SDL_SCANCODE_LEFT), 0x25);
  EXPECT_EQ(keys.release(SDL_SCANCODE_LEFT), 0) << "a release without press";
  EXPECT_EQ(keys.press(-1, 0x25) + keys.release(HeldKeys::kPhysicalKeys), 0) << "keys out of range";
  // Two keys for one handheld key: down with the first, up with the last.
  EXPECT_EQ(keys.press(SDL_SCANCODE_PAGEUP, 0xC3), 0xC3);
  EXPECT_EQ(keys.press(SDL_SCANCODE_KP_PLUS, 0xC3), 0);
  EXPECT_EQ(keys.release(SDL_SCANCODE_PAGEUP), 0);
  EXPECT_EQ(keys.release(SDL_SCANCODE_KP_PLUS), 0xC3);
}

TEST(TapKeeper, ReleaseBeforeAnyFrameSawThePressWaitsOneFrame) {
  constexpr uint32_t kDown = kMessageKeyDown, kUp = kMessageKeyUp;
  const intptr_t at = stylusPosition(5, 6);
  TapKeeper taps;
  std::vector<InputMessage> out;
  // Within one frame: W tapped twice, the stylus tapped, an arrow pressed; all
  // releases wait, and so does the second W press behind the first release.
  for (const InputMessage& input :
       {InputMessage{kDown, 0x24, 0}, {kUp, 0x24, 0}, {kDown, 0x24, 0}, {kUp, 0x24, 0},
        {kMessageStylusDown, 1, at}, {kMessageStylusUp, 0, at}, {kDown, 0x25, 0}}) {
    taps.admit(input, out);
  }
  EXPECT_EQ(sent(out), (std::vector<Sent>{{kDown, 0x24, 0}, {kMessageStylusDown, 1, at}, {kDown, 0x25, 0}}));
  out.clear();
  taps.frameRan(out);
  EXPECT_EQ(sent(out), (std::vector<Sent>{{kUp, 0x24, 0}, {kDown, 0x24, 0}, {kMessageStylusUp, 0, at}}));
  out.clear();
  taps.admit({kUp, 0x25, 0}, out);  // the arrow's press was seen: its release passes
  EXPECT_EQ(sent(out), (std::vector<Sent>{{kUp, 0x25, 0}}));
  out.clear();
  taps.frameRan(out);
  EXPECT_EQ(sent(out), (std::vector<Sent>{{kUp, 0x24, 0}}));
  EXPECT_FALSE(taps.holding());
}
