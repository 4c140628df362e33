// The generic blitter's default path: the quarter turn to the portrait screen
// done as 32-bit stores. Two buffer rows are read in parallel and written as
// one screen column pair, bottom to top. Scheduled by hand: four columns per
// inner iteration, and the loads and lookups of the next column are issued
// before the store of the current one, so a load's latency hides behind a store.
#include <cstddef>

#include "display/blitters.h"
#include "display/frame_buffer.h"
#include "display/pixel_pair.h"

namespace {

constexpr ptrdiff_t kScreenRowBytes = 480;
constexpr int32_t kRowPairs = kFrameRows / 2;

// The two pixels of one buffer column within a row pair.
struct ColumnPixels {
  uint16_t evenRow;
  uint16_t oddRow;
};

inline ColumnPixels takeColumn(int32_t* evenRow, int32_t* oddRow, int32_t column, const uint16_t* lookup) {
  return ColumnPixels{display::takePixel(evenRow[column], lookup, kClearCell),
                      display::takePixel(oddRow[column], lookup, kClearCell)};
}

// Buffer column k goes to the screen row 319 - k, that is 480k bytes above the
// destination. The even row is the left pixel, at the lower address.
inline void storeColumn(uint8_t* columnPair, int32_t column, ColumnPixels pixels) {
  display::storePixelPair(columnPair - kScreenRowBytes * column, pixels.evenRow, pixels.oddRow);
}

}  // namespace

void blitColumnPairs(int32_t* buffer, uint8_t* destination, const uint16_t* lookup) {
  for (int32_t pair = 0; pair < kRowPairs; ++pair) {
    int32_t* evenRow = buffer + static_cast<ptrdiff_t>(2 * pair) * kFrameColumns;
    int32_t* oddRow = evenRow + kFrameColumns;
    uint8_t* columnPair = destination + 4 * pair;

    // Software pipeline: `current` always holds the column about to be stored.
    ColumnPixels current = takeColumn(evenRow, oddRow, 0, lookup);
    int32_t column = 0;
    for (; column < kFrameColumns - 4; column += 4) {
      ColumnPixels next = takeColumn(evenRow, oddRow, column + 1, lookup);
      storeColumn(columnPair, column, current);
      current = takeColumn(evenRow, oddRow, column + 2, lookup);
      storeColumn(columnPair, column + 1, next);
      next = takeColumn(evenRow, oddRow, column + 3, lookup);
      storeColumn(columnPair, column + 2, current);
      current = takeColumn(evenRow, oddRow, column + 4, lookup);
      storeColumn(columnPair, column + 3, next);
    }
    // The last four columns: nothing left to load after the final one.
    ColumnPixels next = takeColumn(evenRow, oddRow, column + 1, lookup);
    storeColumn(columnPair, column, current);
    current = takeColumn(evenRow, oddRow, column + 2, lookup);
    storeColumn(columnPair, column + 1, next);
    next = takeColumn(evenRow, oddRow, column + 3, lookup);
    storeColumn(columnPair, column + 2, current);
    storeColumn(columnPair, column + 3, next);
  }
}
