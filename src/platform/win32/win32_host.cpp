#include "platform/win32/win32_host.h"

#include "shell/application.h"
#include "shell/main_window.h"

namespace platform {

Win32Result runWin32Window(const Win32Options& options) {
  Win32Result result;
  Win32Backend desktop(options);
  resetWindowManager();
  installBackend(&desktop);
  resetApplication();

  result.exitCode = viewerEntry(GetModuleHandleW(nullptr), nullptr, u"", SW_SHOWNORMAL);

  if (!desktop.windowError().empty()) {
    result.exitCode = 1;
    result.error = "cannot open the window: " + desktop.windowError();
  } else if (result.exitCode == 1) {
    result.error = "no panorama found: looked in " + desktop.moduleFilePath() + " and " +
                   desktop.standaloneHostPath() + " (standing for \\Temp\\Test.QBZ)";
  }

  resetApplication();
  installBackend(nullptr);
  resetWindowManager();
  return result;
}

}  // namespace platform
