// The direct device class: the display memory sits at a fixed address, so no
// GAPI call is made. The platform gives the memory that stands for that
// address; every offset is counted from kDirectDisplayStart.
#include <algorithm>

#include "core/frame_buffer.h"
#include "core/render_context.h"
#include "display/blitters.h"
#include "display/sequential_copy.h"
#include "platform/platform.h"

static_assert(kDirectDisplayEnd - kDirectDisplayStart + 1 == display::kDisplayBytes,
              "the fixed display memory holds exactly one portrait screen");

int32_t blitDirect() {
  const int32_t variant = renderContext.displayVariant;
  uint8_t* start = platform::directDisplayMemory();
  if (start == nullptr) {
    std::fill(FrameBuffer, FrameBuffer + kFrameCells, kClearCell);
    return 0;
  }
  // Variant 0 walks the memory downwards from its end, variant 1 upwards.
  if (variant == 1) {
    display::copyFrameAscending(start);
  } else {
    display::copyFrameDescending(start);
  }
  return 1;
}
