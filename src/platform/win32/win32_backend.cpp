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

DesktopKey desktopKeyFor(WPARAM key) {
  switch (key) {
    case VK_LEFT: return DesktopKey::Left;
    case VK_UP: return DesktopKey::Up;
    case VK_RIGHT: return DesktopKey::Right;
    case VK_DOWN: return DesktopKey::Down;
    case VK_HOME: return DesktopKey::Home;
    case VK_PRIOR: return DesktopKey::PageUp;
    case VK_NEXT: return DesktopKey::PageDown;
    case 'W': return DesktopKey::W;
    case 'R': return DesktopKey::R;
    case 'Q': return DesktopKey::Q;
    case 'H': return DesktopKey::H;
    case VK_F1: return DesktopKey::F1;
    case VK_F11: return DesktopKey::F11;
    case VK_F12: return DesktopKey::F12;
    case VK_ESCAPE: return DesktopKey::Escape;
    case VK_RETURN: return DesktopKey::Enter;
    case VK_OEM_PLUS: return DesktopKey::Plus;  // the key that carries '+' on any layout
    case VK_OEM_MINUS: return DesktopKey::Minus;
    case VK_ADD: return DesktopKey::KeypadPlus;
    case VK_SUBTRACT: return DesktopKey::KeypadMinus;
    default: return DesktopKey::Other;
  }
}

uint32_t desktopModifiers() {
  return ((GetKeyState(VK_SHIFT) & 0x8000) != 0 ? kDesktopShift : 0) |
         ((GetKeyState(VK_MENU) & 0x8000) != 0 ? kDesktopAlt : 0);
}

// Input the tap keeper held back comes out of the message loop under these
// codes (the handheld's message plus this base), so it is dispatched to the
// window procedure in its place among the real messages.
constexpr UINT kReleasedInputBase = WM_APP;
constexpr UINT kReleasedInputLast = WM_APP + kMessageStylusUp;

// More notches than this in one wheel message are a flick, not a count.
constexpr int32_t kMaxWheelTaps = 8;

}  // namespace

Win32Backend::Win32Backend(const Win32Options& options)
    : options_(options), display_(options.device), pacer_(options.framesPerSecond), startMs_(GetTickCount64()) {
  activeBackend = this;
}

Win32Backend::~Win32Backend() {
  // The viewer has ended: the window's last messages go to the system alone.
  if (activeBackend == this) activeBackend = nullptr;
  if (window_ != nullptr) DestroyWindow(window_);
  for (const RegisteredClass& registered : classes_) {
    UnregisterClassW(MAKEINTATOM(registered.atom), GetModuleHandleW(nullptr));
  }
}

std::string Win32Backend::standaloneHostPath() const { return platform::standaloneHostPath(options_.standaloneFile); }

uint64_t Win32Backend::nowMs() { return GetTickCount64() - startMs_; }

std::string Win32Backend::moduleFilePath() { return runningExecutablePath(); }

std::string Win32Backend::mapPath(const std::string& handheldPath) {
  return mapHandheldPath(handheldPath, options_.standaloneFile);
}

// ---- Window, messages and timers: the real ones.

// The class name carries a digest of the instance key, so that FindWindowW
// finds only a copy showing the same panorama.
std::u16string Win32Backend::nativeClassName(const char16_t* className) const {
  std::u16string name = className != nullptr ? className : u"";
  if (options_.instanceKey.empty()) return name;
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char c : options_.instanceKey) hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211ull;
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  return name + u"-" + toUtf16(digits);
}

std::u16string Win32Backend::nativeTitle(const char16_t* title) const {
  if (!options_.windowTitle.empty()) return toUtf16(options_.windowTitle);
  return title != nullptr ? title : u"";
}

