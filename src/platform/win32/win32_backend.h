// The Windows backend: the viewer's window is a real Win32 window. Its class
// is registered with RegisterClassW, the window made with CreateWindowExW,
// the main loop peeks, translates and dispatches on the thread's real queue,
// the stylus hold timer is a real SetTimer timer, a second copy finds the
// first with FindWindowW. The 240 x 320 5-6-5 screen is presented through a
// DIB with StretchDIBits, scaled and letterboxed like the SDL window, and
// frames are paced at the device's rate.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/desktop/desktop_keys.h"
#include "platform/desktop/frame_pacer.h"
#include "platform/desktop/screen_layout.h"
#include "platform/desktop/tap_keeper.h"
#include "platform/emulated_display.h"

namespace platform {

struct Win32Options {
  DeviceClass device = DeviceClass::Generic;
  int32_t scale = 2;             // whole factor of the window over 240 x 320
  bool fullscreen = false;       // the monitor's whole area, letterboxed
  int32_t framesPerSecond = 30;  // the display's pace, 1..1000
  std::string standaloneFile;    // host file for "\Temp\Test.QBZ"; empty: Test.QBZ in %TEMP%
  // One window per panorama: the desktop window's title (empty: the viewer's
  // own), and who counts as the same copy (the panorama's path; empty: any
  // copy of the viewer).
  std::string windowTitle;
  std::string instanceKey;
};

class Win32Backend : public Backend, public WindowSystem {
 public:
  explicit Win32Backend(const Win32Options& options);
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  std::string standaloneHostPath() const;
  // Why the window could not be made; empty when it was (or never asked for).
  const std::string& windowError() const { return windowError_; }
  int32_t framesPresented() const { return framesPresented_; }

  // Backend
  WindowSystem* windowSystem() override { return this; }
  uint64_t nowMs() override;
  void pollInput() override {}
  bool readyForFrame() override { return true; }
  std::u16string oemInfo() override { return display_.oemInfo(); }
  std::string moduleFilePath() override;
  std::string mapPath(const std::string& handheldPath) override;
  WindowHandle findOtherInstance(const std::u16string&, const std::u16string&) override { return nullptr; }
  void bringToFront(WindowHandle) override {}
  void windowCreated(WindowHandle) override {}
  void windowShown(WindowHandle) override {}
  int gxOpenDisplay(WindowHandle window, uint32_t flags) override;
  int gxCloseDisplay() override { return 1; }
  void* gxBeginDraw() override { return display_.beginDraw(); }
  int gxEndDraw() override;
  uint8_t* directDisplayMemory() override { return display_.directMemory(); }

  // WindowSystem
  WindowHandle findWindow(const char16_t* className, const char16_t* title) override;
  bool setForegroundWindow(WindowHandle window) override;
  uint16_t registerClass(const WindowClass& windowClass) override;
  WindowHandle createWindow(uint32_t extendedStyle, const char16_t* className, const char16_t* title, uint32_t style,
                            int32_t x, int32_t y, int32_t width, int32_t height, InstanceHandle instance) override;
  bool moveWindow(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint) override;
  bool showWindow(WindowHandle window, int32_t showCommand) override;
  bool updateWindow(WindowHandle window) override;
  bool shellFullScreen(WindowHandle window, uint32_t flags) override;
  bool peekMessage(Message& message, WindowHandle window, bool remove) override;
  bool translateMessage(const Message& message) override;
  MessageResult dispatchMessage(const Message& message) override;
  MessageResult defaultWindowProcedure(WindowHandle window, uint32_t message, uintptr_t wParam,
                                       intptr_t lParam) override;
  void postQuitMessage(int32_t exitCode) override;
  uintptr_t setTimer(WindowHandle window, uintptr_t id, uint32_t periodMs) override;
  bool killTimer(WindowHandle window, uintptr_t id) override;
  bool invalidateScreen(bool erase) override;

 private:
  std::u16string nativeClassName(const char16_t* className) const;
  std::u16string nativeTitle(const char16_t* title) const;
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT toViewer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void deliver(HWND window, const InputMessage& input);
  void keyDown(HWND window, WPARAM key);
  void keyUp(HWND window, WPARAM key);
  void runCommand(HWND window, HostCommand command);
  void pressQuitButton(HWND window);
  void releaseEverything(HWND window);
  LPARAM stylusAt(LPARAM windowPoint) const;
  void presentFrame();
  void paint(HDC dc);
  void paintHelpCard(HDC dc, const ScreenRect& screen);
  void saveScreenshot();
  void setFullScreen(bool fullscreen);

  Win32Options options_;
  EmulatedDisplay display_;
  FramePacer pacer_;
  uint64_t startMs_ = 0;

  struct RegisteredClass {
    ATOM atom;
    WindowProcedure procedure;
  };
  std::vector<RegisteredClass> classes_;
  HWND window_ = nullptr;
  std::string windowError_;
  bool fullscreen_ = false;
  WINDOWPLACEMENT windowedPlacement_{};

  // What the window shows: the last presented screen, top row first.
  std::vector<uint16_t> frame_;
  int32_t framesPresented_ = 0;
  bool directFrameWaiting_ = false;  // the direct class drew a frame not yet presented
  bool screenshotWanted_ = false;    // F12 came before the first frame

  // Frame pacing, and the rule that no tap is lost: input the keeper held
  // back until a frame had run waits in released_ for the message loop.
  FramePacer::Clock::time_point nextFrameAt_{};
  bool frameRan_ = false;
  TapKeeper taps_;
  std::vector<InputMessage> released_;
  size_t nextReleased_ = 0;

  HeldKeys heldKeys_;  // physical keys are the desktop's virtual-key codes
  bool stylusDown_ = false;
  LPARAM stylusLast_ = 0;
  bool quitPressed_ = false;
  bool helpShown_ = false;
};

}  // namespace platform
