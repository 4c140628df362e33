#include "platform/sdl/sdl_backend.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/key_codes.h"
#include "platform/atomic_file.h"
#include "platform/path_mapping.h"
#include "platform/screen_capture.h"
#include "platform/text_encoding.h"

namespace platform {

namespace {

constexpr int kScreenPitchBytes = kScreenWidth * 2;

bool endsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// SDL falls back to drivers that draw into memory when no display is
// there; for a viewer that is no display at all. A driver the user names in
// SDL_VIDEODRIVER is used as it stands.
bool startVideo(std::string& error) {
  if (std::getenv("SDL_VIDEODRIVER") != nullptr) {
    if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
    error = SDL_GetError();
    return false;
  }
  const bool waylandPossible = std::getenv("WAYLAND_DISPLAY") != nullptr || std::getenv("XDG_RUNTIME_DIR") != nullptr;
  std::string firstFailure;  // the preferred driver's reason says most
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const std::string driver = SDL_GetVideoDriver(i);
    if (driver == "offscreen" || driver == "dummy" || driver == "evdev") continue;
    // Without either variable the Wayland client library only complains.
    if (driver == "wayland" && !waylandPossible) continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.c_str());
    if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
    if (firstFailure.empty()) firstFailure = driver + ": " + SDL_GetError();
  }
  error = std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr
              ? "neither DISPLAY nor WAYLAND_DISPLAY is set"
              : firstFailure;
  return false;
}

ScreenScaling scalingOf(const SdlOptions& options) {
  return options.smooth ? ScreenScaling::Smooth : ScreenScaling::Sharp;
}

// FNV-1a: a short, stable tag for a long path in a file name.
std::string hashTag(const std::string& text) {
  uint64_t hash = 0xcbf29ce484222325u;
  for (const char c : text) hash = (hash ^ static_cast<uint8_t>(c)) * 0x100000001b3u;
  char tag[17];
  std::snprintf(tag, sizeof tag, "%016llx", static_cast<unsigned long long>(hash));
  return tag;
}

// The first STEM-screen-N.png not taken yet.
std::string nextScreenshotPath(const std::string& stem) {
  std::error_code error;
  for (int32_t n = 1;; ++n) {
    const std::string candidate = stem + "-screen-" + std::to_string(n) + ".png";
    if (!std::filesystem::exists(candidate, error) || n >= 99999) return candidate;
  }
}

}  // namespace

std::unique_ptr<SdlBackend> SdlBackend::open(const SdlOptions& options, std::string& error) {
  // Nearest-pixel scaling keeps the handheld's pixels sharp; --smooth asks for linear.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, options.smooth ? "1" : "0");
  if (!startVideo(error)) return nullptr;
  return std::unique_ptr<SdlBackend>(new SdlBackend(options));
}

SdlBackend::SdlBackend(const SdlOptions& options)
    : options_(options),
      display_(options.device),
      pacer_(options.framesPerSecond),
      instance_(options.instanceDirectory),
      translator_(scalingOf(options)),
      startTicks_(SDL_GetTicks64()) {}

SdlBackend::~SdlBackend() {
  if (helpTexture_ != nullptr) SDL_DestroyTexture(helpTexture_);
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  SDL_Quit();
}

std::string SdlBackend::standaloneHostPath() const { return platform::standaloneHostPath(options_.standaloneFile); }

uint64_t SdlBackend::nowMs() { return SDL_GetTicks64() - startTicks_; }

std::string SdlBackend::moduleFilePath() { return options_.ownContainerFirst ? runningExecutablePath() : std::string(); }

std::string SdlBackend::mapPath(const std::string& handheldPath) {
  return mapHandheldPath(handheldPath, options_.standaloneFile);
}

WindowHandle SdlBackend::findOtherInstance(const std::u16string& className, const std::u16string& title) {
  // One window per panorama: the name carries the window's title, cut short,
  // and a tag of the panorama's path, so two files of one name stay apart.
  const std::string name = options_.windowTitle.empty()
                               ? instanceName(className, title)
                               : instanceName(className, toUtf16(options_.windowTitle.substr(0, 40))) + "-" +
                                     hashTag(options_.instanceKey);
  if (instance_.claim(name) != SingleInstance::Role::Second) return nullptr;
  if (otherInstance_ == nullptr) otherInstance_ = foreignWindow(className, title);
  return otherInstance_;
}

// Our own window is raised only while it already has the input focus, so
// the viewer's periodic call never takes the focus from another program.
// Another copy's window is asked over the instance socket; that copy raises
// itself in pollInput.
void SdlBackend::bringToFront(WindowHandle window) {
  if (window != nullptr && window == otherInstance_) {
    instance_.requestRaise();
    return;
  }
  if (window == ourWindow_ && window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0) {
    SDL_RaiseWindow(window_);
  }
}

