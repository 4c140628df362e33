// Classes, windows, the message queue and message timers: the part of the
// platform that every backend shares. Single-threaded, like the viewer.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace platform {

struct WindowRecord {
  std::u16string className;
  std::u16string title;
  WindowProcedure procedure = nullptr;
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool visible = false;
  bool foreign = false;  // stands for another running instance's window
};

namespace {

struct RegisteredClass {
  std::u16string name;
  WindowProcedure procedure;
};

struct Timer {
  WindowHandle window;
  uintptr_t id;
  uint32_t periodMs;
  uint64_t dueMs;
};

constexpr size_t kCallLogLimit = 4096;
constexpr size_t kCallKinds = static_cast<size_t>(Call::GXCloseDisplay) + 1;

std::vector<CallRecord> reservedLog() {
  std::vector<CallRecord> log;
  log.reserve(kCallLogLimit);
  return log;
}

struct WindowManager {
  Backend* backend = nullptr;
  std::vector<RegisteredClass> classes;
  std::vector<std::unique_ptr<WindowRecord>> windows;
  std::deque<Message> queue;
  std::vector<Timer> timers;
  // The first calls in order, for tests; the log stops growing there so a
  // long run's memory stays flat, while the counts go on.
  std::vector<CallRecord> calls = reservedLog();
  size_t counts[kCallKinds] = {};
};

WindowManager& manager() {
  static WindowManager instance;
  return instance;
}

// The real window system, when the backend stands on one.
WindowSystem* native() {
  Backend* installed = manager().backend;
  return installed != nullptr ? installed->windowSystem() : nullptr;
}

void record(Call call, int64_t argument = 0) {
  WindowManager& wm = manager();
  wm.counts[static_cast<size_t>(call)] += 1;
  if (wm.calls.size() < kCallLogLimit) {
    wm.calls.push_back(CallRecord{call, argument, wm.backend != nullptr ? wm.backend->nowMs() : 0});
  }
}

std::u16string toString(const char16_t* text) { return text != nullptr ? std::u16string(text) : std::u16string(); }

bool isOurWindow(WindowHandle window) {
  for (const auto& owned : manager().windows) {
    if (owned.get() == window) return !owned->foreign;
  }
  return false;
}

// Win32 makes a timer message only when nothing else waits: the timer due
// first, one message per peek, and the next expiry counted from now.
bool takeDueTimer(Message& message) {
  WindowManager& wm = manager();
  const uint64_t now = wm.backend->nowMs();
  Timer* due = nullptr;
  for (Timer& timer : wm.timers) {
    if (timer.dueMs <= now && (due == nullptr || timer.dueMs < due->dueMs)) due = &timer;
  }
  if (due == nullptr) return false;
  message = Message{due->window, kMessageTimer, due->id, 0};
  due->dueMs = now + due->periodMs;
  return true;
}

}  // namespace

void installBackend(Backend* backend) { manager().backend = backend; }
Backend& backend() { return *manager().backend; }

void postMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  manager().queue.push_back(Message{window, message, wParam, lParam});
}

WindowHandle inputWindow() {
  for (const auto& window : manager().windows) {
    if (!window->foreign) return window.get();
  }
  return nullptr;
}

std::u16string windowTitle(WindowHandle window) {
  return isOurWindow(window) ? window->title : std::u16string();
}

WindowHandle foreignWindow(const std::u16string& className, const std::u16string& title) {
  auto window = std::make_unique<WindowRecord>();
  window->className = className;
  window->title = title;
  window->visible = true;
  window->foreign = true;
  WindowHandle handle = window.get();
  manager().windows.push_back(std::move(window));
  return handle;
}

const std::vector<CallRecord>& callLog() { return manager().calls; }

size_t countCalls(Call call) { return manager().counts[static_cast<size_t>(call)]; }

void resetWindowManager() {
  WindowManager& wm = manager();
  Backend* keep = wm.backend;
  wm = WindowManager{};
  wm.backend = keep;
}

