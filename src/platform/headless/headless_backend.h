// The deterministic backend: a virtual clock that advances one frame period
// per produced frame, input from a script, emulated display memory of one
// device class, and no other process to meet.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/emulated_display.h"
#include "platform/headless/event_script.h"
#include "platform/path_mapping.h"

namespace platform {

constexpr int32_t kQuitWaitFrames = 1000;
constexpr int32_t kExitQuitNeverCarriedOut = 3;

struct HeadlessOptions {
  DeviceClass device = DeviceClass::Generic;
  int32_t frameLimit = 2;  // the run ends after this frame; 0 runs until the viewer quits
  std::vector<ScriptedEvent> events;
  std::string standaloneFile;  // host file for "\Temp\Test.QBZ"; empty: Test.QBZ in the temp directory
  std::string moduleFile;      // the executable the viewer looks in; empty: this process's own
  uint32_t frameIntervalMs = 33;
  // A script read frame by frame during the run, after events (see loadEventScript).
  std::string streamedEvents{};
  // Whether the viewer has asked to quit. With no frame limit, a run whose
  // script has ended and whose viewer has asked to quit for kQuitWaitFrames
  // frames, with no message coming to carry the quit out, ends with
  // kExitQuitNeverCarriedOut instead of running for ever.
  std::function<bool()> quitPending{};
};

class HeadlessBackend : public Backend {
 public:
  explicit HeadlessBackend(HeadlessOptions options);

  int32_t framesProduced() const { return framesProduced_; }
  // The frame in which the viewer asked to quit, when the run ended because
  // nothing carried the quit out; 0 otherwise.
  int32_t quitNeverCarriedOutSince() const { return quitStalled_ ? quitSince_ : 0; }
  // A bad line met while reading a streamed script ("PATH: line N: why").
  const std::string& scriptError() const { return scriptError_; }
  EmulatedDisplay& display() { return display_; }
  const HeadlessOptions& options() const { return options_; }
  // The host file that stands for the handheld path.
  std::string standaloneHostPath() const;

  uint64_t nowMs() override { return clockMs_; }
  void pollInput() override {}
  bool readyForFrame() override;
  std::u16string oemInfo() override { return display_.oemInfo(); }
  std::string moduleFilePath() override;
  std::string mapPath(const std::string& handheldPath) override;
  WindowHandle findOtherInstance(const std::u16string&, const std::u16string&) override { return nullptr; }
  void bringToFront(WindowHandle) override {}
  void windowCreated(WindowHandle) override {}
  void windowShown(WindowHandle) override {}
  int gxOpenDisplay(WindowHandle, uint32_t) override { return 1; }
  int gxCloseDisplay() override { return 1; }
  void* gxBeginDraw() override { return display_.beginDraw(); }
  int gxEndDraw() override { return display_.endDraw(); }
  uint8_t* directDisplayMemory() override { return display_.directMemory(); }

 private:
  HeadlessOptions options_;
  EmulatedDisplay display_;
  uint64_t clockMs_ = 0;
  int32_t framesProduced_ = 0;
  int32_t eventsPostedFor_ = 0;
  size_t nextEvent_ = 0;

  // The next scripted event due by frame, if any; events in frame order.
  bool takeEvent(int32_t frame, ScriptedEvent& event);
  bool scriptEnded() const;

  std::unique_ptr<std::ifstream> streamFile_;
  std::unique_ptr<EventScriptReader> streamReader_;
  bool streamHasEvent_ = false;
  ScriptedEvent streamEvent_{};
  std::string scriptError_;
  int32_t quitSince_ = 0;
  bool quitStalled_ = false;
};

}  // namespace platform
