// qbzview: the viewer on a desktop host, headless or in a window.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/backend.h"
#include "platform/emulated_display.h"
#include "platform/host/headless_host.h"
#include "platform/host/panorama_source.h"
#include "platform/path_mapping.h"
#if QBZ_HAVE_SDL
#include "platform/host/desktop_host.h"
#include "platform/host/help_card.h"
#include "platform/sdl/single_instance.h"
#endif
#if QBZ_HAVE_WIN32
#include "platform/text_encoding.h"
#include "platform/win32/win32_host.h"
#endif

namespace {

constexpr char kFooter[] =
    "PANORAMA is a QBZ container or an equirectangular (2:1) PNG or JPEG picture, converted as `qbzpack pack`\n"
    "would. A self-contained viewer (qbzpack --viewer) shows its own panorama.\n"
    "Window keys: arrows turn and tilt; drag with the left mouse button to turn like a joystick; =, + or\n"
    "PageUp and the wheel zoom in, - or PageDown zoom out; R resets the view; W or Home switches textured /\n"
    "wire-frame; F1 or H shows the keys; F11 or Alt+Enter toggles full screen; F12 saves the screen as a PNG\n"
    "next to the panorama; Q quits, Escape leaves full screen or quits. Drop a file on the window to show it.\n"
    "One window per panorama: starting the same one again brings its window forward and ends.\n"
    "Exit status: 0 normal end (or another copy brought forward), 1 no panorama shown or no display,\n"
    "2 bad usage, 3 a headless run without a frame limit whose quit request was never carried out.";

// One line on stderr, as every failure is reported.
void report(const std::string& message) { std::fprintf(stderr, "qbzview: %s\n", message.c_str()); }

// The panorama chosen, or the one line why not; a picture's converted
// container takes the place of its file.
bool preparePanorama(const std::string& userPath, bool ownContainerFirst, platform::PanoramaSource& source) {
  std::string error;
  if (!platform::choosePanorama(userPath, platform::runningExecutablePath(), ownContainerFirst, source, error)) {
    report(error);
    return false;
  }
  return true;
}

void useConverted(platform::PanoramaSource& source) {
  const std::string path = source.converted.empty() ? std::string() : source.standaloneFile;
  platform::setMemoryFile(path, std::move(source.converted));
}

#if QBZ_HAVE_SDL
// Hidden test hooks: QBZVIEW_CAPTURE=PATH writes the window's picture after
// frame QBZVIEW_CAPTURE_FRAME (default 2); QBZVIEW_CAPTURE_WINDOW=PATH writes
// the whole window with every screenshot.
void readCaptureRequest(platform::SdlOptions& options) {
  if (const char* window = std::getenv("QBZVIEW_CAPTURE_WINDOW")) options.windowCapturePath = window;
  const char* path = std::getenv("QBZVIEW_CAPTURE");
  if (path == nullptr || path[0] == '\0') return;
  options.capturePath = path;
  options.captureFrame = 2;
  if (const char* frame = std::getenv("QBZVIEW_CAPTURE_FRAME")) options.captureFrame = std::atoi(frame);
}

// Hidden test hook: QBZVIEW_DROP=PATH drops PATH on the window after frame 3,
// where the X server of a test cannot drag files.
void readDropRequest(platform::SdlOptions& options) {
  const char* path = std::getenv("QBZVIEW_DROP");
  if (path == nullptr || path[0] == '\0') return;
  options.dropPath = path;
  options.dropFrame = 3;
}

// Runs windows until the user quits: a file dropped on the window starts the
// viewer again on it.
int runWindows(platform::SdlOptions options, platform::PanoramaSource source) {
  for (;;) {
    options.standaloneFile = source.standaloneFile;
    options.windowTitle = source.title;
    options.instanceKey = source.identity;
    options.screenshotStem = source.screenshotStem;
    useConverted(source);
    const bool selfContained = source.selfContained;
    platform::PanoramaSource dropped;
    options.acceptDroppedFile = [&dropped](const std::string& path) { return preparePanorama(path, false, dropped); };
    const platform::DesktopResult desktop = platform::runDesktop(options);
    if (!desktop.error.empty()) {
      report(desktop.panoramaFailed && !selfContained
                 ? options.standaloneFile + ": not a QBZ container the viewer can load"
                 : desktop.error);
    }
    if (!desktop.restart) return desktop.exitCode;
    source = std::move(dropped);
    options.ownContainerFirst = false;
    options.dropPath.clear();
  }
}
#endif

int qbzviewMain(int argc, char** argv);

}  // namespace

#if QBZ_HAVE_WIN32
// Windows hands over the command line in wide characters; the options are
// parsed as UTF-8 like everywhere else.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) {
    arguments.push_back(platform::toUtf8(std::u16string(argv[i], argv[i] + std::char_traits<wchar_t>::length(argv[i]))));
  }
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  return qbzviewMain(argc, pointers.data());
}
#else
int main(int argc, char** argv) { return qbzviewMain(argc, argv); }
#endif

