// SDL's key codes as the host-neutral desktop keys.
#pragma once

#include <SDL_keycode.h>

#include <cstdint>

#include "platform/desktop/desktop_keys.h"

namespace platform {

DesktopKey desktopKeyFor(SDL_Keycode key);
// SDL's key modifiers as kDesktop* flags.
uint32_t desktopModifiers(uint16_t modifiers);

}  // namespace platform
