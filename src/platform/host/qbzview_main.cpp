// qbzview: the viewer on a desktop host, headless or in a window.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/emulated_display.h"
#include "platform/host/headless_host.h"
#if QBZ_HAVE_SDL
#include "platform/host/desktop_host.h"
#include "platform/sdl/single_instance.h"
#endif

namespace {

constexpr char kFooter[] =
    "Window controls: arrows turn and tilt; + or PageUp zoom in, - or PageDown zoom out; R resets the view;\n"
    "Home or W switches textured / wire-frame; F1..F5 are the handheld's buttons 1..5; F1 quits, and Escape,\n"
    "F5 or the close button quit at once; drag with the left mouse button to turn like a joystick.\n"
    "The panorama is looked for appended to the qbzview executable itself, then in PANORAMA.qbz\n"
    "(standing for \\Temp\\Test.QBZ; without it, Test.QBZ in the temporary directory).\n"
    "A second window run brings the first forward and ends; headless runs never meet a window.\n"
    "Exit status: 0 normal end (or another copy brought forward), 1 no panorama loaded or no display,\n"
    "2 bad usage, 3 a headless run without a frame limit whose quit request was never carried out.";

#if QBZ_HAVE_SDL
// Hidden test hook: QBZVIEW_CAPTURE=PATH writes the window's picture after
// frame QBZVIEW_CAPTURE_FRAME (default 2).
void readCaptureRequest(platform::SdlOptions& options) {
  const char* path = std::getenv("QBZVIEW_CAPTURE");
  if (path == nullptr || path[0] == '\0') return;
  options.capturePath = path;
  options.captureFrame = 2;
  if (const char* frame = std::getenv("QBZVIEW_CAPTURE_FRAME")) options.captureFrame = std::atoi(frame);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"qbzview: a full-screen viewer for cubic panoramas"};
  bool headless = false;
  std::string deviceName = "generic";
  int32_t frames = 2;
  std::string eventsPath;
  std::string dumpPath;
  std::string screenshotPath;
  std::string panorama;
  int32_t scale = 2;
  bool fullscreen = false;
  int32_t framesPerSecond = 30;
  app.add_flag("--headless", headless, "Run without a window on the emulated handheld display");
  app.add_option("--device", deviceName, "Emulated device class: generic, linear, direct or palmax")
      ->check(CLI::IsMember({"generic", "linear", "direct", "palmax"}));
  CLI::Option* framesOption =
      app.add_option("--frames", frames, "Headless: end after this frame (0: run until the viewer quits)")
          ->check(CLI::Range(0, 1000000000));
  CLI::Option* eventsOption =
      app.add_option("--events", eventsPath, "Headless: input script, one 'FRAME KIND ARGS' event a line");
  CLI::Option* dumpOption =
      app.add_option("--dump-display", dumpPath, "Headless: write the final screen as raw 5-6-5 pixels");
  CLI::Option* screenshotOption =
      app.add_option("--screenshot", screenshotPath, "Headless: write the final screen as a PNG");
  CLI::Option* scaleOption =
      app.add_option("--scale", scale, "Window: whole scale factor of the 240 x 320 screen (default 2)")
          ->check(CLI::Range(1, 16));
  CLI::Option* fullscreenOption =
      app.add_flag("--fullscreen", fullscreen, "Window: the whole desktop screen, letterboxed");
  CLI::Option* fpsOption =
      app.add_option("--fps", framesPerSecond, "Window: frames per second, as the handheld's display (default 30)")
          ->check(CLI::Range(1, 1000));
  app.add_option("PANORAMA", panorama, "Container standing for \\Temp\\Test.QBZ");
  app.footer(kFooter);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? 0 : 2;
  }

  if (!headless) {
    for (const CLI::Option* option : {framesOption, eventsOption, dumpOption, screenshotOption}) {
      if (option->count() != 0) {
        std::fprintf(stderr, "qbzview: %s needs --headless\n", option->get_name().c_str());
        return 2;
      }
    }
#if QBZ_HAVE_SDL
    platform::SdlOptions options;
    if (!platform::parseDeviceClass(deviceName, options.device)) {
      std::fprintf(stderr, "qbzview: unknown device '%s'\n", deviceName.c_str());
      return 2;
    }
    options.scale = scale;
    options.fullscreen = fullscreen;
    options.framesPerSecond = framesPerSecond;
    options.standaloneFile = panorama;
    options.instanceDirectory = platform::instanceDirectory();
    readCaptureRequest(options);
    const platform::DesktopResult desktop = platform::runDesktop(options);
    if (!desktop.error.empty()) std::fprintf(stderr, "qbzview: %s\n", desktop.error.c_str());
    return desktop.exitCode;
#else
    std::fprintf(stderr, "qbzview: the desktop window is not available in this build; use --headless\n");
    return 1;
#endif
  }
  for (const CLI::Option* option : {scaleOption, fullscreenOption, fpsOption}) {
    if (option->count() != 0) {
      std::fprintf(stderr, "qbzview: %s is for the window, not --headless\n", option->get_name().c_str());
      return 2;
    }
  }

  platform::HeadlessRun run;
  if (!platform::parseDeviceClass(deviceName, run.options.device)) {
    std::fprintf(stderr, "qbzview: unknown device '%s'\n", deviceName.c_str());
    return 2;
  }
  run.options.frameLimit = frames;
  run.options.standaloneFile = panorama;
  if (!eventsPath.empty()) {
    std::string error;
    platform::EventScriptSource script;
    if (!platform::loadEventScript(eventsPath, script, error)) {
      std::fprintf(stderr, "qbzview: %s\n", error.c_str());
      return 2;
    }
    run.options.events = std::move(script.events);
    run.options.streamedEvents = std::move(script.streamedPath);
  }
  run.dumpDisplayPath = dumpPath;
  run.screenshotPath = screenshotPath;
  const platform::HeadlessResult result = platform::runHeadless(run);
  if (!result.error.empty()) std::fprintf(stderr, "qbzview: %s\n", result.error.c_str());
  return result.exitCode;
}
