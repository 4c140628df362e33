// The platform layer: exactly the operating-system services the viewer uses,
// in the shape the handheld offers them. The viewer's code calls nothing else
// of the host; a backend (headless or SDL2) stands behind these functions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

struct WindowRecord;
using WindowHandle = WindowRecord*;
using InstanceHandle = void*;
using MessageResult = intptr_t;
using WindowProcedure = MessageResult (*)(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Message codes as the handheld numbers them.
constexpr uint32_t kMessageCreate = 0x0001;
constexpr uint32_t kMessageQuit = 0x0012;
constexpr uint32_t kMessageKeyDown = 0x0100;
constexpr uint32_t kMessageKeyUp = 0x0101;
constexpr uint32_t kMessageTimer = 0x0113;
constexpr uint32_t kMessageStylusMove = 0x0200;
constexpr uint32_t kMessageStylusDown = 0x0201;
constexpr uint32_t kMessageStylusUp = 0x0202;

constexpr uintptr_t kStylusHeldBit = 1;  // wParam bit of a move with the stylus down

// lParam of a stylus message: x in the low 16 bits, y in the high 16 bits.
constexpr intptr_t stylusPosition(int32_t x, int32_t y) {
  return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) | static_cast<uint32_t>(x & 0xFFFF));
}

struct Message {
  WindowHandle window;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

struct WindowClass {
  uint32_t style;
  WindowProcedure procedure;
  int32_t classExtraBytes;
  int32_t windowExtraBytes;
  InstanceHandle instance;
  void* icon;
  void* cursor;
  void* background;
  const char16_t* menuName;
  const char16_t* className;
};

// The top-level window with this class name and title, or null.
WindowHandle findWindow(const char16_t* className, const char16_t* title);
// Brings the window to the front; never takes the focus from another program.
bool setForegroundWindow(WindowHandle window);
// A non-zero class identifier, or 0 when registration fails.
uint16_t registerClass(const WindowClass& windowClass);
// Creates the window; its procedure receives the create message during this call.
WindowHandle createWindow(uint32_t extendedStyle, const char16_t* className, const char16_t* title, uint32_t style,
                          int32_t x, int32_t y, int32_t width, int32_t height, WindowHandle parent, void* menu,
                          InstanceHandle instance, void* creationData);
bool moveWindow(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint);
bool showWindow(WindowHandle window, int32_t showCommand);
bool updateWindow(WindowHandle window);
// The shell's full-screen service (0x20 start icon, 8 input panel button, 2 task bar).
bool shellFullScreen(WindowHandle window, uint32_t flags);

// Takes the next message for any window of the thread (window null) if one
// waits; false when the queue is empty. Timers that have expired come out as
// timer messages once nothing else waits.
bool peekMessage(Message& message, WindowHandle window, bool remove);
bool translateMessage(const Message& message);
// Runs the procedure of the message's window and returns its result.
MessageResult dispatchMessage(const Message& message);
MessageResult defaultWindowProcedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Queues the quit message with exitCode as its wParam.
void postQuitMessage(int32_t exitCode);
// A message timer: a timer message every periodMs until killed.
uintptr_t setTimer(WindowHandle window, uintptr_t id, uint32_t periodMs);
bool killTimer(WindowHandle window, uintptr_t id);
// Invalidates every window of the screen, the shell's included.
bool invalidateScreen(bool erase);

// The system-parameters query; action 258 copies the OEM information string
// (wide characters) into buffer, up to size bytes.
bool systemParametersInfo(uint32_t action, uint32_t size, void* buffer);
// The running executable's own path, NUL-terminated; its length, 0 on failure.
uint32_t moduleFileName(char16_t* buffer, uint32_t capacity);

// Files, with the handheld's paths ("\Temp\Test.QBZ"); the backend maps them
// onto host files. Seek and tell use 32-bit offsets as on the handheld.
struct File;
constexpr int kSeekSet = 0;
constexpr int kSeekCurrent = 1;
constexpr int kSeekEnd = 2;
File* fileOpen(const char* path, const char* mode);
File* fileOpenWide(const char16_t* path, const char16_t* mode);
int fileSeek(File* file, int32_t offset, int origin);  // 0 on success
int32_t fileTell(File* file);                           // -1 on failure
size_t fileRead(void* buffer, size_t size, size_t count, File* file);
int fileClose(File* file);

// The fixed display memory of the direct device class: the byte that stands
// for address 0xAC050020, with 153600 bytes behind it.
uint8_t* directDisplayMemory();

}  // namespace platform

// GAPI, the handheld's game display and input access.
int GXOpenDisplay(platform::WindowHandle window, uint32_t flags);
int GXOpenInput();
// Pointer to the display memory for this frame (may be null).
void* GXBeginDraw();
int GXEndDraw();
int GXCloseInput();
int GXCloseDisplay();
