// The page's input as the handheld's messages: keys (the DOM's
// KeyboardEvent.code) through the desktop key table, the primary pointer
// (mouse, pen or touch) as the stylus, scaled back to the 240 x 320 screen.
// Messages pass the no-lost-taps rule before they are posted to the viewer's
// window. Nothing here calls the browser, so it is tested natively.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop/desktop_keys.h"
#include "platform/desktop/tap_keeper.h"

namespace platform {

enum class PointerKind : int32_t { Down = 0, Move = 1, Up = 2, Cancel = 3 };

// What the page does with a key after the viewer has seen it.
enum class PageKeyUse : int32_t {
  Ignored = 0,           // not the viewer's: the browser acts on it as usual
  Viewer = 1,            // a handheld key: the browser must not act on it
  ToggleFullScreen = 2,  // the page's own commands
  SaveScreen = 3,
  Help = 4,
};

// The desktop key a DOM key code stands for; keyText (KeyboardEvent.key)
// tells a '+' key on layouts that have one.
DesktopKey desktopKeyForCode(const std::string& code, const std::string& keyText);
// The screen pixel under a point of the canvas's box (CSS pixels), clamped to
// the screen; the box shows the whole screen with its aspect kept.
int32_t screenCoordinate(double position, double boxExtent, int32_t screenExtent);

class WebInput {
 public:
  PageKeyUse key(const std::string& code, const std::string& keyText, bool down, bool repeat, uint32_t modifiers);
  void pointer(PointerKind kind, double x, double y, double width, double height);
  // The page lost the focus: every key and the stylus go up.
  void releaseAll();
  // A frame has run: releases held back for it go to the viewer now.
  void frameDone();

 private:
  void send(uint32_t message, uintptr_t wParam, intptr_t lParam);
  void post(const std::vector<InputMessage>& messages);

  HeldKeys heldKeys_;
  TapKeeper taps_;
  std::vector<InputMessage> ready_;
  bool stylusDown_ = false;
  intptr_t stylusLast_ = 0;
};

}  // namespace platform
