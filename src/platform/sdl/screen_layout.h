// Where the 240 x 320 handheld screen sits in a desktop window, and which
// screen pixel a window point is over.
#pragma once

#include <cstdint>

namespace platform {

struct ScreenRect {
  int32_t x, y, width, height;
};

struct ScreenPoint {
  int32_t x, y;
};

// The screen in an output of this size, centred and keeping its aspect:
// scaled by the largest whole factor that fits, or shrunk to fit when even
// factor 1 does not. The rest of the output is the letterbox.
ScreenRect fitScreen(int32_t outputWidth, int32_t outputHeight);
// The screen pixel under an output point, clamped to 0..239 and 0..319 (a
// point in the letterbox counts as the nearest edge pixel).
ScreenPoint screenPointAt(const ScreenRect& screen, int32_t x, int32_t y);

}  // namespace platform
