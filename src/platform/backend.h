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

class Backend {
 public:
  virtual ~Backend() = default;

  // Milliseconds on the backend's clock (virtual in the headless backend).
  virtual uint64_t nowMs() = 0;
  // Called when no message waits; the backend may post input with postMessage.
  virtual void pollInput() = 0;
  // Called when nothing waits and no timer is due, just before the viewer
  // would produce a frame. Returning false means the backend posted messages
  // (or the quit message) instead, and the queue is looked at again.
  virtual bool readyForFrame() = 0;

  // The OEM information string, NUL-terminated, at most capacity characters.
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
