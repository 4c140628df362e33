// qbzview: the viewer on a desktop host, headless or in a window.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

#include "platform/emulated_display.h"
#include "platform/host/headless_host.h"

int main(int argc, char** argv) {
  CLI::App app{"qbzview: a full-screen viewer for cubic panoramas"};
  bool headless = false;
  std::string deviceName = "generic";
  int32_t frames = 2;
  std::string eventsPath;
  std::string dumpPath;
  std::string screenshotPath;
  std::string panorama;
  app.add_flag("--headless", headless, "Run without a window on the emulated handheld display");
  app.add_option("--device", deviceName, "Emulated device class: generic, linear, direct or palmax")
      ->check(CLI::IsMember({"generic", "linear", "direct", "palmax"}));
  app.add_option("--frames", frames, "Headless: end after this frame (0: run until the viewer quits)")
      ->check(CLI::Range(0, 1000000000));
  app.add_option("--events", eventsPath, "Headless: input script, one 'FRAME KIND ARGS' event a line");
  app.add_option("--dump-display", dumpPath, "Headless: write the final screen as raw 5-6-5 pixels");
  app.add_option("--screenshot", screenshotPath, "Headless: write the final screen as a PNG");
  app.add_option("PANORAMA", panorama, "Container standing for \\Temp\\Test.QBZ");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? 0 : 2;
  }

  if (!headless) {
    std::fprintf(stderr, "qbzview: the desktop window is not available in this build; use --headless\n");
    return 1;
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
    if (!platform::loadEventScript(eventsPath, run.options.events, error)) {
      std::fprintf(stderr, "qbzview: %s\n", error.c_str());
      return 2;
    }
  }
  run.dumpDisplayPath = dumpPath;
  run.screenshotPath = screenshotPath;
  const platform::HeadlessResult result = platform::runHeadless(run);
  if (!result.error.empty()) std::fprintf(stderr, "qbzview: %s\n", result.error.c_str());
  return result.exitCode;
}
