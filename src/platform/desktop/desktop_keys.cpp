#include "platform/desktop/desktop_keys.h"

namespace platform {

namespace {


constexpr KeyAction press(uint8_t virtualKey) { return KeyAction{virtualKey, HostCommand::None}; }
constexpr KeyAction run(HostCommand command) { return KeyAction{0, command}; }

}  // namespace

const std::array<const char*, 10> kHelpCardLines = {
    "arrows      turn, tilt",
    "drag        turn like a joystick",
    "= - wheel   zoom in, out",
    "R           reset the view",
    "W  Home     wire-frame",
    "F11         full screen",
    "F12         save the screen",
    "Q  Esc      quit",
    "",
    "any key hides this card",
};

KeyAction keyAction(DesktopKey key, uint32_t modifiers) {
  switch (key) {
    case DesktopKey::Left: return press(kKeyLeft);
    case DesktopKey::Up: return press(kKeyUp);
    case DesktopKey::Right: return press(kKeyRight);
    case DesktopKey::Down: return press(kKeyDown);
    case DesktopKey::Home:
    case DesktopKey::W: return press(kKeyFillMode);
    case DesktopKey::R: return press(kKeyReset);
    case DesktopKey::Q: return press(kKeyQuit);
    // '+' is the shifted '=' on many layouts; '=' alone is the same key, so
    // it zooms in too rather than doing nothing.
    case DesktopKey::Plus:
    case DesktopKey::Equals:
    case DesktopKey::KeypadPlus:
    case DesktopKey::PageUp: return press(kKeyZoomIn);
    case DesktopKey::Minus:
    case DesktopKey::KeypadMinus:
    case DesktopKey::PageDown: return press(kKeyZoomOut);
    case DesktopKey::F1:
    case DesktopKey::H: return run(HostCommand::Help);
    case DesktopKey::F11: return run(HostCommand::ToggleFullScreen);
    case DesktopKey::Enter: return (modifiers & kDesktopAlt) != 0 ? run(HostCommand::ToggleFullScreen) : KeyAction{};
    case DesktopKey::F12: return run(HostCommand::Screenshot);
    case DesktopKey::Escape: return run(HostCommand::LeaveFullScreenOrQuit);
    case DesktopKey::Other: break;
  }
  return KeyAction{};
}

uint8_t HeldKeys::press(int32_t physicalKey, uint8_t virtualKey) {
  if (virtualKey == 0 || physicalKey < 0 || physicalKey >= kPhysicalKeys || sentFor_[physicalKey] != 0) return 0;
  sentFor_[physicalKey] = virtualKey;
  return holders_[virtualKey]++ == 0 ? virtualKey : 0;
}

uint8_t HeldKeys::release(int32_t physicalKey) {
  if (physicalKey < 0 || physicalKey >= kPhysicalKeys || sentFor_[physicalKey] == 0) return 0;
  const uint8_t virtualKey = sentFor_[physicalKey];
  sentFor_[physicalKey] = 0;
  return --holders_[virtualKey] == 0 ? virtualKey : 0;
}

}  // namespace platform
