// Runs the viewer in a Win32 window: the same entry point, window procedure
// and main loop as on the handheld, on the real window system.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/win32_backend.h"

namespace platform {

struct Win32Result {
  int32_t exitCode = 0;
  std::string error;  // one line when something went wrong
};

// Exit code 0 after a normal end (or when another copy was brought forward
// instead), 1 when the window cannot be made or no panorama loads.
Win32Result runWin32Window(const Win32Options& options);

}  // namespace platform
