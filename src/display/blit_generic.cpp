// The generic device class: GXBeginDraw gives memory of 480-byte rows, pixel
// (x, y) at P + 2x + 480y, and the frame is turned onto it a quarter turn.
#include <algorithm>
#include <cstddef>

#include "core/frame_buffer.h"
#include "core/render_context.h"
#include "core/screen.h"
#include "display/blitters.h"
#include "display/colour_lookup.h"
#include "display/pixel_pair.h"
#include "platform/platform.h"

namespace {

constexpr ptrdiff_t kBottomLeftPixel = 319 * kScreenRowBytes;  // screen (0, 319)
constexpr ptrdiff_t kTopRightPair = 476;                       // screen (238, 0) and (239, 0)

// The picture turned by half a turn: cell (r, k) at screen (239 - r, k).
// Cells (2j, k) and (2j + 1, k) make the word at P + 476 - 4j + 480k, the odd
// row in the low half; both are left at depth 3000.
void blitTurned(uint8_t* pointer) {
  const uint16_t* lookup = ColourLookup;
  for (int32_t pair = 0; pair < kFrameRows / 2; ++pair) {
    int32_t* evenRow = FrameBuffer + static_cast<ptrdiff_t>(2 * pair) * kFrameColumns;
    int32_t* oddRow = evenRow + kFrameColumns;
    uint8_t* columnPair = pointer + kTopRightPair - 4 * pair;
    for (int32_t column = 0; column < kFrameColumns; ++column) {
      const uint16_t even = display::takePixel(evenRow[column], lookup, kClearCellTurned);
      const uint16_t odd = display::takePixel(oddRow[column], lookup, kClearCellTurned);
      display::storePixelPair(columnPair + kScreenRowBytes * column, odd, even);
    }
  }
}

}  // namespace

int32_t blitGeneric() {
  const int32_t variant = renderContext.displayVariant;
  auto* pointer = static_cast<uint8_t*>(GXBeginDraw());
  if (pointer == nullptr) {
    // No display this frame; the buffer is still cleared as the drawing path
    // would have left it. GXEndDraw pairs only with a successful GXBeginDraw.
    std::fill(FrameBuffer, FrameBuffer + kFrameCells, variant == 1 ? kClearCellTurned : kClearCell);
    return 0;
  }
  if (variant == 1) {
    blitTurned(pointer);
  } else {
    blitColumnPairs(FrameBuffer, pointer + kBottomLeftPixel, ColourLookup);
  }
  return GXEndDraw();
}