WindowHandle Win32Backend::findWindow(const char16_t* className, const char16_t* title) {
  const std::u16string nativeClass = nativeClassName(className);
  const std::u16string nativeWindowTitle = nativeTitle(title);
  return toHandle(FindWindowW(wide(nativeClass.c_str()), wide(nativeWindowTitle.c_str())));
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
  const std::u16string nativeClass = nativeClassName(windowClass.className);
  native.lpszClassName = wide(nativeClass.c_str());
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
  const std::u16string nativeClass = nativeClassName(className);
  const std::u16string nativeWindowTitle = nativeTitle(title);
  const HWND window = CreateWindowExW(0, wide(nativeClass.c_str()), wide(nativeWindowTitle.c_str()), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
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
    if (frameRan_) {
      frameRan_ = false;
      taps_.frameRan(released_);
    }
    if (nextReleased_ < released_.size()) {
      const InputMessage& input = released_[nextReleased_];
      message = Message{toHandle(window_), kReleasedInputBase + input.message, input.wParam, input.lParam};
      if (remove && ++nextReleased_ == released_.size()) {
        released_.clear();
        nextReleased_ = 0;
      }
      return true;
    }
    MSG taken{};
    if (PeekMessageW(&taken, toHwnd(window), 0, 0, remove ? PM_REMOVE : PM_NOREMOVE) != FALSE) {
      message = Message{toHandle(taken.hwnd), taken.message, taken.wParam, taken.lParam};
      return true;
    }

    const FramePacer::Clock::time_point now = FramePacer::Clock::now();
    if (now >= nextFrameAt_) {
      if (directFrameWaiting_) presentFrame();
      directFrameWaiting_ = options_.device == DeviceClass::Direct;
      nextFrameAt_ = now + pacer_.waitAfterFrame(now);
      frameRan_ = true;  // the caller produces the frame now
      return false;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextFrameAt_ - now).count();
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
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
  if (message >= kReleasedInputBase + kMessageKeyDown && message <= kReleasedInputLast) {
    return toViewer(window, message - kReleasedInputBase, wParam, lParam);
  }
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if ((lParam & kRepeatBit) == 0) keyDown(window, wParam);  // the handheld sends one key-down per press
      // Alt+F4 and the system menu stay the system's; Alt+Enter is ours.
      if (message == WM_SYSKEYDOWN && wParam != VK_RETURN) return DefWindowProcW(window, message, wParam, lParam);
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      keyUp(window, wParam);
      return 0;
    case WM_MOUSEWHEEL: {
      const int32_t notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
      const uint8_t virtualKey = wheelVirtualKey(notches);
      for (int32_t tap = 0; tap < std::min(notches < 0 ? -notches : notches, kMaxWheelTaps); ++tap) {
        deliver(window, InputMessage{kMessageKeyDown, virtualKey, 0});
        deliver(window, InputMessage{kMessageKeyUp, virtualKey, 0});
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (helpShown_) {
        helpShown_ = false;
        InvalidateRect(window, nullptr, FALSE);
      }
      if (stylusDown_) return 0;
      stylusDown_ = true;
      SetCapture(window);
      stylusLast_ = stylusAt(lParam);
      deliver(window, InputMessage{kMessageStylusDown, kStylusHeldBit, stylusLast_});
      return 0;
    case WM_MOUSEMOVE:
      // The stylus only reports moves while it touches the screen.
      if (!stylusDown_ || (wParam & MK_LBUTTON) == 0) return 0;
      stylusLast_ = stylusAt(lParam);
      deliver(window, InputMessage{kMessageStylusMove, kStylusHeldBit, stylusLast_});
      return 0;
    case WM_LBUTTONUP:
      if (!stylusDown_) return 0;
      stylusDown_ = false;
      ReleaseCapture();
      deliver(window, InputMessage{kMessageStylusUp, 0, stylusAt(lParam)});
      return 0;
    case WM_KILLFOCUS:
      // Releases while another program has the focus never reach us.
      releaseEverything(window);
      return 0;
    case WM_CLOSE:
      pressQuitButton(window);  // the viewer ends itself
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

// Input reaches the viewer's procedure unless the tap keeper holds it for a frame.
void Win32Backend::deliver(HWND window, const InputMessage& input) {
  std::vector<InputMessage> admitted;
  taps_.admit(input, admitted);
  for (const InputMessage& now : admitted) toViewer(window, now.message, now.wParam, now.lParam);
}

LPARAM Win32Backend::stylusAt(LPARAM windowPoint) const {
  RECT client{};
  GetClientRect(window_, &client);
  const ScreenRect screen = fitScreen(client.right - client.left, client.bottom - client.top);
  const ScreenPoint point = screenPointAt(screen, GET_X_LPARAM(windowPoint), GET_Y_LPARAM(windowPoint));
  return static_cast<LPARAM>(stylusPosition(point.x, point.y));
}

void Win32Backend::releaseEverything(HWND window) {
  std::vector<uint8_t> keys;
  heldKeys_.releaseAll([&keys](uint8_t virtualKey) { keys.push_back(virtualKey); });
  for (const uint8_t key : keys) deliver(window, InputMessage{kMessageKeyUp, key, 0});
  if (stylusDown_) {
    stylusDown_ = false;
    ReleaseCapture();
    deliver(window, InputMessage{kMessageStylusUp, 0, stylusLast_});
  }
}

void Win32Backend::keyDown(HWND window, WPARAM key) {
  if (helpShown_) {  // any key hides the help card, and does nothing else
    helpShown_ = false;
    InvalidateRect(window, nullptr, FALSE);
    return;
  }
  const KeyAction action = keyAction(desktopKeyFor(key), desktopModifiers());
  if (action.command != HostCommand::None) runCommand(window, action.command);
  const uint8_t virtualKey = heldKeys_.press(static_cast<int32_t>(key & 0xFF), action.virtualKey);
  if (virtualKey != 0) deliver(window, InputMessage{kMessageKeyDown, virtualKey, 0});
}

// The release sends what the press sent, whatever the modifiers are now.
void Win32Backend::keyUp(HWND window, WPARAM key) {
  const uint8_t virtualKey = heldKeys_.release(static_cast<int32_t>(key & 0xFF));
  if (virtualKey != 0) deliver(window, InputMessage{kMessageKeyUp, virtualKey, 0});
}

void Win32Backend::runCommand(HWND window, HostCommand command) {
  switch (command) {
    case HostCommand::Help:
      helpShown_ = true;
      InvalidateRect(window, nullptr, FALSE);
      break;
    case HostCommand::ToggleFullScreen:
      setFullScreen(!fullscreen_);
      break;
    case HostCommand::Screenshot:
      saveScreenshot();
      break;
    case HostCommand::LeaveFullScreenOrQuit:
      if (fullscreen_) {
        setFullScreen(false);
      } else {
        pressQuitButton(window);
      }
      break;
    case HostCommand::None:
      break;
  }
}

// The close button, Escape in a window and a termination request press the
// quit button once; the viewer ends itself.
void Win32Backend::pressQuitButton(HWND window) {
  if (quitPressed_) return;
  quitPressed_ = true;
  deliver(window, InputMessage{kMessageKeyDown, kKeyQuitNow, 0});
  deliver(window, InputMessage{kMessageKeyUp, kKeyQuitNow, 0});
}

// F12: the exact 240 x 320 screen last shown, as a PNG beside the panorama
// named on the command line (else in the current directory), named after it
// and the frame.
void Win32Backend::saveScreenshot() {
  // Pressed while the panorama was still loading: taken with the first frame.
  screenshotWanted_ = frame_.size() != static_cast<size_t>(kScreenPixels);
  if (screenshotWanted_) return;
  const bool named = !options_.standaloneFile.empty();
  const std::filesystem::path panorama = hostFilePath(named ? options_.standaloneFile : moduleFilePath());
  const std::filesystem::path directory = named ? panorama.parent_path() : std::filesystem::path();
  const std::string name = utf8FilePath(panorama.stem()) + "-" + std::to_string(framesPresented_) + ".png";
  const std::string path = utf8FilePath(directory / hostFilePath(name));
  if (const FileWrite written = writePngScreen(path, frame_)) {
    std::printf("qbzview: frame %d saved to %s\n", framesPresented_, path.c_str());
  } else {
    std::fprintf(stderr, "qbzview: %s\n", written.error.c_str());
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
  if (screenshotWanted_) saveScreenshot();
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
  if (helpShown_) paintHelpCard(dc, screen);
}

// The key card, drawn over the scaled picture by the host: the viewer's
// frame stays as it is.
void Win32Backend::paintHelpCard(HDC dc, const ScreenRect& screen) {
  const int32_t lineHeight = std::max<int32_t>(12, screen.height / 28);
  const int32_t height = lineHeight * static_cast<int32_t>(kHelpCardLines.size() + 1);
  const RECT card{screen.x + screen.width / 16, screen.y + (screen.height - height) / 2,
                  screen.x + screen.width - screen.width / 16, screen.y + (screen.height + height) / 2};
  FillRect(dc, &card, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const HGDIOBJ font = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  int32_t y = card.top + lineHeight / 2;
  for (const char* line : kHelpCardLines) {
    const std::u16string text = toUtf16(line);
    TextOutW(dc, card.left + lineHeight / 2, y, reinterpret_cast<const wchar_t*>(text.c_str()),
             static_cast<int>(text.size()));
    y += lineHeight;
  }
  SelectObject(dc, font);
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