WindowHandle findWindow(const char16_t* className, const char16_t* title) {
  record(Call::FindWindow);
  if (WindowSystem* system = native()) return system->findWindow(className, title);
  const std::u16string wantedClass = toString(className);
  const std::u16string wantedTitle = toString(title);
  for (const auto& window : manager().windows) {
    if (!window->foreign && window->className == wantedClass && window->title == wantedTitle) return window.get();
  }
  WindowHandle other = backend().findOtherInstance(wantedClass, wantedTitle);
  if (other != nullptr) return other;
  return nullptr;
}

bool setForegroundWindow(WindowHandle window) {
  record(Call::SetForeground);
  if (WindowSystem* system = native()) return system->setForegroundWindow(window);
  if (window == nullptr) return false;
  backend().bringToFront(window);
  return true;
}

uint16_t registerClass(const WindowClass& windowClass) {
  record(Call::RegisterClass);
  if (WindowSystem* system = native()) return system->registerClass(windowClass);
  WindowManager& wm = manager();
  const std::u16string name = toString(windowClass.className);
  if (name.empty() || windowClass.procedure == nullptr) return 0;
  for (const RegisteredClass& existing : wm.classes) {
    if (existing.name == name) return 0;
  }
  wm.classes.push_back(RegisteredClass{name, windowClass.procedure});
  return static_cast<uint16_t>(0xC000 + wm.classes.size());
}

WindowHandle createWindow(uint32_t extendedStyle, const char16_t* className, const char16_t* title, uint32_t style,
                          int32_t x, int32_t y, int32_t width, int32_t height, WindowHandle /*parent*/,
                          void* /*menu*/, InstanceHandle instance, void* /*creationData*/) {
  record(Call::CreateWindow);
  if (WindowSystem* system = native()) {
    return system->createWindow(extendedStyle, className, title, style, x, y, width, height, instance);
  }
  WindowManager& wm = manager();
  const std::u16string name = toString(className);
  WindowProcedure procedure = nullptr;
  for (const RegisteredClass& registered : wm.classes) {
    if (registered.name == name) procedure = registered.procedure;
  }
  if (procedure == nullptr) return nullptr;
  auto window = std::make_unique<WindowRecord>();
  window->className = name;
  window->title = toString(title);
  window->procedure = procedure;
  window->x = x;
  window->y = y;
  window->width = width;
  window->height = height;
  window->visible = (style & 0x10000000u) != 0;
  WindowHandle handle = window.get();
  wm.windows.push_back(std::move(window));
  backend().windowCreated(handle);
  procedure(handle, kMessageCreate, 0, 0);
  return handle;
}

bool moveWindow(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint) {
  record(Call::MoveWindow);
  if (WindowSystem* system = native()) return system->moveWindow(window, x, y, width, height, repaint);
  if (!isOurWindow(window)) return false;
  window->x = x;
  window->y = y;
  window->width = width;
  window->height = height;
  return true;
}

bool showWindow(WindowHandle window, int32_t showCommand) {
  record(Call::ShowWindow, showCommand);
  if (WindowSystem* system = native()) return system->showWindow(window, showCommand);
  if (!isOurWindow(window)) return false;
  const bool wasVisible = window->visible;
  window->visible = showCommand != 0;
  if (window->visible) backend().windowShown(window);
  return wasVisible;
}

bool updateWindow(WindowHandle window) {
  record(Call::UpdateWindow);
  if (WindowSystem* system = native()) return system->updateWindow(window);
  return isOurWindow(window);
}

bool shellFullScreen(WindowHandle window, uint32_t flags) {
  record(Call::ShellFullScreen, flags);
  if (WindowSystem* system = native()) return system->shellFullScreen(window, flags);
  return isOurWindow(window);
}

