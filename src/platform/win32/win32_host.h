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

// The window's title and instance key for a panorama: "qbzview - NAME" for
// a stand-alone file named on the command line, the executable's name for a
// self-contained viewer (which shows its own panorama whatever is named).
void nameWindowAfterPanorama(Win32Options& options);

// Exit code 0 after a normal end (or when another copy was brought forward
// instead), 1 when the window cannot be made or no panorama loads.
Win32Result runWin32Window(const Win32Options& options);

}  // namespace platform
