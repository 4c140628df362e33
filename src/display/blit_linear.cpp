// The linear device class: 76800 contiguous pixels that begin 638 bytes before
// the pointer GXBeginDraw returns.
#include <algorithm>

#include "core/frame_buffer.h"
#include "core/render_context.h"
#include "display/blitters.h"
#include "display/sequential_copy.h"
#include "platform/platform.h"

namespace {
constexpr int32_t kLinearStartBeforePointer = 638;
}

int32_t blitLinear() {
  const int32_t variant = renderContext.displayVariant;
  auto* pointer = static_cast<uint8_t*>(GXBeginDraw());
  if (pointer == nullptr) {
    // No display this frame; the next one must still start from a cleared buffer.
    // GXEndDraw pairs only with a successful GXBeginDraw, so it is not called.
    std::fill(FrameBuffer, FrameBuffer + kFrameCells, kClearCell);
    return 0;
  }
  uint8_t* start = pointer - kLinearStartBeforePointer;
  if (variant == 1) {
    display::copyFrameDescending(start);
  } else {
    display::copyFrameAscending(start);
  }
  return GXEndDraw();
}
