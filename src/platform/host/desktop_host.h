// Runs the viewer in a desktop window: the same entry point, window
// procedure and main loop as on the handheld, on the SDL2 backend.
#pragma once

#include <cstdint>
#include <string>

#include "platform/sdl/sdl_backend.h"

namespace platform {

struct DesktopResult {
  int32_t exitCode = 0;
  std::string error;  // one line when something went wrong
  bool panoramaFailed = false;  // no panorama loaded
  bool restart = false;  // a dropped file was accepted: run again on it
};

// Exit code 0 after a normal end (or when another copy was brought forward
// instead), 1 when there is no display, the window cannot be opened or no
// panorama loads.
DesktopResult runDesktop(const SdlOptions& options);

}  // namespace platform
