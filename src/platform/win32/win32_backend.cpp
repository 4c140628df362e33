#include "platform/win32/win32_backend.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "platform/host_file.h"
#include "platform/path_mapping.h"
#include "platform/screen_capture.h"
#include "platform/text_encoding.h"

namespace platform {

namespace {

constexpr uint8_t kVkQuitNow = 0xC5;
constexpr LPARAM kRepeatBit = LPARAM(1) << 30;  // key message: the key was already down

// The one backend whose window procedure runs; the viewer runs one window.
Win32Backend* activeBackend = nullptr;

HWND toHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle toHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }
const wchar_t* wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// The 5-6-5 screen as a top-down DIB.
struct ScreenBitmapInfo {
  BITMAPINFOHEADER header;
  DWORD masks[3];
};

ScreenBitmapInfo screenBitmapInfo() {
  ScreenBitmapInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = kScreenWidth;
  info.header.biHeight = -kScreenHeight;  // negative: the first row is the top one
  info.header.biPlanes = 1;
  info.header.biBitCount = 16;
  info.header.biCompression = BI_BITFIELDS;
  info.masks[0] = 0xF800;
  info.masks[1] = 0x07E0;
  info.masks[2] = 0x001F;
  return info;
}

bool isPress(UINT message, LPARAM lParam) {
  return ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && (lParam & kRepeatBit) == 0) ||
         message == WM_LBUTTONDOWN;
}

// What a desktop key does: a handheld key, or one of the host's own commands.
enum class HostCommand { None, Screenshot, ToggleFullScreen };
struct KeyMeaning {
  uint8_t handheldKey;
  HostCommand command;
};

KeyMeaning meaningOf(WPARAM key, bool alt) {
  switch (key) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: return {static_cast<uint8_t>(key), HostCommand::None};
    case VK_F1: return {0xC1, HostCommand::None};
    case VK_F2:
    case 'R': return {0xC2, HostCommand::None};
    case VK_F3:
    case VK_ADD:
    case VK_OEM_PLUS:
    case VK_PRIOR: return {0xC3, HostCommand::None};
    case VK_F4:
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
    case VK_NEXT: return {0xC4, HostCommand::None};
    case VK_F5:
    case VK_ESCAPE: return {kVkQuitNow, HostCommand::None};
    case VK_HOME:
    case 'W': return {0x24, HostCommand::None};
    case VK_F11: return {0, HostCommand::ToggleFullScreen};
    case VK_RETURN: return {0, alt ? HostCommand::ToggleFullScreen : HostCommand::None};
    case VK_F12: return {0, HostCommand::Screenshot};
    default: return {0, HostCommand::None};
  }
}

bool isRelease(UINT message) { return message == WM_KEYUP || message == WM_SYSKEYUP || message == WM_LBUTTONUP; }

}  // namespace

Win32Backend::Win32Backend(const Win32Options& options)
    : options_(options), display_(options.device), pacer_(options.framesPerSecond), startMs_(GetTickCount64()) {
  activeBackend = this;
}

Win32Backend::~Win32Backend() {
  if (window_ != nullptr) DestroyWindow(window_);
  for (const RegisteredClass& registered : classes_) {
    UnregisterClassW(MAKEINTATOM(registered.atom), GetModuleHandleW(nullptr));
  }
  if (activeBackend == this) activeBackend = nullptr;
}

std::string Win32Backend::standaloneHostPath() const { return platform::standaloneHostPath(options_.standaloneFile); }

uint64_t Win32Backend::nowMs() { return GetTickCount64() - startMs_; }

std::string Win32Backend::moduleFilePath() { return runningExecutablePath(); }

std::string Win32Backend::mapPath(const std::string& handheldPath) {
  return mapHandheldPath(handheldPath, options_.standaloneFile);
}

// ---- Window, messages and timers: the real ones.

WindowHandle Win32Backend::findWindow(const char16_t* className, const char16_t* title) {
  return toHandle(FindWindowW(wide(className), wide(title)));
}

// Brings another copy's window forward. The viewer also calls this for its
// own window every few frames, as the handheld keeps its window over the
// shell; on a desktop that would take the focus from other programs.
bool Win32Backend::setForegroundWindow(WindowHandle window) {
  const HWND target = toHwnd(window);
  if (target == nullptr || !IsWindow(target)) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(target, &process);
  if (process == GetCurrentProcessId()) return true;
  if (IsIconic(target)) ShowWindow(target, SW_RESTORE);
  return SetForegroundWindow(target) != FALSE;
}

