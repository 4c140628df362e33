#include "display/sequential_copy.h"

#include <cstddef>

#include "core/frame_buffer.h"
#include "display/colour_lookup.h"
#include "display/pixel_pair.h"

namespace display {

namespace {

constexpr int32_t kCellsPerGroup = 12;
constexpr int32_t kWordsPerGroup = kCellsPerGroup / 2;
constexpr int32_t kGroupBytes = kCellsPerGroup * 2;
constexpr int32_t kGroups = kFrameCells / kCellsPerGroup;

}  // namespace

void copyFrameAscending(uint8_t* memory) {
  int32_t* cells = FrameBuffer;
  const uint16_t* lookup = ColourLookup;
  for (int32_t group = 0; group < kGroups; ++group) {
    uint8_t* out = memory + static_cast<ptrdiff_t>(group) * kGroupBytes;
    for (int32_t word = 0; word < kWordsPerGroup; ++word) {
      const uint16_t first = takePixel(cells[2 * word], lookup, kClearCell);
      const uint16_t second = takePixel(cells[2 * word + 1], lookup, kClearCell);
      storePixelPair(out + 4 * word, first, second);
    }
    cells += kCellsPerGroup;
  }
}

void copyFrameDescending(uint8_t* memory) {
  int32_t* cells = FrameBuffer;
  const uint16_t* lookup = ColourLookup;
  // The first group fills the topmost 24 bytes, highest word first; the first
  // cell of each pair goes to the higher address, the high half.
  for (int32_t group = 0; group < kGroups; ++group) {
    uint8_t* out = memory + static_cast<ptrdiff_t>(kDisplayBytes - kGroupBytes) - static_cast<ptrdiff_t>(group) * kGroupBytes;
    for (int32_t word = 0; word < kWordsPerGroup; ++word) {
      const uint16_t first = takePixel(cells[2 * word], lookup, kClearCell);
      const uint16_t second = takePixel(cells[2 * word + 1], lookup, kClearCell);
      storePixelPair(out + 4 * (kWordsPerGroup - 1 - word), second, first);
    }
    cells += kCellsPerGroup;
  }
}

}  // namespace display
