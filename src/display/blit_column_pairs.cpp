// The generic blitter's default path: the quarter turn to the portrait screen
// done as 32-bit stores. Two buffer rows are read in parallel and written as
// one screen column pair, bottom to top, sixteen columns per step: the cells
// are looked up eight columns at a time and their words stored one screen row
// apart, then the step's cells are cleared together, which the compiler does
// with a quarter of the stores on x86-64.
#include <algorithm>
#include <cstddef>

#include "core/frame_buffer.h"
#include "core/screen.h"
#include "display/blitters.h"
#include "display/pixel_pair.h"

namespace {

constexpr int32_t kRowPairs = kFrameRows / 2;
// Columns per step: sixteen cells of each row cleared at once, and their
// pixels handled in halves of eight, which fit the x86-64 registers.
constexpr int32_t kStepColumns = 16;
constexpr int32_t kHalfStep = kStepColumns / 2;
static_assert(kFrameColumns % kStepColumns == 0);

// Leaves a step's cells at kClearCell. Sixteen adjacent constant stores: GCC
// and clang make them four 16-byte stores on x86-64, word stores on ARMv5.
inline void clearStep(int32_t* cells) { std::fill_n(cells, kStepColumns, kClearCell); }

// Eight buffer columns to eight screen rows, `out` being the first one's pixel
// pair and each next column 480 bytes higher. The even row is the left pixel,
// at the lower address. All loads come first: as far as the compiler knows,
// the byte stores to the screen could alias the buffer or the lookup.
inline void blitHalfStep(const int32_t* evenRow, const int32_t* oddRow, uint8_t* out, const uint16_t* lookup) {
  uint32_t words[kHalfStep];
  for (int32_t column = 0; column < kHalfStep; ++column) {
    words[column] = display::pixelPairWord(lookup[display::loadCellColour(evenRow + column)],
                                           lookup[display::loadCellColour(oddRow + column)]);
  }
  for (int32_t column = 0; column < kHalfStep; ++column) {
    display::storePixelWord(out - kScreenRowBytes * column, words[column]);
  }
}

}  // namespace

void blitColumnPairs(int32_t* buffer, uint8_t* destination, const uint16_t* lookup) {
  for (int32_t pair = 0; pair < kRowPairs; ++pair) {
    int32_t* evenRow = buffer + static_cast<ptrdiff_t>(2 * pair) * kFrameColumns;
    int32_t* oddRow = evenRow + kFrameColumns;
    // Buffer column k goes to screen row 319 - k: 480 bytes higher per column.
    uint8_t* out = destination + 4 * pair;
    for (int32_t column = 0; column < kFrameColumns; column += kStepColumns) {
      blitHalfStep(evenRow + column, oddRow + column, out, lookup);
      blitHalfStep(evenRow + column + kHalfStep, oddRow + column + kHalfStep, out - kScreenRowBytes * kHalfStep, lookup);
      clearStep(evenRow + column);
      clearStep(oddRow + column);
      out -= kScreenRowBytes * kStepColumns;
    }
  }
}
