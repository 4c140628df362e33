// Where the 240 x 320 handheld screen sits in a desktop window (letterboxed,
// aspect kept), and which screen pixel a window point is over. Host-neutral:
// every desktop backend draws the screen into the rectangle fitScreen gives
// and maps pointer positions back with screenPointAt.
#pragma once

#include <cstdint>

namespace platform {

struct ScreenRect {
  int32_t x, y, width, height;
};

struct ScreenPoint {
  int32_t x, y;
};

enum class ScreenScaling {
  Sharp,   // the largest whole factor that fits, so every handheld pixel is a square of equal size
  Smooth,  // as large as the output allows (for linear filtering)
};

// The screen in an output of this size, centred and keeping its aspect. Sharp
// scaling uses the largest whole factor that fits; when even factor 1 does
// not fit, and always with Smooth, the screen is as large as the output
// allows. The rest of the output is the letterbox.
ScreenRect fitScreen(int32_t outputWidth, int32_t outputHeight, ScreenScaling scaling = ScreenScaling::Sharp);
// The screen pixel under an output point, clamped to 0..239 and 0..319 (a
// point in the letterbox counts as the nearest edge pixel).
ScreenPoint screenPointAt(const ScreenRect& screen, int32_t x, int32_t y);

}  // namespace platform
