#include "platform/headless/headless_backend.h"

#include <algorithm>

#include "platform/host_file.h"

namespace platform {

HeadlessBackend::HeadlessBackend(HeadlessOptions options)
    : options_(std::move(options)), display_(options_.device) {
  std::stable_sort(options_.events.begin(), options_.events.end(),
                   [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.frame < b.frame; });
  if (!options_.streamedEvents.empty()) {
    streamFile_ = std::make_unique<std::ifstream>(hostFilePath(options_.streamedEvents), std::ios::binary);
    streamReader_ = std::make_unique<EventScriptReader>(*streamFile_);
    streamHasEvent_ = streamReader_->next(streamEvent_);
  }
}

bool HeadlessBackend::takeEvent(int32_t frame, ScriptedEvent& event) {
  if (nextEvent_ < options_.events.size() && options_.events[nextEvent_].frame <= frame) {
    event = options_.events[nextEvent_++];
    return true;
  }
  if (!streamHasEvent_ || streamEvent_.frame > frame) return false;
  event = streamEvent_;
  streamHasEvent_ = streamReader_->next(streamEvent_);
  // The script was checked before the run; a bad line now means it changed since.
  if (!streamHasEvent_ && !streamReader_->error().empty()) {
    scriptError_ = options_.streamedEvents + ": " + streamReader_->error();
  }
  return true;
}

bool HeadlessBackend::scriptEnded() const { return nextEvent_ >= options_.events.size() && !streamHasEvent_; }

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
    for (ScriptedEvent event; takeEvent(next, event);) {
      postMessage(target, event.message, event.wParam, event.lParam);
      posted = true;
    }
    if (posted) return false;
  }
  if (options_.frameLimit == 0 && scriptEnded() && options_.quitPending && options_.quitPending()) {
    if (quitSince_ == 0) quitSince_ = framesProduced_;
    if (framesProduced_ - quitSince_ >= kQuitWaitFrames) {
      quitStalled_ = true;
      postMessage(nullptr, kMessageQuit, kExitQuitNeverCarriedOut, 0);
      return false;
    }
  }
  framesProduced_ = next;
  clockMs_ += options_.frameIntervalMs;
  return true;
}

}  // namespace platform
