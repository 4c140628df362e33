// The browser's backend: the page hands over the panorama's bytes, which are
// kept as a file so that the loader reads them through the same file access
// as on every other host (trailer included); the browser's animation frames
// call the viewer once per frame; the emulated display memory is widened into
// the RGBA picture the page's canvas shows. Nothing here calls the browser:
// the web host (web_host.cpp) does that, so the backend builds and is tested
// natively too.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/backend.h"
#include "platform/emulated_display.h"

namespace platform {

constexpr uint32_t kWebFrameIntervalMs = 33;  // 30 frames per second, as the handheld
constexpr size_t kCanvasBytes = static_cast<size_t>(kScreenPixels) * 4;

class WebBackend : public Backend {
 public:
  // panoramaFile: the file holding the page's panorama; it stands both for
  // the viewer's own executable (an appended container and its trailer) and
  // for "\Temp\Test.QBZ" (a stand-alone container).
  explicit WebBackend(std::string panoramaFile);

  int32_t framesProduced() const { return framesProduced_; }
  EmulatedDisplay& display() { return display_; }
  // The last shown screen as RGBA, 240 x 320, top row first.
  const std::array<uint8_t, kCanvasBytes>& canvas() const { return canvas_; }
  // True when a frame was shown since the last call.
  bool takeFreshFrame();

  // The clock runs on frames, 33 ms each, like the headless one: the
  // browser paces the calls, and the same input on the same frames gives
  // the same screens.
  uint64_t nowMs() override { return clockMs_; }
  void pollInput() override {}
  bool readyForFrame() override;
  std::u16string oemInfo() override { return display_.oemInfo(); }
  std::string moduleFilePath() override { return panoramaFile_; }
  std::string mapPath(const std::string& handheldPath) override;
  WindowHandle findOtherInstance(const std::u16string&, const std::u16string&) override { return nullptr; }
  void bringToFront(WindowHandle) override {}
  void windowCreated(WindowHandle) override {}
  void windowShown(WindowHandle) override {}
  int gxOpenDisplay(WindowHandle, uint32_t) override { return 1; }
  int gxCloseDisplay() override { return 1; }
  void* gxBeginDraw() override { return display_.beginDraw(); }
  int gxEndDraw() override;
  uint8_t* directDisplayMemory() override { return display_.directMemory(); }

 private:
  std::string panoramaFile_;
  EmulatedDisplay display_{DeviceClass::Generic};
  std::array<uint8_t, kCanvasBytes> canvas_{};
  uint64_t clockMs_ = 0;
  int32_t framesProduced_ = 0;
  bool freshFrame_ = false;
};

}  // namespace platform
