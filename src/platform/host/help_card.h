// The desktop window's help card: the key table drawn as a small picture
// for the window to lay over the scaled screen.
#pragma once

#include "platform/sdl/sdl_backend.h"

namespace platform {

// Empty when this build has no font to draw it with (built without qbzpack).
HostPicture renderHelpCard();

}  // namespace platform