void SdlBackend::windowCreated(WindowHandle window) {
  if (ourWindow_ != nullptr) return;  // the viewer has one window
  ourWindow_ = window;
  if (!createWindow(options_.windowTitle.empty() ? toUtf8(windowTitle(window)) : options_.windowTitle)) {
    // Nothing can be shown: let the viewer quit at once, the host reports why.
    postMessage(window, kMessageKeyDown, kKeyQuitNow, 0);
    postMessage(window, kMessageKeyUp, kKeyQuitNow, 0);
  }
}

bool SdlBackend::createWindow(const std::string& title) {
  const int32_t scale = options_.scale < 1 ? 1 : options_.scale;
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
  if (options_.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth * scale,
                             kScreenHeight * scale, flags);
  if (window_ != nullptr) renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (window_ != nullptr && renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ != nullptr) {
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                 kScreenHeight);
  }
  if (texture_ == nullptr) {
    windowError_ = SDL_GetError();
    return false;
  }
  const HostPicture& card = options_.helpCard;
  if (card.width > 0 && card.height > 0 && card.rgb.size() == static_cast<size_t>(card.width) * card.height * 3) {
    helpTexture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB24, SDL_TEXTUREACCESS_STATIC, card.width, card.height);
    if (helpTexture_ != nullptr) SDL_UpdateTexture(helpTexture_, nullptr, card.rgb.data(), card.width * 3);
  }
  const std::vector<uint16_t> black(kScreenPixels, 0);
  SDL_UpdateTexture(texture_, nullptr, black.data(), kScreenPitchBytes);
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window_, &width, &height);
  translator_.setWindowSize(width, height);
  return true;
}

void SdlBackend::windowShown(WindowHandle window) {
  if (window != ourWindow_ || window_ == nullptr) return;
  SDL_ShowWindow(window_);
  draw(false);
}

void SdlBackend::pollInput() {
  // A second copy asked for us: the user started it on purpose, so the
  // window manager is asked to raise and activate this window.
  if (instance_.takeRaiseRequests() > 0 && window_ != nullptr) {
    if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0) SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
  }
  if (!options_.dropPath.empty() && !dropInjected_ && framesPresented_ >= options_.dropFrame) {
    dropInjected_ = true;
    SDL_Event drop{};
    drop.type = SDL_DROPFILE;
    drop.drop.file = SDL_strdup(options_.dropPath.c_str());
    if (SDL_PushEvent(&drop) != 1) SDL_free(drop.drop.file);
  }
  const bool helpWasShown = translator_.helpShown();
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (event.type == SDL_DROPFILE) {
      handleDrop(event.drop.file);
      continue;
    }
    if (event.type == SDL_DROPTEXT) SDL_free(event.drop.file);  // dropped text, not a file: ours to free
    if (event.type == SDL_WINDOWEVENT &&
        (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
      draw(false);
    }
    translator_.translate(event, translated_, commands_);
  }
  for (const HostCommand command : commands_) runCommand(command);
  commands_.clear();
  if (translator_.helpShown() != helpWasShown) draw(false);
  for (const InputMessage& input : translated_) taps_.admit(input, pending_);
  translated_.clear();
  postInput();
}

