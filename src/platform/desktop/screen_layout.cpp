#include "platform/desktop/screen_layout.h"

#include <algorithm>

#include "platform/emulated_display.h"

namespace platform {

ScreenRect fitScreen(int32_t outputWidth, int32_t outputHeight, ScreenScaling scaling) {
  const int32_t width = std::max(outputWidth, 1);
  const int32_t height = std::max(outputHeight, 1);
  const int32_t factor = std::min(width / kScreenWidth, height / kScreenHeight);
  int32_t drawnWidth = 0;
  int32_t drawnHeight = 0;
  if (factor >= 1 && scaling == ScreenScaling::Sharp) {
    drawnWidth = kScreenWidth * factor;
    drawnHeight = kScreenHeight * factor;
  } else if (static_cast<int64_t>(width) * kScreenHeight <= static_cast<int64_t>(height) * kScreenWidth) {
    drawnWidth = width;
    drawnHeight = std::max<int32_t>(1, static_cast<int32_t>(static_cast<int64_t>(width) * kScreenHeight / kScreenWidth));
  } else {
    drawnHeight = height;
    drawnWidth = std::max<int32_t>(1, static_cast<int32_t>(static_cast<int64_t>(height) * kScreenWidth / kScreenHeight));
  }
  return ScreenRect{(width - drawnWidth) / 2, (height - drawnHeight) / 2, drawnWidth, drawnHeight};
}

namespace {

int32_t unscale(int64_t offset, int32_t drawnSize, int32_t screenSize) {
  if (offset <= 0 || drawnSize <= 0) return 0;
  const int64_t pixel = offset * screenSize / drawnSize;
  return static_cast<int32_t>(std::min<int64_t>(pixel, screenSize - 1));
}

}  // namespace

ScreenPoint screenPointAt(const ScreenRect& screen, int32_t x, int32_t y) {
  return ScreenPoint{unscale(static_cast<int64_t>(x) - screen.x, screen.width, kScreenWidth),
                     unscale(static_cast<int64_t>(y) - screen.y, screen.height, kScreenHeight)};
}

}  // namespace platform