uint16_t Win32Backend::registerClass(const WindowClass& windowClass) {
  if (windowClass.procedure == nullptr || windowClass.className == nullptr) return 0;
  WNDCLASSW native{};
  native.style = windowClass.style;  // the handheld's 3 is CS_HREDRAW | CS_VREDRAW here too
  native.lpfnWndProc = windowProcedure;
  native.hInstance = GetModuleHandleW(nullptr);
  native.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  native.lpszClassName = wide(windowClass.className);
  const ATOM atom = RegisterClassW(&native);
  if (atom != 0) classes_.push_back(RegisteredClass{atom, windowClass.procedure});
  return atom;
}

// The handheld's window is a 240 x 320 popup at (0, 0); on a desktop it is
// an ordinary resizable window of the scaled screen, or the whole monitor.
WindowHandle Win32Backend::createWindow(uint32_t /*extendedStyle*/, const char16_t* className, const char16_t* title,
                                        uint32_t /*style*/, int32_t /*x*/, int32_t /*y*/, int32_t width,
                                        int32_t height, InstanceHandle /*instance*/) {
  RECT frame{0, 0, width * options_.scale, height * options_.scale};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  const HWND window = CreateWindowExW(0, wide(className), wide(title), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                      CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) {
    windowError_ = "CreateWindowExW failed (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  window_ = window;
  windowedPlacement_.length = sizeof windowedPlacement_;
  if (options_.fullscreen) setFullScreen(true);
  return toHandle(window);
}

// The desktop host places the window itself.
bool Win32Backend::moveWindow(WindowHandle window, int32_t, int32_t, int32_t, int32_t, bool) {
  return IsWindow(toHwnd(window)) != FALSE;
}

bool Win32Backend::showWindow(WindowHandle window, int32_t showCommand) {
  return ShowWindow(toHwnd(window), showCommand != 0 ? SW_SHOW : SW_HIDE) != FALSE;
}

bool Win32Backend::updateWindow(WindowHandle window) { return UpdateWindow(toHwnd(window)) != FALSE; }

// The handheld's shell bars do not exist here.
bool Win32Backend::shellFullScreen(WindowHandle window, uint32_t) { return IsWindow(toHwnd(window)) != FALSE; }

// Takes the next message; when none waits, waits for one until the next
// frame is due and then returns false, so frames come at the device's pace
// while messages are handled as they arrive.
bool Win32Backend::peekMessage(Message& message, WindowHandle window, bool remove) {
  for (;;) {
    MSG taken{};
    bool got = false;
    if (!remove) {
      got = PeekMessageW(&taken, toHwnd(window), 0, 0, PM_NOREMOVE) != FALSE;
    } else if (releaseHeld_) {
      if (!pressSinceFrame_) {
        taken = heldRelease_;
        releaseHeld_ = false;
        got = true;
      }
    } else if (PeekMessageW(&taken, toHwnd(window), 0, 0, PM_REMOVE) != FALSE) {
      got = true;
      if (isRelease(taken.message) && pressSinceFrame_) {
        // No frame has run with the key down yet: a tap shorter than a frame
        // would never be seen. Nothing more is taken until that frame has
        // run, so the messages keep their order.
        heldRelease_ = taken;
        releaseHeld_ = true;
        got = false;
      } else if (isPress(taken.message, taken.lParam)) {
        pressSinceFrame_ = true;
      }
    }
    if (got) {
      message = Message{toHandle(taken.hwnd), taken.message, taken.wParam, taken.lParam};
      return true;
    }

    const FramePacer::Clock::time_point now = FramePacer::Clock::now();
    if (now >= nextFrameAt_) {
      if (directFrameWaiting_) presentFrame();
      directFrameWaiting_ = options_.device == DeviceClass::Direct;
      nextFrameAt_ = now + pacer_.waitAfterFrame(now);
      pressSinceFrame_ = false;
      return false;
    }
    if (releaseHeld_) {
      std::this_thread::sleep_until(nextFrameAt_);  // the queue waits for the frame
    } else {
      const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextFrameAt_ - now).count();
      MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
  }
}

bool Win32Backend::translateMessage(const Message& message) {
  MSG native{toHwnd(message.window), message.message, message.wParam, message.lParam, static_cast<DWORD>(GetMessageTime()), {}};
  return TranslateMessage(&native) != FALSE;
}

MessageResult Win32Backend::dispatchMessage(const Message& message) {
  MSG native{toHwnd(message.window), message.message, message.wParam, message.lParam, static_cast<DWORD>(GetMessageTime()), {}};
  return DispatchMessageW(&native);
}

MessageResult Win32Backend::defaultWindowProcedure(WindowHandle window, uint32_t message, uintptr_t wParam,
                                                   intptr_t lParam) {
  return DefWindowProcW(toHwnd(window), message, wParam, lParam);
}

void Win32Backend::postQuitMessage(int32_t exitCode) { PostQuitMessage(exitCode); }

uintptr_t Win32Backend::setTimer(WindowHandle window, uintptr_t id, uint32_t periodMs) {
  return SetTimer(toHwnd(window), id, periodMs, nullptr);
}

bool Win32Backend::killTimer(WindowHandle window, uintptr_t id) { return KillTimer(toHwnd(window), id) != FALSE; }

// The handheld repaints every window it drew over; a desktop window drew
// over nothing but itself.
bool Win32Backend::invalidateScreen(bool erase) {
  return window_ != nullptr && InvalidateRect(window_, nullptr, erase ? TRUE : FALSE) != FALSE;
}

// ---- The window procedure: desktop input as the handheld's messages.

LRESULT CALLBACK Win32Backend::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (activeBackend == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return activeBackend->handle(window, message, wParam, lParam);
}

// The viewer's procedure for this window's class.
LRESULT Win32Backend::toViewer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const ATOM atom = static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM));
  for (const RegisteredClass& registered : classes_) {
    if (registered.atom == atom) return registered.procedure(toHandle(window), message, wParam, lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Backend::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if ((lParam & kRepeatBit) != 0) return 0;  // the handheld sends one key-down per press
      keyDown(window, wParam, lParam);
      if (message == WM_SYSKEYDOWN && wParam != VK_RETURN) return DefWindowProcW(window, message, wParam, lParam);
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      keyUp(window, wParam);
      return 0;
    case WM_LBUTTONDOWN:
      if (stylusDown_) return 0;
      stylusDown_ = true;
      SetCapture(window);
      stylusLast_ = stylusAt(lParam);
      return toViewer(window, WM_LBUTTONDOWN, MK_LBUTTON, stylusLast_);
    case WM_MOUSEMOVE:
      // The stylus only reports moves while it touches the screen.
      if (!stylusDown_ || (wParam & MK_LBUTTON) == 0) return 0;
      stylusLast_ = stylusAt(lParam);
      return toViewer(window, WM_MOUSEMOVE, MK_LBUTTON, stylusLast_);
    case WM_LBUTTONUP:
      if (!stylusDown_) return 0;
      stylusDown_ = false;
      ReleaseCapture();
      return toViewer(window, WM_LBUTTONUP, 0, stylusAt(lParam));
    case WM_KILLFOCUS:
      // Releases while another program has the focus never reach us.
      releaseEverything(window);
      return 0;
    case WM_CLOSE:
      // The close button presses the quit button; the viewer ends itself.
      if (!quitPressed_) {
        quitPressed_ = true;
        toViewer(window, WM_KEYDOWN, kVkQuitNow, 0);
        toViewer(window, WM_KEYUP, kVkQuitNow, 0);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;  // paint draws every pixel, the letterbox included
    case WM_PAINT: {
      PAINTSTRUCT paintStruct{};
      const HDC dc = BeginPaint(window, &paintStruct);
      paint(dc);
      EndPaint(window, &paintStruct);
      return 0;
    }
    case WM_SIZE:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    default:
      return toViewer(window, message, wParam, lParam);
  }
}

LPARAM Win32Backend::stylusAt(LPARAM windowPoint) const {
  RECT client{};
  GetClientRect(window_, &client);
  const ScreenRect screen = fitScreen(client.right - client.left, client.bottom - client.top);
  const ScreenPoint point = screenPointAt(screen, GET_X_LPARAM(windowPoint), GET_Y_LPARAM(windowPoint));
  return static_cast<LPARAM>(stylusPosition(point.x, point.y));
}

void Win32Backend::releaseEverything(HWND window) {
  for (uint32_t key = 0; key < sentFor_.size(); ++key) {
    if (sentFor_[key] != 0) keyUp(window, key);
  }
  if (stylusDown_) {
    stylusDown_ = false;
    ReleaseCapture();
    toViewer(window, WM_LBUTTONUP, 0, stylusLast_);
  }
}

void Win32Backend::keyDown(HWND window, WPARAM key, LPARAM lParam) {
  if (key >= sentFor_.size()) return;
  const bool alt = (lParam & (LPARAM(1) << 29)) != 0;
  const KeyMeaning meaning = meaningOf(key, alt);
  if (meaning.command == HostCommand::Screenshot) saveScreenshot();
  if (meaning.command == HostCommand::ToggleFullScreen) setFullScreen(!fullscreen_);
  if (meaning.handheldKey == 0 || sentFor_[key] != 0) return;
  sentFor_[key] = meaning.handheldKey;
  if (holders_[meaning.handheldKey]++ == 0) toViewer(window, WM_KEYDOWN, meaning.handheldKey, 0);
}

// The release sends what the press sent; a handheld key held by two desktop
// keys goes up with the last of them.
void Win32Backend::keyUp(HWND window, WPARAM key) {
  if (key >= sentFor_.size() || sentFor_[key] == 0) return;
  const uint8_t handheldKey = sentFor_[key];
  sentFor_[key] = 0;
  if (--holders_[handheldKey] == 0) toViewer(window, WM_KEYUP, handheldKey, 0);
}

// F12: the exact 240 x 320 screen last shown, as a PNG beside the panorama
// named on the command line (else in the current directory).
void Win32Backend::saveScreenshot() {
  if (frame_.size() != static_cast<size_t>(kScreenPixels)) return;
  const std::filesystem::path panorama =
      hostFilePath(options_.standaloneFile.empty() ? moduleFilePath() : options_.standaloneFile);
  const std::filesystem::path directory = options_.standaloneFile.empty() ? std::filesystem::path() : panorama.parent_path();
  const std::string name = utf8FilePath(panorama.stem()) + "-" + std::to_string(framesPresented_) + ".png";
  const std::string path = utf8FilePath(directory / hostFilePath(name));
  if (writePngScreen(path, frame_)) {
    std::printf("qbzview: frame %d saved to %s\n", framesPresented_, path.c_str());
  } else {
    std::fprintf(stderr, "qbzview: cannot write %s\n", path.c_str());
  }
  std::fflush(stdout);
}

// ---- Display access.

int Win32Backend::gxOpenDisplay(WindowHandle window, uint32_t) {
  window_ = toHwnd(window);
  return 1;
}

int Win32Backend::gxEndDraw() {
  const int result = display_.endDraw();
  presentFrame();
  return result;
}

void Win32Backend::presentFrame() {
  frame_ = display_.screen();
  ++framesPresented_;
  if (window_ == nullptr) return;
  const HDC dc = GetDC(window_);
  paint(dc);
  ReleaseDC(window_, dc);
}

void Win32Backend::paint(HDC dc) {
  RECT client{};
  GetClientRect(window_, &client);
  const ScreenRect screen = fitScreen(client.right - client.left, client.bottom - client.top);
  const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const RECT margins[4] = {
      {0, 0, client.right, screen.y},
      {0, screen.y + screen.height, client.right, client.bottom},
      {0, screen.y, screen.x, screen.y + screen.height},
      {screen.x + screen.width, screen.y, client.right, screen.y + screen.height},
  };
  for (const RECT& margin : margins) {
    if (margin.right > margin.left && margin.bottom > margin.top) FillRect(dc, &margin, black);
  }
  if (frame_.size() != static_cast<size_t>(kScreenPixels)) {
    const RECT whole{screen.x, screen.y, screen.x + screen.width, screen.y + screen.height};
    FillRect(dc, &whole, black);
    return;
  }
  static const ScreenBitmapInfo info = screenBitmapInfo();
  SetStretchBltMode(dc, COLORONCOLOR);  // sharp pixels
  StretchDIBits(dc, screen.x, screen.y, screen.width, screen.height, 0, 0, kScreenWidth, kScreenHeight,
                frame_.data(), reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
}

void Win32Backend::setFullScreen(bool fullscreen) {
  if (window_ == nullptr || fullscreen == fullscreen_) return;
  fullscreen_ = fullscreen;
  if (fullscreen) {
    GetWindowPlacement(window_, &windowedPlacement_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    SetWindowLongPtrW(window_, GWL_STYLE, WS_POPUP | (GetWindowLongPtrW(window_, GWL_STYLE) & WS_VISIBLE));
    const RECT& area = monitor.rcMonitor;
    SetWindowPos(window_, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
  } else {
    SetWindowLongPtrW(window_, GWL_STYLE, WS_OVERLAPPEDWINDOW | (GetWindowLongPtrW(window_, GWL_STYLE) & WS_VISIBLE));
    SetWindowPlacement(window_, &windowedPlacement_);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
  }
  InvalidateRect(window_, nullptr, FALSE);
}

}  // namespace platform
