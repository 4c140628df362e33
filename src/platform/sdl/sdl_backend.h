// The desktop backend: one SDL2 window showing the emulated handheld screen
// scaled up, desktop keys and the mouse as the handheld's buttons and stylus,
// frames paced at the device's rate, and one running copy per user.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/desktop/frame_pacer.h"
#include "platform/emulated_display.h"
#include "platform/sdl/input_translator.h"
#include "platform/sdl/single_instance.h"

namespace platform {

// A picture the host draws over the screen, 8-bit RGB rows.
struct HostPicture {
  int32_t width = 0, height = 0;
  std::vector<uint8_t> rgb;
};

struct SdlOptions {
  DeviceClass device = DeviceClass::Generic;
  int32_t scale = 2;              // the window's first size: this whole factor over 240 x 320
  bool fullscreen = false;        // the desktop's whole screen, letterboxed
  bool smooth = false;            // linear filtering, filling the window; default sharp whole-factor pixels
  std::string windowTitle;        // empty: the viewer's own title
  std::string instanceKey;        // with the title, who counts as the same copy (the panorama's path)
  bool ownContainerFirst = true;  // false: the executable's appended container is not looked at
  std::string screenshotStem;     // F12 writes STEM-screen-N.png (else into the current directory)
  HostPicture helpCard;           // shown by F1/H over the picture until a key is pressed
  // A file dropped on the window: true when the host will show it instead;
  // the viewer then quits and the host starts it again.
  std::function<bool(const std::string& path)> acceptDroppedFile;
  int32_t framesPerSecond = 30;   // the display's pace, 1..1000
  std::string standaloneFile;     // host file for "\Temp\Test.QBZ"; empty: Test.QBZ in the temp directory
  std::string instanceDirectory;  // where copies meet (instanceDirectory()); empty: no single-instance rule
  // For tests: after presenting frame captureFrame, the window's picture,
  // sampled back to 240 x 320, is written to capturePath (PNG when it ends
  // in ".png", else raw 5-6-5 like the headless display dump).
  std::string capturePath;
  int32_t captureFrame = 0;
  // For tests where files cannot be dragged: after this frame, SDL gets a
  // drop of dropPath as if the user had dropped it.
  std::string dropPath;
  int32_t dropFrame = 0;
  // For tests: each screenshot also writes the whole window as a binary PPM here.
  std::string windowCapturePath;
};

class SdlBackend : public Backend {
 public:
  // Starts SDL's video; null, with SDL's reason in error, without a display.
  static std::unique_ptr<SdlBackend> open(const SdlOptions& options, std::string& error);
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  // Why the window could not be opened; empty when it was (or was never asked for).
  const std::string& windowError() const { return windowError_; }
  // Why the test capture could not be written; empty otherwise.
  const std::string& captureError() const { return captureError_; }
  std::string standaloneHostPath() const;
  int32_t framesPresented() const { return framesPresented_; }
  // A dropped file was accepted: the viewer ended to be started on it.
  bool restartRequested() const { return restartRequested_; }

  uint64_t nowMs() override;
  void pollInput() override;
  bool readyForFrame() override;
  std::u16string oemInfo() override { return display_.oemInfo(); }
  std::string moduleFilePath() override;
  std::string mapPath(const std::string& handheldPath) override;
  WindowHandle findOtherInstance(const std::u16string& className, const std::u16string& title) override;
  void bringToFront(WindowHandle window) override;
  void windowCreated(WindowHandle window) override;
  void windowShown(WindowHandle window) override;
  int gxOpenDisplay(WindowHandle, uint32_t) override { return 1; }
  int gxCloseDisplay() override { return 1; }
  void* gxBeginDraw() override { return display_.beginDraw(); }
  int gxEndDraw() override;
  uint8_t* directDisplayMemory() override { return display_.directMemory(); }

 private:
  explicit SdlBackend(const SdlOptions& options);
  bool createWindow(const std::string& title);
  void presentFrame();
  void draw(bool capture);
  void capture(const SDL_Rect& drawn);
  void postInput();
  void runCommand(HostCommand command);
  void handleDrop(char* file);
  void saveScreenshot();
  void drawHelpCard(const SDL_Rect& picture);
  void captureWindow(int32_t width, int32_t height);

  SdlOptions options_;
  EmulatedDisplay display_;
  FramePacer pacer_;
  SingleInstance instance_;
  InputTranslator translator_;
  TapKeeper taps_;
  std::vector<InputMessage> translated_;
  std::vector<HostCommand> commands_;
  std::vector<InputMessage> pending_;  // admitted, to be posted
  uint64_t startTicks_ = 0;

  WindowHandle ourWindow_ = nullptr;
  WindowHandle otherInstance_ = nullptr;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Texture* helpTexture_ = nullptr;
  std::string windowError_;
  std::string captureError_;
  int32_t framesPresented_ = 0;
  bool directFrameWaiting_ = false;
  bool restartRequested_ = false;
  bool dropInjected_ = false;
  bool windowCaptureDue_ = false;  // the direct class drew a frame not yet presented
};

}  // namespace platform
