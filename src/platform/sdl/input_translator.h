// Desktop input as the handheld's messages: keys as virtual-key messages, the
// left mouse button as the stylus, the window's close button as the quit
// button.
#pragma once

#include <SDL_events.h>

#include <cstdint>
#include <vector>

#include "platform/sdl/key_mapping.h"
#include "platform/sdl/screen_layout.h"

namespace platform {

struct InputMessage {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

class InputTranslator {
 public:
  // The window's size in the units of mouse events; the screen is drawn
  // letterboxed in it (fitScreen).
  void setWindowSize(int32_t width, int32_t height);
  ScreenRect screenInWindow() const { return screen_; }

  // Appends the messages this event stands for to out (often none).
  void translate(const SDL_Event& event, std::vector<InputMessage>& out);

 private:
  void translateWindowEvent(const SDL_WindowEvent& event, std::vector<InputMessage>& out);
  intptr_t stylusAt(int32_t x, int32_t y) const;
  void pressQuitButton(std::vector<InputMessage>& out);

  ScreenRect screen_ = fitScreen(240, 320);
  HeldKeys heldKeys_;
  bool stylusDown_ = false;
  intptr_t stylusLast_ = 0;  // where the stylus was last reported
  bool quitPressed_ = false;
};

}  // namespace platform
