#include "platform/web/web_backend.h"

#include <cstring>

#include "platform/path_mapping.h"
#include "platform/pixel_widening.h"

namespace platform {

namespace {

constexpr size_t kGenericRowBytes = kScreenRowBytes;

}  // namespace

WebBackend::WebBackend(std::string panoramaFile) : panoramaFile_(std::move(panoramaFile)) {
  for (size_t i = 3; i < canvas_.size(); i += 4) canvas_[i] = 0xFF;  // opaque
}

std::string WebBackend::mapPath(const std::string& handheldPath) {
  return handheldPath == kStandaloneHandheldPath ? panoramaFile_ : std::string();
}

bool WebBackend::readyForFrame() {
  framesProduced_ += 1;
  clockMs_ += kWebFrameIntervalMs;
  return true;
}

// The generic device's memory holds the portrait screen row by row, 480
// bytes a row: widen it into the canvas as the frame is handed over.
int WebBackend::gxEndDraw() {
  const uint8_t* memory = display_.directMemory();
  uint8_t* out = canvas_.data();
  for (int32_t y = 0; y < kScreenHeight; ++y) {
    const uint8_t* row = memory + static_cast<size_t>(y) * kGenericRowBytes;
    for (int32_t x = 0; x < kScreenWidth; ++x) {
      uint16_t pixel;
      std::memcpy(&pixel, row + 2 * x, sizeof pixel);
      out[0] = widenRed(pixel);
      out[1] = widenGreen(pixel);
      out[2] = widenBlue(pixel);
      out += 4;
    }
  }
  freshFrame_ = true;
  return display_.endDraw();
}

bool WebBackend::takeFreshFrame() {
  const bool fresh = freshFrame_;
  freshFrame_ = false;
  return fresh;
}

}  // namespace platform
