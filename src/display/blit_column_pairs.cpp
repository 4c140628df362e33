// The generic blitter's default path: the quarter turn to the portrait screen
// done as 32-bit stores. Two buffer rows are read in parallel and written as
// one screen column pair, bottom to top, eight columns per step: the sixteen
// cells are looked up into eight words, then cleared with wide stores, then
// the words are stored one screen row apart. Clearing whole blocks rather
// than cell by cell takes a quarter of the stores on x86-64.
#include <cstddef>
#include <cstring>

#include "display/blitters.h"
#include "display/frame_buffer.h"
#include "display/pixel_pair.h"

namespace {

constexpr ptrdiff_t kScreenRowBytes = 480;
constexpr int32_t kRowPairs = kFrameRows / 2;
// Columns per step: sixteen cells of each row cleared at once, and their
// pixels handled in halves of eight, which fit the x86-64 registers.
constexpr int32_t kStepColumns = 16;
constexpr int32_t kHalfStep = kStepColumns / 2;
static_assert(kFrameColumns % kStepColumns == 0);

// Four cells as one value: a 16-byte store on x86-64; targets without
// vectors (ARMv5) get scalar stores.
using CellBlock = int32_t __attribute__((vector_size(16)));
constexpr int32_t kCellsPerBlock = static_cast<int32_t>(sizeof(CellBlock) / sizeof(int32_t));
static_assert(kStepColumns % kCellsPerBlock == 0);

// Leaves a step's cells at kClearCell. memcpy: the rows need not be 16-byte aligned.
inline void clearStep(int32_t* cells, CellBlock clear) {
  for (int32_t cell = 0; cell < kStepColumns; cell += kCellsPerBlock) {
    std::memcpy(cells + cell, &clear, sizeof clear);
  }
}

// Eight buffer columns to eight screen rows, `out` being the first one's pixel
// pair and each next column 480 bytes higher. The even row is the left pixel,
// at the lower address. All loads come first: as far as the compiler knows,
// the byte stores to the screen could alias the buffer or the lookup.
inline void blitHalfStep(const int32_t* evenRow, const int32_t* oddRow, uint8_t* out, const uint16_t* lookup) {
  uint32_t words[kHalfStep];
  for (int32_t column = 0; column < kHalfStep; ++column) {
    words[column] = display::pixelPairWord(lookup[cellColour(evenRow[column])], lookup[cellColour(oddRow[column])]);
  }
  for (int32_t column = 0; column < kHalfStep; ++column) {
    std::memcpy(out - kScreenRowBytes * column, &words[column], sizeof words[column]);
  }
}

}  // namespace

void blitColumnPairs(int32_t* buffer, uint8_t* destination, const uint16_t* lookup) {
  const CellBlock clear = {kClearCell, kClearCell, kClearCell, kClearCell};
  for (int32_t pair = 0; pair < kRowPairs; ++pair) {
    int32_t* evenRow = buffer + static_cast<ptrdiff_t>(2 * pair) * kFrameColumns;
    int32_t* oddRow = evenRow + kFrameColumns;
    // Buffer column k goes to screen row 319 - k: 480 bytes higher per column.
    uint8_t* out = destination + 4 * pair;
    for (int32_t column = 0; column < kFrameColumns; column += kStepColumns) {
      blitHalfStep(evenRow + column, oddRow + column, out, lookup);
      blitHalfStep(evenRow + column + kHalfStep, oddRow + column + kHalfStep, out - kScreenRowBytes * kHalfStep, lookup);
      clearStep(evenRow + column, clear);
      clearStep(oddRow + column, clear);
      out -= kScreenRowBytes * kStepColumns;
    }
  }
}
