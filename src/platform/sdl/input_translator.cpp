#include "platform/sdl/input_translator.h"

#include <algorithm>

#include "core/key_codes.h"
#include "platform/platform.h"
#include "platform/sdl/key_mapping.h"

namespace platform {

namespace {

// More notches than this in one wheel event are a flick, not a count.
constexpr int32_t kMaxWheelTaps = 8;

}  // namespace

// The close button, a termination request and Escape in a window press the
// quit button once: closing the last window brings more than one of them.
void InputTranslator::pressQuitButton(std::vector<InputMessage>& out) {
  if (quitPressed_) return;
  quitPressed_ = true;
  out.push_back(InputMessage{kMessageKeyDown, kKeyQuitNow, 0});
  out.push_back(InputMessage{kMessageKeyUp, kKeyQuitNow, 0});
}

void InputTranslator::setWindowSize(int32_t width, int32_t height) { screen_ = fitScreen(width, height, scaling_); }

intptr_t InputTranslator::stylusAt(int32_t x, int32_t y) const {
  const ScreenPoint point = screenPointAt(screen_, x, y);
  return stylusPosition(point.x, point.y);
}

void InputTranslator::translateKeyDown(const SDL_KeyboardEvent& event, std::vector<InputMessage>& out,
                                       std::vector<HostCommand>& commands) {
  // The handheld sends one key-down per press: auto-repeat is dropped.
  if (event.repeat != 0) return;
  if (helpShown_) {
    helpShown_ = false;
    return;
  }
  const KeyAction action = keyAction(desktopKeyFor(event.keysym.sym), desktopModifiers(event.keysym.mod));
  if (action.command == HostCommand::Help) helpShown_ = true;
  if (action.command != HostCommand::None) commands.push_back(action.command);
  const uint8_t virtualKey = heldKeys_.press(event.keysym.scancode, action.virtualKey);
  if (virtualKey != 0) out.push_back(InputMessage{kMessageKeyDown, virtualKey, 0});
}

void InputTranslator::translate(const SDL_Event& event, std::vector<InputMessage>& out,
                                std::vector<HostCommand>& commands) {
  switch (event.type) {
    case SDL_KEYDOWN:
      translateKeyDown(event.key, out, commands);
      break;
    case SDL_KEYUP: {
      const uint8_t virtualKey = heldKeys_.release(event.key.keysym.scancode);
      if (virtualKey != 0) out.push_back(InputMessage{kMessageKeyUp, virtualKey, 0});
      break;
    }
    case SDL_MOUSEWHEEL: {
      const int32_t notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
      const uint8_t virtualKey = wheelVirtualKey(notches);
      for (int32_t tap = 0; tap < std::min(notches < 0 ? -notches : notches, kMaxWheelTaps); ++tap) {
        out.push_back(InputMessage{kMessageKeyDown, virtualKey, 0});
        out.push_back(InputMessage{kMessageKeyUp, virtualKey, 0});
      }
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button != SDL_BUTTON_LEFT || stylusDown_) break;
      helpShown_ = false;
      stylusDown_ = true;
      stylusLast_ = stylusAt(event.button.x, event.button.y);
      out.push_back(InputMessage{kMessageStylusDown, kStylusHeldBit, stylusLast_});
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button != SDL_BUTTON_LEFT || !stylusDown_) break;
      stylusDown_ = false;
      out.push_back(InputMessage{kMessageStylusUp, 0, stylusAt(event.button.x, event.button.y)});
      break;
    case SDL_MOUSEMOTION:
      // The stylus only reports moves while it touches the screen.
      if (!stylusDown_ || (event.motion.state & SDL_BUTTON_LMASK) == 0) break;
      stylusLast_ = stylusAt(event.motion.x, event.motion.y);
      out.push_back(InputMessage{kMessageStylusMove, kStylusHeldBit, stylusLast_});
      break;
    case SDL_QUIT:
      pressQuitButton(out);
      break;
    case SDL_WINDOWEVENT:
      translateWindowEvent(event.window, out);
      break;
    default:
      break;
  }
}

void InputTranslator::translateWindowEvent(const SDL_WindowEvent& event, std::vector<InputMessage>& out) {
  switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      setWindowSize(event.data1, event.data2);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // Releases while another program has the focus never reach us: let
      // go of every key and the stylus now, so that nothing stays held.
      heldKeys_.releaseAll([&out](uint8_t virtualKey) { out.push_back(InputMessage{kMessageKeyUp, virtualKey, 0}); });
      if (stylusDown_) {
        stylusDown_ = false;
        out.push_back(InputMessage{kMessageStylusUp, 0, stylusLast_});
      }
      break;
    case SDL_WINDOWEVENT_CLOSE:
      pressQuitButton(out);
      break;
    default:
      break;
  }
}

}  // namespace platform
