// The viewer stood up for measuring, as the real program starts it: a
// headless backend installed, startApplication (initApplication, then the device's blitter).
// The panorama is the bundled 512/32 sample when one is found (the file named
// by QBZ_BENCH_PANORAMA, else <build>/assets/sample.qbz), otherwise a
// picture-like synthetic panorama of the same geometry written once to a
// temporary file.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/render_context.h"
#include "panorama/container_writer.h"
#include "platform/atomic_file.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "render/renderer.h"
#include "shell/application.h"
#include "shell/view_control.h"

#ifndef QBZ_BENCH_SAMPLE
#define QBZ_BENCH_SAMPLE ""
#endif

namespace bench {

// Smooth gradients with a little noise, so that the store compresses and the
// colour lookups spread about as a photograph's colour indices do.
inline PanoramaImage syntheticPanorama() {
  PanoramaImage image;
  image.faceSize = 512;
  image.tileSize = 32;
  image.pixels.resize(storePixelCount(512, 32));
  uint32_t noise = 1;
  for (size_t k = 0; k < image.pixels.size(); ++k) {
    noise = noise * 1103515245u + 12345u;
    const uint32_t texel = static_cast<uint32_t>(k & 1023);
    const uint32_t tile = static_cast<uint32_t>(k >> 10);
    image.pixels[k] = static_cast<uint16_t>(((texel & 31) + tile) << 11 | (texel >> 5) << 5 | (noise >> 29));
  }
  return image;
}

// Removes the synthetic file at exit.
struct TemporaryFile {
  std::string path;
  ~TemporaryFile() {
    std::error_code error;
    if (!path.empty()) std::filesystem::remove(path, error);
  }
};

// The panorama file to measure with, and whether it is the real sample.
struct PanoramaSource {
  std::string path;
  bool sample = false;
};

inline const PanoramaSource& panoramaSource() {
  static TemporaryFile synthetic;
  static const PanoramaSource source = [] {
    const char* named = std::getenv("QBZ_BENCH_PANORAMA");
    if (named != nullptr && *named != '\0') return PanoramaSource{named, true};
    std::error_code error;
    if (std::filesystem::is_regular_file(QBZ_BENCH_SAMPLE, error)) return PanoramaSource{QBZ_BENCH_SAMPLE, true};
    synthetic.path =
        (std::filesystem::temp_directory_path() / ("qbz_bench_" + std::to_string(::getpid()) + ".qbz")).string();
    platform::writeFileAtomically(synthetic.path, encodeContainer(syntheticPanorama(), true));
    return PanoramaSource{synthetic.path, false};
  }();
  return source;
}

// Options that make the panorama file (default: panoramaSource's) the viewer's "\Temp\Test.QBZ".
inline platform::HeadlessOptions panoramaOptions(platform::DeviceClass device = platform::DeviceClass::Generic,
                                                 const std::string& panorama = {}) {
  const std::string& path = panorama.empty() ? panoramaSource().path : panorama;
  platform::HeadlessOptions options;
  options.device = device;
  options.standaloneFile = path;
  options.moduleFile = path + ".no-viewer";  // no appended container
  options.frameLimit = 0;
  return options;
}

// The running viewer; its destructor returns every global to the start state.
class Viewer {
 public:
  explicit Viewer(platform::DeviceClass device = platform::DeviceClass::Generic, const std::string& panorama = {})
      : backend_(std::make_unique<platform::HeadlessBackend>(panoramaOptions(device, panorama))) {
    platform::resetWindowManager();
    platform::installBackend(backend_.get());
    resetApplication();
    loaded_ = startApplication();
  }
  ~Viewer() {
    resetApplication();
    platform::installBackend(nullptr);
    platform::resetWindowManager();
  }
  Viewer(const Viewer&) = delete;
  Viewer& operator=(const Viewer&) = delete;

  bool loaded() const { return loaded_; }

  // The view the viewer starts with, at the given zoom, turning by itself or not.
  void startView(uint32_t zoom, bool autoRotate) {
    const ViewState start = viewState;
    viewState.zoom = zoom;
    renderSetParameter(renderContext, kParameterZoom, static_cast<int32_t>(zoom));
    viewState.autoRotate = autoRotate;
    startYaw_ = start.yaw;
    startPitch_ = start.pitch;
  }
  // Back to the start heading, keeping zoom and mode.
  void rewind() {
    viewState.yaw = startYaw_;
    viewState.pitch = startPitch_;
  }
  void wireFrame() {
    renderSetMode(renderContext, kModeWireFrame);
    viewState.wireframe = true;
  }
  // Frames of one full auto-rotation turn at the current zoom.
  static int32_t spinFrames(uint32_t zoom) {
    const int32_t speed = static_cast<int32_t>(2048 / zoom);
    return (2048 + speed - 1) / speed;
  }
  // Forgets the platform's call log, which grows by the two draw calls of every frame.
  static void forgetCalls() { platform::resetWindowManager(); }

 private:
  std::unique_ptr<platform::HeadlessBackend> backend_;
  bool loaded_ = false;
  int32_t startYaw_ = 0;
  int32_t startPitch_ = 0;
};

}  // namespace bench
