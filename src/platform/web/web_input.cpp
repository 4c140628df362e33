#include "platform/web/web_input.h"

#include <cmath>

#include "platform/backend.h"
#include "platform/emulated_display.h"

namespace platform {

namespace {

struct CodeEntry {
  const char* code;
  DesktopKey key;
};

// DOM key codes name physical keys, whatever the layout prints on them.
constexpr CodeEntry kCodes[] = {
    {"ArrowLeft", DesktopKey::Left},       {"ArrowUp", DesktopKey::Up},
    {"ArrowRight", DesktopKey::Right},     {"ArrowDown", DesktopKey::Down},
    {"Home", DesktopKey::Home},            {"PageUp", DesktopKey::PageUp},
    {"PageDown", DesktopKey::PageDown},    {"KeyW", DesktopKey::W},
    {"KeyR", DesktopKey::R},               {"KeyQ", DesktopKey::Q},
    {"KeyH", DesktopKey::H},               {"F1", DesktopKey::F1},
    {"F11", DesktopKey::F11},              {"F12", DesktopKey::F12},
    {"Escape", DesktopKey::Escape},        {"Enter", DesktopKey::Enter},
    {"NumpadEnter", DesktopKey::Enter},    {"Minus", DesktopKey::Minus},
    {"Equal", DesktopKey::Equals},         {"NumpadAdd", DesktopKey::KeypadPlus},
    {"NumpadSubtract", DesktopKey::KeypadMinus},
};
constexpr int32_t kCodeCount = static_cast<int32_t>(sizeof kCodes / sizeof kCodes[0]);
// The physical key of a '+' found by its printed text, after the table's.
constexpr int32_t kPlusKey = kCodeCount;

// A small number for each physical key the viewer knows, -1 for others.
int32_t physicalKeyFor(const std::string& code, const std::string& keyText) {
  for (int32_t i = 0; i < kCodeCount; ++i) {
    if (code == kCodes[i].code) return i;
  }
  return keyText == "+" ? kPlusKey : -1;
}

}  // namespace

DesktopKey desktopKeyForCode(const std::string& code, const std::string& keyText) {
  const int32_t physical = physicalKeyFor(code, keyText);
  if (physical < 0) return DesktopKey::Other;
  return physical == kPlusKey ? DesktopKey::Plus : kCodes[physical].key;
}

int32_t screenCoordinate(double position, double boxExtent, int32_t screenExtent) {
  if (!(boxExtent > 0.0) || !(position > 0.0)) return 0;  // also a NaN
  const double scaled = std::floor(position * screenExtent / boxExtent);
  if (!(scaled < screenExtent)) return screenExtent - 1;
  return static_cast<int32_t>(scaled);
}

PageKeyUse WebInput::key(const std::string& code, const std::string& keyText, bool down, bool repeat,
                         uint32_t modifiers) {
  const int32_t physical = physicalKeyFor(code, keyText);
  if (physical < 0) return PageKeyUse::Ignored;
  if (!down) {
    const uint8_t virtualKey = heldKeys_.release(physical);
    if (virtualKey != 0) send(kMessageKeyUp, virtualKey, 0);
    return virtualKey != 0 ? PageKeyUse::Viewer : PageKeyUse::Ignored;
  }
  const KeyAction action = keyAction(desktopKeyForCode(code, keyText), modifiers);
  if (action.virtualKey != 0) {
    // The handheld sends one key-down per press: the browser's repeats are dropped.
    if (!repeat) {
      const uint8_t virtualKey = heldKeys_.press(physical, action.virtualKey);
      if (virtualKey != 0) send(kMessageKeyDown, virtualKey, 0);
    }
    return PageKeyUse::Viewer;
  }
  if (repeat) return PageKeyUse::Ignored;
  switch (action.command) {
    case HostCommand::ToggleFullScreen: return PageKeyUse::ToggleFullScreen;
    case HostCommand::Screenshot: return PageKeyUse::SaveScreen;
    case HostCommand::Help: return PageKeyUse::Help;
    // The browser itself leaves full screen on Escape, and a page is
    // closed as a page: Escape is left to the browser.
    case HostCommand::LeaveFullScreenOrQuit:
    case HostCommand::None: break;
  }
  return PageKeyUse::Ignored;
}

void WebInput::pointer(PointerKind kind, double x, double y, double width, double height) {
  const intptr_t at = stylusPosition(screenCoordinate(x, width, kScreenWidth), screenCoordinate(y, height, kScreenHeight));
  switch (kind) {
    case PointerKind::Down:
      if (stylusDown_) return;
      stylusDown_ = true;
      stylusLast_ = at;
      send(kMessageStylusDown, kStylusHeldBit, at);
      return;
    case PointerKind::Move:
      // The stylus only reports moves while it touches the screen.
      if (!stylusDown_) return;
      stylusLast_ = at;
      send(kMessageStylusMove, kStylusHeldBit, at);
      return;
    case PointerKind::Up:
      if (!stylusDown_) return;
      stylusDown_ = false;
      send(kMessageStylusUp, 0, at);
      return;
    case PointerKind::Cancel:
      // A touch taken over by the browser (a scroll, a gesture) ends where it was last.
      if (!stylusDown_) return;
      stylusDown_ = false;
      send(kMessageStylusUp, 0, stylusLast_);
      return;
  }
}

void WebInput::releaseAll() {
  heldKeys_.releaseAll([this](uint8_t virtualKey) { send(kMessageKeyUp, virtualKey, 0); });
  if (stylusDown_) {
    stylusDown_ = false;
    send(kMessageStylusUp, 0, stylusLast_);
  }
}

void WebInput::frameDone() {
  ready_.clear();
  taps_.frameRan(ready_);
  post(ready_);
}

void WebInput::send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  ready_.clear();
  taps_.admit(InputMessage{message, wParam, lParam}, ready_);
  post(ready_);
}

void WebInput::post(const std::vector<InputMessage>& messages) {
  WindowHandle window = inputWindow();
  if (window == nullptr) return;
  for (const InputMessage& input : messages) postMessage(window, input.message, input.wParam, input.lParam);
}

}  // namespace platform
