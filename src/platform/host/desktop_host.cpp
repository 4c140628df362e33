#include "platform/host/desktop_host.h"

#include "shell/application.h"
#include "shell/main_window.h"

namespace platform {

DesktopResult runDesktop(const SdlOptions& options) {
  DesktopResult result;
  std::string error;
  std::unique_ptr<SdlBackend> desktop = SdlBackend::open(options, error);
  if (desktop == nullptr) {
    result.exitCode = 1;
    result.error = "no display available (" + error + "); use --headless to run without a window";
    return result;
  }
  resetWindowManager();
  installBackend(desktop.get());
  resetApplication();

  static int instanceTag = 0;  // any non-null value stands for the instance handle
  result.exitCode = viewerEntry(&instanceTag, nullptr, u"", 1);

  if (!desktop->windowError().empty()) {
    result.exitCode = 1;
    result.error = "cannot open the window: " + desktop->windowError();
  } else if (result.exitCode == 1) {
    result.panoramaFailed = true;
    result.error = "no panorama found: looked in " + desktop->moduleFilePath() + " and " +
                   desktop->standaloneHostPath() + " (standing for \\Temp\\Test.QBZ)";
  } else if (!desktop->captureError().empty()) {
    result.exitCode = 1;
    result.error = desktop->captureError();
  }

  result.restart = result.exitCode == 0 && desktop->restartRequested();
  resetApplication();
  installBackend(nullptr);
  resetWindowManager();
  return result;
}

}  // namespace platform