void SdlBackend::runCommand(HostCommand command) {
  if (window_ == nullptr) return;
  const bool fullScreen = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
  switch (command) {
    case HostCommand::ToggleFullScreen:
      SDL_SetWindowFullscreen(window_, fullScreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
      break;
    case HostCommand::LeaveFullScreenOrQuit:
      if (fullScreen) SDL_SetWindowFullscreen(window_, 0);
      else translator_.pressQuitButton(translated_);
      break;
    case HostCommand::Screenshot:
      saveScreenshot();
      break;
    case HostCommand::Help:  // the translator shows the card until the next key
    case HostCommand::None:
      break;
  }
}

// The viewer restarts on a dropped file the host can show; what it cannot
// show, the host reports and the viewer goes on.
void SdlBackend::handleDrop(char* file) {
  const std::string path = file != nullptr ? file : "";
  SDL_free(file);
  if (path.empty() || restartRequested_ || !options_.acceptDroppedFile) return;
  if (!options_.acceptDroppedFile(path)) return;
  restartRequested_ = true;
  translator_.pressQuitButton(translated_);
}

// The exact 240 x 320 screen, not the scaled window: next to the panorama,
// else in the current directory.
void SdlBackend::saveScreenshot() {
  const std::vector<uint16_t> screen = display_.screen();
  const std::filesystem::path stem(options_.screenshotStem.empty() ? "qbzview" : options_.screenshotStem);
  std::string path = nextScreenshotPath(stem.string());
  if (!writePngScreen(path, screen)) {
    std::error_code error;
    path = nextScreenshotPath((std::filesystem::current_path(error) / stem.filename()).string());
    if (!writePngScreen(path, screen)) {
      std::fprintf(stderr, "qbzview: cannot write the screenshot %s\n", path.c_str());
      return;
    }
  }
  std::printf("%s\n", path.c_str());
  std::fflush(stdout);
  if (!options_.windowCapturePath.empty()) {
    windowCaptureDue_ = true;
    draw(false);
  }
}

void SdlBackend::postInput() {
  WindowHandle target = inputWindow();
  if (target != nullptr) {
    for (const InputMessage& input : pending_) postMessage(target, input.message, input.wParam, input.lParam);
  }
  pending_.clear();
}

// The direct class writes the display memory without GXBeginDraw and
// GXEndDraw; its frame is presented and paced here, just before the next.
bool SdlBackend::readyForFrame() {
  if (options_.device == DeviceClass::Direct) {
    if (directFrameWaiting_) {
      taps_.frameRan(pending_);
      presentFrame();
      pacer_.waitForNextTick();
    }
    directFrameWaiting_ = true;
  }
  return true;
}

int SdlBackend::gxEndDraw() {
  const int result = display_.endDraw();
  taps_.frameRan(pending_);
  presentFrame();
  pacer_.waitForNextTick();
  return result;
}

void SdlBackend::presentFrame() {
  if (texture_ == nullptr) return;
  const std::vector<uint16_t> screen = display_.screen();
  SDL_UpdateTexture(texture_, nullptr, screen.data(), kScreenPitchBytes);
  ++framesPresented_;
  draw(!options_.capturePath.empty() && framesPresented_ == options_.captureFrame);
}

void SdlBackend::draw(bool captureThisFrame) {
  if (renderer_ == nullptr) return;
  int width = 0;
  int height = 0;
  SDL_GetRendererOutputSize(renderer_, &width, &height);
  const ScreenRect fitted = fitScreen(width, height, scalingOf(options_));
  const SDL_Rect drawn{fitted.x, fitted.y, fitted.width, fitted.height};
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, &drawn);
  if (captureThisFrame) capture(drawn);  // before presenting: the back buffer is undefined after
  if (translator_.helpShown()) drawHelpCard(drawn);
  if (windowCaptureDue_) captureWindow(width, height);
  SDL_RenderPresent(renderer_);
}

// The card over the picture, nine tenths of its width, centred; never in the
// viewer's frame.
void SdlBackend::drawHelpCard(const SDL_Rect& picture) {
  if (helpTexture_ == nullptr) return;
  const HostPicture& card = options_.helpCard;
  int64_t width = int64_t{picture.w} * 9 / 10;
  int64_t height = width * card.height / card.width;
  if (height > picture.h) {
    height = picture.h;
    width = height * card.width / card.height;
  }
  const SDL_Rect where{picture.x + static_cast<int>((picture.w - width) / 2),
                       picture.y + static_cast<int>((picture.h - height) / 2), static_cast<int>(width),
                       static_cast<int>(height)};
  SDL_RenderCopy(renderer_, helpTexture_, nullptr, &where);
}

void SdlBackend::captureWindow(int32_t width, int32_t height) {
  windowCaptureDue_ = false;
  const std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  std::vector<uint8_t> ppm(header.begin(), header.end());
  ppm.resize(header.size() + static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  if (SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGB24, ppm.data() + header.size(), width * 3) != 0) {
    captureError_ = "cannot capture the window into " + options_.windowCapturePath;
  } else if (const FileWrite written = writeFileAtomically(options_.windowCapturePath, ppm); !written) {
    captureError_ = written.error;
  }
}

// Reads back what the window shows and takes the centre of each scaled
// pixel, so a correct window gives exactly the emulated screen.
void SdlBackend::capture(const SDL_Rect& drawn) {
  std::vector<uint16_t> window(static_cast<size_t>(drawn.w) * static_cast<size_t>(drawn.h));
  if (SDL_RenderReadPixels(renderer_, &drawn, SDL_PIXELFORMAT_RGB565, window.data(), drawn.w * 2) != 0) {
    captureError_ = std::string("cannot read the window back: ") + SDL_GetError();
    return;
  }
  std::vector<uint16_t> screen(kScreenPixels);
  for (int32_t y = 0; y < kScreenHeight; ++y) {
    const int64_t row = (2 * static_cast<int64_t>(y) + 1) * drawn.h / (2 * kScreenHeight);
    for (int32_t x = 0; x < kScreenWidth; ++x) {
      const int64_t column = (2 * static_cast<int64_t>(x) + 1) * drawn.w / (2 * kScreenWidth);
      screen[static_cast<size_t>(y * kScreenWidth + x)] = window[static_cast<size_t>(row * drawn.w + column)];
    }
  }
  const FileWrite written = endsWith(options_.capturePath, ".png") ? writePngScreen(options_.capturePath, screen)
                                                                    : writeRawScreen(options_.capturePath, screen);
  if (!written) captureError_ = written.error;
}

}  // namespace platform
