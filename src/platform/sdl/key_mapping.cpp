#include "platform/sdl/key_mapping.h"

namespace platform {

DesktopKey desktopKeyFor(SDL_Keycode key) {
  switch (key) {
    case SDLK_LEFT: return DesktopKey::Left;
    case SDLK_UP: return DesktopKey::Up;
    case SDLK_RIGHT: return DesktopKey::Right;
    case SDLK_DOWN: return DesktopKey::Down;
    case SDLK_HOME: return DesktopKey::Home;
    case SDLK_PAGEUP: return DesktopKey::PageUp;
    case SDLK_PAGEDOWN: return DesktopKey::PageDown;
    case SDLK_w: return DesktopKey::W;
    case SDLK_r: return DesktopKey::R;
    case SDLK_q: return DesktopKey::Q;
    case SDLK_h: return DesktopKey::H;
    case SDLK_F1: return DesktopKey::F1;
    case SDLK_F11: return DesktopKey::F11;
    case SDLK_F12: return DesktopKey::F12;
    case SDLK_ESCAPE: return DesktopKey::Escape;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return DesktopKey::Enter;
    case SDLK_PLUS: return DesktopKey::Plus;
    case SDLK_MINUS: return DesktopKey::Minus;
    case SDLK_EQUALS: return DesktopKey::Equals;
    case SDLK_KP_PLUS: return DesktopKey::KeypadPlus;
    case SDLK_KP_MINUS: return DesktopKey::KeypadMinus;
    default: return DesktopKey::Other;
  }
}

uint32_t desktopModifiers(uint16_t modifiers) {
  return ((modifiers & KMOD_SHIFT) != 0 ? kDesktopShift : 0) | ((modifiers & KMOD_ALT) != 0 ? kDesktopAlt : 0);
}

}  // namespace platform
