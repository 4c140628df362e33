// Desktop input as the handheld's messages: keys through the desktop key
// table, the left mouse button as the stylus, the wheel as zoom-key taps, the
// window's close button as the quit button; host commands (help, full
// screen, screenshot, Escape) are handed back to the backend.
#pragma once

#include <SDL_events.h>

#include <cstdint>
#include <vector>

#include "core/screen.h"
#include "platform/desktop/desktop_keys.h"
#include "platform/desktop/screen_layout.h"
#include "platform/desktop/tap_keeper.h"

namespace platform {

class InputTranslator {
 public:
  explicit InputTranslator(ScreenScaling scaling = ScreenScaling::Sharp) : scaling_(scaling) {}

  // The window's size in the units of mouse events; the screen is drawn
  // letterboxed in it (fitScreen).
  void setWindowSize(int32_t width, int32_t height);
  ScreenRect screenInWindow() const { return screen_; }

  // Appends the messages this event stands for to out (often none), and the
  // host commands it asks for to commands.
  void translate(const SDL_Event& event, std::vector<InputMessage>& out, std::vector<HostCommand>& commands);
  // Presses and releases the quit button (once per run).
  void pressQuitButton(std::vector<InputMessage>& out);

  // The help card is up from its command until the next key press, which
  // only hides it.
  bool helpShown() const { return helpShown_; }

 private:
  void translateKeyDown(const SDL_KeyboardEvent& event, std::vector<InputMessage>& out,
                        std::vector<HostCommand>& commands);
  void translateWindowEvent(const SDL_WindowEvent& event, std::vector<InputMessage>& out);
  intptr_t stylusAt(int32_t x, int32_t y) const;

  ScreenScaling scaling_;
  ScreenRect screen_ = fitScreen(kScreenWidth, kScreenHeight);
  HeldKeys heldKeys_;
  bool stylusDown_ = false;
  intptr_t stylusLast_ = 0;  // where the stylus was last reported
  bool quitPressed_ = false;
  bool helpShown_ = false;
};

}  // namespace platform
