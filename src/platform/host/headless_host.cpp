#include "platform/host/headless_host.h"

#include "platform/screen_capture.h"
#include "shell/application.h"
#include "shell/input_state.h"
#include "shell/main_window.h"

namespace platform {

HeadlessResult runHeadless(const HeadlessRun& run) {
  HeadlessOptions options = run.options;
  options.quitPending = [] { return quitRequested; };
  HeadlessBackend headless(std::move(options));
  resetWindowManager();
  installBackend(&headless);
  resetApplication();

  HeadlessResult result;
  static int instanceTag = 0;  // any non-null value stands for the instance handle
  result.exitCode = viewerEntry(&instanceTag, nullptr, u"", 1);
  result.framesProduced = headless.framesProduced();
  result.screen = headless.display().screen();

  if (const int32_t since = headless.quitNeverCarriedOutSince(); since != 0) {
    result.error = "the viewer asked to quit in frame " + std::to_string(since) + " but no message came to carry it " +
                   "out in the " + std::to_string(kQuitWaitFrames) + " frames after the script ended; exit status " +
                   std::to_string(kExitQuitNeverCarriedOut);
  }
  if (!headless.scriptError().empty() && result.exitCode == 0) {
    result.exitCode = 2;
    result.error = headless.scriptError();
  }
  if (result.exitCode == 1 && result.framesProduced == 0) {
    result.error = "no panorama found: looked in " + headless.moduleFilePath() + " and " +
                   headless.standaloneHostPath() + " (standing for \\Temp\\Test.QBZ)";
  }
  FileWrite written;
  if (result.exitCode == 0 && !run.dumpDisplayPath.empty()) written = writeRawScreen(run.dumpDisplayPath, result.screen);
  if (written && result.exitCode == 0 && !run.screenshotPath.empty()) {
    written = writePngScreen(run.screenshotPath, result.screen);
  }
  if (!written) {
    result.exitCode = 1;
    result.error = written.error;
  }

  resetApplication();
  installBackend(nullptr);
  resetWindowManager();
  return result;
}

}  // namespace platform
