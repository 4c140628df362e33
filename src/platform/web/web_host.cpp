// The viewer in a web page (WebAssembly). The page hands over the panorama's
// bytes and the browser's input; the browser's animation frames drive the
// main loop inside out: each due frame handles the waiting messages and
// produces one frame, which the page then shows on its canvas. The page's
// script (page/viewer_page.js) is the other half.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <memory>

#include "platform/atomic_file.h"
#include "platform/desktop/screen_layout.h"
#include "platform/web/frame_schedule.h"
#include "platform/web/web_backend.h"
#include "platform/web/web_input.h"
#include "shell/application.h"
#include "shell/main_window.h"

namespace {

constexpr char kPanoramaFile[] = "/panorama.qbz";
constexpr int64_t kFramePeriodUs = 1000000 / 30;

enum class State { Idle, Running, Ended };

struct WebViewer {
  std::unique_ptr<platform::WebBackend> backend;
  platform::WebInput input;
  platform::FrameSchedule schedule{kFramePeriodUs};
  State state = State::Idle;
  bool paused = false;  // frames only by qbz_step (the page's test hook)
  bool loopStarted = false;
};

WebViewer viewer;

// Hands the newest frame to the page's canvas.
EM_JS(void, showOnCanvas, (const uint8_t* rgba), { Module["showFrame"](rgba); });
// Tells the page that the viewer has ended (a quit key).
EM_JS(void, reportEnded, (), { Module["viewerEnded"](); });

bool saveBytes(const uint8_t* bytes, uint32_t size) {
  return static_cast<bool>(platform::writeFileAtomically(kPanoramaFile, {bytes, size}));
}

void stopViewer() {
  if (viewer.backend == nullptr) return;
  resetApplication();
  platform::installBackend(nullptr);
  platform::resetWindowManager();
  viewer.backend.reset();
  viewer.state = State::Idle;
}

// One turn of the main loop, then the frame on the canvas.
void runOneFrame() {
  if (viewer.state != State::Running) return;
  int32_t exitCode = 0;
  const bool running = stepMainLoop(exitCode);
  if (viewer.backend->takeFreshFrame()) showOnCanvas(viewer.backend->canvas().data());
  viewer.input.frameDone();
  if (!running) {
    viewer.state = State::Ended;
    reportEnded();
  }
}

EM_BOOL onAnimationFrame(double timeMs, void* /*userData*/) {
  if (viewer.state == State::Running && !viewer.paused &&
      viewer.schedule.due(static_cast<int64_t>(timeMs * 1000.0))) {
    runOneFrame();
  }
  return EM_TRUE;  // keep the loop; it idles while no panorama runs
}

}  // namespace

extern "C" {

// Starts the viewer on a panorama (a container, with or without an appended
// trailer). 0 when it runs, 1 when the bytes hold no panorama the viewer loads.
EMSCRIPTEN_KEEPALIVE int qbz_open(const uint8_t* bytes, uint32_t size) {
  stopViewer();
  if (!saveBytes(bytes, size)) return 1;
  viewer.backend = std::make_unique<platform::WebBackend>(kPanoramaFile);
  platform::resetWindowManager();
  platform::installBackend(viewer.backend.get());
  resetApplication();
  viewer.input = platform::WebInput{};
  viewer.schedule = platform::FrameSchedule{kFramePeriodUs};

  static int instanceTag = 0;  // any non-null value stands for the instance handle
  int32_t exitCode = 0;
  if (!viewerStartUp(&instanceTag, nullptr, u"", 1, exitCode)) {
    stopViewer();
    std::remove(kPanoramaFile);
    return 1;
  }
  viewer.state = State::Running;
  if (!viewer.loopStarted) {
    viewer.loopStarted = true;
    emscripten_request_animation_frame_loop(onAnimationFrame, nullptr);
  }
  return 0;
}

// A key of the page: KeyboardEvent.code and .key, the modifiers (1 shift,
// 2 alt). The result tells the page what to do with it (PageKeyUse): leave
// it to the browser (0), keep the browser from acting on it (1), or run one
// of the page's commands.
EMSCRIPTEN_KEEPALIVE int qbz_key(const char* code, const char* keyText, int down, int repeat, int modifiers) {
  if (viewer.state != State::Running || code == nullptr || keyText == nullptr) return 0;
  return static_cast<int>(
      viewer.input.key(code, keyText, down != 0, repeat != 0, static_cast<uint32_t>(modifiers)));
}

// The canvas's width in device pixels for a page area of this size (the
// height follows from the 3:4 aspect): the desktop windows' letterbox rule.
EMSCRIPTEN_KEEPALIVE int qbz_fit_width(int width, int height, int smooth) {
  return platform::fitScreen(width, height, smooth != 0 ? platform::ScreenScaling::Smooth : platform::ScreenScaling::Sharp)
      .width;
}

// The primary pointer (mouse, pen or touch) over the canvas: kind 0 down,
// 1 move, 2 up, 3 cancelled; x and y within the canvas's box of width x
// height, all in CSS pixels.
EMSCRIPTEN_KEEPALIVE void qbz_pointer(int kind, double x, double y, double width, double height) {
  if (viewer.state != State::Running) return;
  viewer.input.pointer(static_cast<platform::PointerKind>(kind), x, y, width, height);
}

// The page lost the focus: nothing stays held.
EMSCRIPTEN_KEEPALIVE void qbz_blur() {
  if (viewer.state == State::Running) viewer.input.releaseAll();
}

// Test hook: while paused, frames run only by qbz_step, so that a test can
// put input before exactly the frame it wants, as the headless host's event
// script does. Returns the number of frames produced so far.
EMSCRIPTEN_KEEPALIVE void qbz_pause(int paused) { viewer.paused = paused != 0; }
EMSCRIPTEN_KEEPALIVE int qbz_step(int frames) {
  for (int i = 0; i < frames; ++i) runOneFrame();
  return viewer.backend != nullptr ? viewer.backend->framesProduced() : 0;
}

}  // extern "C"

