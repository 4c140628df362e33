#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

bool sameHandheldPath(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string hostTempDirectory() {
  std::error_code error;
  const std::filesystem::path directory = std::filesystem::temp_directory_path(error);
  return error ? std::string("/tmp") : directory.string();
}

}  // namespace

std::string runningExecutablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

HeadlessBackend::HeadlessBackend(HeadlessOptions options)
    : options_(std::move(options)), display_(options_.device) {
  std::stable_sort(options_.events.begin(), options_.events.end(),
                   [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.frame < b.frame; });
}

std::string HeadlessBackend::standaloneHostPath() const {
  if (!options_.standaloneFile.empty()) return options_.standaloneFile;
  return (std::filesystem::path(hostTempDirectory()) / "Test.QBZ").string();
}

std::string HeadlessBackend::moduleFilePath() {
  return options_.moduleFile.empty() ? runningExecutablePath() : options_.moduleFile;
}

std::string HeadlessBackend::mapPath(const std::string& handheldPath) {
  if (sameHandheldPath(handheldPath, "\\Temp\\Test.QBZ")) return standaloneHostPath();
  const std::string tempPrefix = "\\Temp\\";
  if (handheldPath.size() > tempPrefix.size() && sameHandheldPath(handheldPath.substr(0, tempPrefix.size()), tempPrefix)) {
    std::string rest = handheldPath.substr(tempPrefix.size());
    std::replace(rest.begin(), rest.end(), '\\', '/');
    if (rest.find("..") != std::string::npos) return std::string();
    return (std::filesystem::path(hostTempDirectory()) / rest).string();
  }
  return std::string();
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
