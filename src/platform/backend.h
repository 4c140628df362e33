// What a backend supplies behind the platform interface. The window manager
// (window_manager.cpp) implements the platform functions that every backend
// shares: classes, windows, the message queue and message timers; it asks
// the installed backend for the clock, input, the device's facts and display
// access.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// The window, message and timer services of a real window system (Win32).
// A backend that stands on one returns it from windowSystem(); the platform
// functions then go to it instead of the emulated window manager, so the
// viewer's window procedure receives the system's own messages.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual WindowHandle findWindow(const char16_t* className, const char16_t* title) = 0;
  virtual bool setForegroundWindow(WindowHandle window) = 0;
  virtual uint16_t registerClass(const WindowClass& windowClass) = 0;
  virtual WindowHandle createWindow(uint32_t extendedStyle, const char16_t* className, const char16_t* title,
                                    uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height,
                                    InstanceHandle instance) = 0;
  virtual bool moveWindow(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint) = 0;
  virtual bool showWindow(WindowHandle window, int32_t showCommand) = 0;
  virtual bool updateWindow(WindowHandle window) = 0;
  virtual bool shellFullScreen(WindowHandle window, uint32_t flags) = 0;
  virtual bool peekMessage(Message& message, WindowHandle window, bool remove) = 0;
  virtual bool translateMessage(const Message& message) = 0;
  virtual MessageResult dispatchMessage(const Message& message) = 0;
  virtual MessageResult defaultWindowProcedure(WindowHandle window, uint32_t message, uintptr_t wParam,
                                               intptr_t lParam) = 0;
  virtual void postQuitMessage(int32_t exitCode) = 0;
  virtual uintptr_t setTimer(WindowHandle window, uintptr_t id, uint32_t periodMs) = 0;
  virtual bool killTimer(WindowHandle window, uintptr_t id) = 0;
  virtual bool invalidateScreen(bool erase) = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;

  // The real window system behind the platform's window calls; null: the
  // emulated window manager, driven by this backend's clock and input.
  virtual WindowSystem* windowSystem() { return nullptr; }

  // Milliseconds on the backend's clock (virtual in the headless backend).
  virtual uint64_t nowMs() = 0;
  // Called when no message waits; the backend may post input with postMessage.
  virtual void pollInput() = 0;
  // Called when nothing waits and no timer is due, just before the viewer
  // would produce a frame. Returning false means the backend posted messages
  // (or the quit message) instead, and the queue is looked at again.
  virtual bool readyForFrame() = 0;

  // The OEM information string, any length: systemParametersInfo cuts it to
  // the caller's buffer.
  virtual std::u16string oemInfo() = 0;
  // Host path of the running executable.
  virtual std::string moduleFilePath() = 0;
  // Host file that stands for a handheld path such as "\Temp\Test.QBZ".
  virtual std::string mapPath(const std::string& handheldPath) = 0;

  // A window of another running copy of the viewer with this class and title.
  virtual WindowHandle findOtherInstance(const std::u16string& className, const std::u16string& title) = 0;
  // Brings a window (ours, or another instance's) forward without taking focus.
  virtual void bringToFront(WindowHandle window) = 0;
  virtual void windowCreated(WindowHandle window) = 0;
  virtual void windowShown(WindowHandle window) = 0;

  // Display access.
  virtual int gxOpenDisplay(WindowHandle window, uint32_t flags) = 0;
  virtual int gxCloseDisplay() = 0;
  virtual void* gxBeginDraw() = 0;
  virtual int gxEndDraw() = 0;
  virtual uint8_t* directDisplayMemory() = 0;
};

// The backend behind the platform functions; the host installs one before
// starting the viewer and keeps it alive while the viewer runs.
void installBackend(Backend* backend);
Backend& backend();

// From now on the host file hostPath reads as these bytes, whatever is on
// disk (a picture converted to a container in memory); an empty path forgets it.
void setMemoryFile(const std::string& hostPath, std::vector<uint8_t> bytes);

// Queues a message at the end of the queue (input from a backend).
void postMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// The first top-level window created, the one input goes to; null before.
WindowHandle inputWindow();
// The title a window of ours was created with; empty for any other handle.
std::u16string windowTitle(WindowHandle window);
// A handle standing for a window of another running copy of the viewer, for
// findOtherInstance to return; it lives until resetWindowManager.
WindowHandle foreignWindow(const std::u16string& className, const std::u16string& title);

// Platform calls worth checking in tests, in the order made.
enum class Call {
  FindWindow,
  SetForeground,
  RegisterClass,
  CreateWindow,
  MoveWindow,
  ShowWindow,
  UpdateWindow,
  ShellFullScreen,
  SetTimer,
  KillTimer,
  InvalidateScreen,
  PostQuit,
  GXOpenDisplay,
  GXOpenInput,
  GXBeginDraw,
  GXEndDraw,
  GXCloseInput,
  GXCloseDisplay,  // the last kind
};
struct CallRecord {
  Call call;
  int64_t argument;  // the flags, timer id, exit code or show command; else 0
  uint64_t timeMs;   // the backend's clock when the call was made
};
// The first 4096 calls in order; countCalls counts every call of a kind.
const std::vector<CallRecord>& callLog();
size_t countCalls(Call call);

// Forgets every class, window, message, timer and logged call.
void resetWindowManager();

}  // namespace platform
