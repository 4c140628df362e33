// Runs the viewer end to end on the headless backend: the same entry point,
// window procedure and main loop as on the handheld.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

namespace platform {

struct HeadlessRun {
  HeadlessOptions options;
  std::string dumpDisplayPath;  // raw 5-6-5 screen after the last frame
  std::string screenshotPath;   // PNG of the same screen
};

struct HeadlessResult {
  int32_t exitCode = 0;
  int32_t framesProduced = 0;
  std::vector<uint16_t> screen;  // the portrait screen after the last frame
  std::string error;             // one line when exitCode is not 0
};

// Exit code 0 after a normal end, 1 when no panorama loads or an output
// cannot be written, 2 when a streamed script turned bad during the run, 3
// (kExitQuitNeverCarriedOut) when a run without a frame limit ended because
// the viewer's quit request was never carried out.
HeadlessResult runHeadless(const HeadlessRun& run);

}  // namespace platform