bool peekMessage(Message& message, WindowHandle window, bool remove) {
  if (WindowSystem* system = native()) return system->peekMessage(message, window, remove);
  WindowManager& wm = manager();
  for (;;) {
    if (wm.queue.empty()) wm.backend->pollInput();
    if (!wm.queue.empty()) {
      message = wm.queue.front();
      if (remove) wm.queue.pop_front();
      return true;
    }
    if (takeDueTimer(message)) return true;
    if (wm.backend->readyForFrame()) return false;
  }
}

bool translateMessage(const Message& message) {
  if (WindowSystem* system = native()) return system->translateMessage(message);
  return false;
}

MessageResult dispatchMessage(const Message& message) {
  if (WindowSystem* system = native()) return system->dispatchMessage(message);
  if (!isOurWindow(message.window) || message.window->procedure == nullptr) return 0;
  return message.window->procedure(message.window, message.message, message.wParam, message.lParam);
}

MessageResult defaultWindowProcedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (WindowSystem* system = native()) return system->defaultWindowProcedure(window, message, wParam, lParam);
  return 0;
}

void postQuitMessage(int32_t exitCode) {
  record(Call::PostQuit, exitCode);
  if (WindowSystem* system = native()) {
    system->postQuitMessage(exitCode);
    return;
  }
  postMessage(nullptr, kMessageQuit, static_cast<uintptr_t>(static_cast<uint32_t>(exitCode)), 0);
}

uintptr_t setTimer(WindowHandle window, uintptr_t id, uint32_t periodMs) {
  record(Call::SetTimer, static_cast<int64_t>(id));
  if (WindowSystem* system = native()) return system->setTimer(window, id, periodMs);
  WindowManager& wm = manager();
  const uint64_t due = wm.backend->nowMs() + periodMs;
  for (Timer& timer : wm.timers) {
    if (timer.window == window && timer.id == id) {
      timer.periodMs = periodMs;
      timer.dueMs = due;
      return id;
    }
  }
  wm.timers.push_back(Timer{window, id, periodMs, due});
  return id;
}

bool killTimer(WindowHandle window, uintptr_t id) {
  record(Call::KillTimer, static_cast<int64_t>(id));
  if (WindowSystem* system = native()) return system->killTimer(window, id);
  auto& timers = manager().timers;
  for (auto it = timers.begin(); it != timers.end(); ++it) {
    if (it->window == window && it->id == id) {
      timers.erase(it);
      return true;
    }
  }
  return false;
}

bool invalidateScreen(bool erase) {
  record(Call::InvalidateScreen, erase ? 1 : 0);
  if (WindowSystem* system = native()) return system->invalidateScreen(erase);
  return true;
}

bool systemParametersInfo(uint32_t action, uint32_t size, void* buffer) {
  constexpr uint32_t kOemInfo = 258;
  if (action != kOemInfo || buffer == nullptr || size < sizeof(char16_t)) return false;
  const std::u16string oem = backend().oemInfo();
  const size_t capacity = size / sizeof(char16_t);
  const size_t length = oem.size() < capacity - 1 ? oem.size() : capacity - 1;
  auto* out = static_cast<char16_t*>(buffer);
  for (size_t i = 0; i < length; ++i) out[i] = oem[i];
  out[length] = u'\0';
  return true;
}

uint8_t* directDisplayMemory() { return backend().directDisplayMemory(); }

}  // namespace platform

using platform::Call;

int GXOpenDisplay(platform::WindowHandle window, uint32_t flags) {
  platform::record(Call::GXOpenDisplay, flags);
  return platform::backend().gxOpenDisplay(window, flags);
}
int GXOpenInput() {
  platform::record(Call::GXOpenInput);
  return 1;
}
void* GXBeginDraw() {
  platform::record(Call::GXBeginDraw);
  return platform::backend().gxBeginDraw();
}
int GXEndDraw() {
  platform::record(Call::GXEndDraw);
  return platform::backend().gxEndDraw();
}
int GXCloseInput() {
  platform::record(Call::GXCloseInput);
  return 1;
}
int GXCloseDisplay() {
  platform::record(Call::GXCloseDisplay);
  return platform::backend().gxCloseDisplay();
}
