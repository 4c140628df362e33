#include "shell/main_window.h"

#include <cstring>

#include "core/render_context.h"
#include "core/screen.h"
#include "shell/application.h"
#include "shell/input_state.h"
#include "shell/view_control.h"

platform::WindowHandle mainWindow = nullptr;

namespace {

platform::InstanceHandle applicationInstance = nullptr;

constexpr uint32_t kClassStyle = 3;  // redraw on horizontal and vertical size change
constexpr uint32_t kWindowStyle = 0x90000000u;  // popup, visible
constexpr uint32_t kHideStartIcon = 0x20;
constexpr uint32_t kHideInputPanelButton = 8;
constexpr uint32_t kHideTaskBar = 2;
constexpr uint32_t kFullScreenDisplay = 1;

int32_t lowWord(intptr_t value) { return static_cast<int32_t>(static_cast<uintptr_t>(value) & 0xFFFF); }
int32_t highWord(intptr_t value) { return static_cast<int32_t>((static_cast<uintptr_t>(value) >> 16) & 0xFFFF); }

}  // namespace

int32_t viewerEntry(platform::InstanceHandle instance, platform::InstanceHandle previousInstance,
                    const char16_t* commandLine, int32_t showCommand) {
  int32_t exitCode = 0;
  if (!viewerStartUp(instance, previousInstance, commandLine, showCommand, exitCode)) return exitCode;
  return runMainLoop();
}

bool viewerStartUp(platform::InstanceHandle instance, platform::InstanceHandle previousInstance,
                   const char16_t* /*commandLine*/, int32_t showCommand, int32_t& exitCode) {
  exitCode = 0;
  if (platform::WindowHandle running = platform::findWindow(kApplicationName, kApplicationName)) {
    platform::setForegroundWindow(running);
    return false;
  }
  applicationInstance = instance;

  if (previousInstance == nullptr) {
    platform::WindowClass windowClass{};
    windowClass.style = kClassStyle;
    windowClass.procedure = mainWindowProc;
    windowClass.instance = instance;
    windowClass.className = kApplicationName;
    if (platform::registerClass(windowClass) == 0) return false;
  }

  mainWindow = platform::createWindow(0, kApplicationName, kApplicationName, kWindowStyle, 0, 0, kScreenWidth,
                                      kScreenHeight, nullptr, nullptr, applicationInstance, nullptr);
  platform::shellFullScreen(mainWindow, kHideStartIcon);
  platform::shellFullScreen(mainWindow, kHideInputPanelButton);
  platform::shellFullScreen(mainWindow, kHideTaskBar);
  platform::moveWindow(mainWindow, 0, 0, kScreenWidth, kScreenHeight, true);
  platform::showWindow(mainWindow, showCommand);
  platform::updateWindow(mainWindow);
  std::memset(KeyState, 0, sizeof KeyState);

  if (!startApplication()) {
    // Nothing was shown; give the display and the keys back before leaving.
    GXCloseInput();
    GXCloseDisplay();
    exitCode = 1;
    return false;
  }
  return true;
}

platform::MessageResult mainWindowProc(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                                       intptr_t lParam) {
  switch (message) {
    case platform::kMessageCreate:
      GXOpenDisplay(window, kFullScreenDisplay);
      GXOpenInput();
      break;
    case platform::kMessageKeyDown: {
      const uint32_t key = static_cast<uint32_t>(wParam & 0xFF);
      KeyState[key] = 1;
      if (key == kKeyQuitNow) quitRequested = true;
      break;
    }
    case platform::kMessageKeyUp:
      KeyState[wParam & 0xFF] = 0;
      break;
    case platform::kMessageTimer:
      if (wParam == kStylusHoldTimer) {
        platform::killTimer(window, kStylusHoldTimer);
        if (stylusState.holdPending) onStylusHold(stylusState.anchorX, stylusState.anchorY);
      }
      break;
    case platform::kMessageStylusMove:
      if ((wParam & platform::kStylusHeldBit) != 0 && stylusState.anchorX != -1 && stylusState.anchorY != -1) {
        stylusState.currentX = lowWord(lParam);
        stylusState.currentY = highWord(lParam);
        // A move cancels a pending hold, unless the press was at (0, 0).
        if (stylusState.anchorX != 0 || stylusState.anchorY != 0) stylusState.holdPending = 0;
      }
      break;
    case platform::kMessageStylusDown:
      if (stylusState.anchorX == -1 || stylusState.anchorY == -1) {
        stylusState.anchorX = lowWord(lParam);
        stylusState.anchorY = highWord(lParam);
        stylusState.holdPending = 1;
        platform::setTimer(window, kStylusHoldTimer, kStylusHoldMs);
      }
      break;
    case platform::kMessageStylusUp:
      stylusState.currentX = -1;
      stylusState.currentY = -1;
      stylusState.anchorX = -1;
      stylusState.anchorY = -1;
      stylusState.holdPending = 0;
      break;
    default:
      return platform::defaultWindowProcedure(window, message, wParam, lParam);
  }
  if (quitRequested) shutdownDisplay(window);
  return 0;
}

void shutdownDisplay(platform::WindowHandle /*window*/) {
  GXCloseInput();
  GXCloseDisplay();
  platform::invalidateScreen(true);
  platform::postQuitMessage(0);
}
