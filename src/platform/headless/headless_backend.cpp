#include "platform/headless/headless_backend.h"

#include <algorithm>

namespace platform {

HeadlessBackend::HeadlessBackend(HeadlessOptions options)
    : options_(std::move(options)), display_(options_.device) {
  std::stable_sort(options_.events.begin(), options_.events.end(),
                   [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.frame < b.frame; });
}

std::string HeadlessBackend::standaloneHostPath() const {
  return platform::standaloneHostPath(options_.standaloneFile);
}

std::string HeadlessBackend::moduleFilePath() {
  return options_.moduleFile.empty() ? runningExecutablePath() : options_.moduleFile;
}

std::string HeadlessBackend::mapPath(const std::string& handheldPath) {
  return mapHandheldPath(handheldPath, options_.standaloneFile);
}

bool HeadlessBackend::readyForFrame() {
  if (options_.frameLimit > 0 && framesProduced_ >= options_.frameLimit) {
    postMessage(nullptr, kMessageQuit, 0, 0);
    return false;
  }
  const int32_t next = framesProduced_ + 1;
  if (eventsPostedFor_ < next) {
    eventsPostedFor_ = next;
    bool posted = false;
    WindowHandle target = inputWindow();
    while (nextEvent_ < options_.events.size() && options_.events[nextEvent_].frame <= next) {
      const ScriptedEvent& event = options_.events[nextEvent_++];
      postMessage(target, event.message, event.wParam, event.lParam);
      posted = true;
    }
    if (posted) return false;
  }
  framesProduced_ = next;
  clockMs_ += options_.frameIntervalMs;
  return true;
}

}  // namespace platform