namespace {

// What the command line asked for.
struct CommandLine {
  bool headless = false;
  std::string deviceName = platform::kDeviceClassNames[0];
  int32_t frames = 2;
  std::string eventsPath;
  std::string dumpPath;
  std::string screenshotPath;
  std::string panorama;
  int32_t scale = 2;
  bool fullscreen = false;
  int32_t framesPerSecond = 30;
  bool smooth = false;
  std::vector<const CLI::Option*> headlessOnly;  // options that need --headless
  std::vector<const CLI::Option*> windowOnly;    // options that are for the window
};

void declareOptions(CLI::App& app, CommandLine& line) {
  app.allow_windows_style_options(false);  // "/x" is a path, on Windows too
  app.add_flag("--headless", line.headless, "Run without a window on the emulated handheld display");
  app.add_option("--device", line.deviceName, "Emulated device class: generic, linear, direct or palmax")
      ->check(CLI::IsMember(platform::kDeviceClassNames));
  line.headlessOnly = {
      app.add_option("--frames", line.frames, "Headless: end after this frame (0: run until the viewer quits)")
          ->check(CLI::Range(0, 1000000000)),
      app.add_option("--events", line.eventsPath, "Headless: input script, one 'FRAME KIND ARGS' event a line"),
      app.add_option("--dump-display", line.dumpPath, "Headless: write the final screen as raw 5-6-5 pixels"),
      app.add_option("--screenshot", line.screenshotPath, "Headless: write the final screen as a PNG")};
  line.windowOnly = {
      app.add_option("--scale", line.scale, "Window: whole scale factor of the 240 x 320 screen (default 2)")
          ->check(CLI::Range(1, 16)),
      app.add_flag("--fullscreen", line.fullscreen, "Window: the whole desktop screen, letterboxed"),
      app.add_option("--fps", line.framesPerSecond,
                     "Window: frames per second, as the handheld's display (default 30)")
          ->check(CLI::Range(1, 1000)),
      app.add_flag("--smooth", line.smooth,
                   "Window: linear filtering, filling the window (default: sharp whole-factor pixels)")};
  app.add_option("PANORAMA", line.panorama, "QBZ container or equirectangular PNG/JPEG picture");
  app.footer(kFooter);
}

// False, after saying which, when one of the options was given.
bool noneGiven(const std::vector<const CLI::Option*>& options, const char* problem) {
  for (const CLI::Option* option : options) {
    if (option->count() != 0) {
      std::fprintf(stderr, "qbzview: %s %s\n", option->get_name().c_str(), problem);
      return false;
    }
  }
  return true;
}

// False, after saying so, when the device class is unknown.
bool readDevice(const std::string& name, platform::DeviceClass& device) {
  if (platform::parseDeviceClass(name, device)) return true;
  std::fprintf(stderr, "qbzview: unknown device '%s'\n", name.c_str());
  return false;
}

// The options every desktop window takes from the command line.
template <typename WindowOptions>
bool readWindowOptions(const CommandLine& line, WindowOptions& options) {
  options.scale = line.scale;
  options.fullscreen = line.fullscreen;
  options.framesPerSecond = line.framesPerSecond;
  return readDevice(line.deviceName, options.device);
}

int runWindow(const CommandLine& line) {
  if (!noneGiven(line.headlessOnly, "needs --headless")) return 2;
#if QBZ_HAVE_SDL
  platform::SdlOptions options;
  if (!readWindowOptions(line, options)) return 2;
  options.smooth = line.smooth;
  options.instanceDirectory = platform::instanceDirectory();
  options.helpCard = platform::renderHelpCard();
  readCaptureRequest(options);
  readDropRequest(options);
  platform::PanoramaSource source;
  if (!preparePanorama(line.panorama, true, source)) return 1;
  return runWindows(std::move(options), std::move(source));
#elif QBZ_HAVE_WIN32
  platform::Win32Options options;
  if (!readWindowOptions(line, options)) return 2;
  options.standaloneFile = line.panorama;
  platform::nameWindowAfterPanorama(options);
  const platform::Win32Result window = platform::runWin32Window(options);
  if (!window.error.empty()) std::fprintf(stderr, "qbzview: %s\n", window.error.c_str());
  return window.exitCode;
#else
  std::fprintf(stderr, "qbzview: the desktop window is not available in this build; use --headless\n");
  return 1;
#endif
}

int runHeadlessCommand(const CommandLine& line) {
  if (!noneGiven(line.windowOnly, "is for the window, not --headless")) return 2;
  platform::HeadlessRun run;
  if (!readDevice(line.deviceName, run.options.device)) return 2;
  run.options.frameLimit = line.frames;
  if (!line.eventsPath.empty()) {
    std::string error;
    platform::EventScriptSource script;
    if (!platform::loadEventScript(line.eventsPath, script, error)) {
      std::fprintf(stderr, "qbzview: %s\n", error.c_str());
      return 2;
    }
    run.options.events = std::move(script.events);
    run.options.streamedEvents = std::move(script.streamedPath);
  }
  platform::PanoramaSource source;
  if (!preparePanorama(line.panorama, true, source)) return 1;
  run.options.standaloneFile = source.standaloneFile;
  useConverted(source);
  run.dumpDisplayPath = line.dumpPath;
  run.screenshotPath = line.screenshotPath;
  const platform::HeadlessResult result = platform::runHeadless(run);
  if (!result.error.empty()) {
    report(result.exitCode == 1 && result.framesProduced == 0 && !source.selfContained
               ? source.standaloneFile + ": not a QBZ container the viewer can load"
               : result.error);
  }
  return result.exitCode;
}

// Parses the command line and runs what it asks for.
int qbzviewMain(int argc, char** argv) {
  CLI::App app{"qbzview: a full-screen viewer for cubic panoramas"};
  CommandLine line;
  declareOptions(app, line);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? 0 : 2;
  }
  return line.headless ? runHeadlessCommand(line) : runWindow(line);
}

}  // namespace
