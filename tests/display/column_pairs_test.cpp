// The generic blitter's default path on its own: a one-to-one lookup (so a
// swapped row, column or half shows), a buffer that is not 16-byte aligned,
// and guard bytes around the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <random>
#include <vector>

#include "display/blitters.h"
#include "display/frame_buffer.h"

namespace {

constexpr ptrdiff_t kRowBytes = 480;
constexpr ptrdiff_t kScreenBytes = 320 * kRowBytes;
constexpr ptrdiff_t kGuardBytes = 64;
constexpr uint8_t kGuard = 0xA5;

// Screen pixel (x, y), read in the host's order as the blitter stores it.
uint16_t screenPixel(const std::vector<uint8_t>& memory, int32_t x, int32_t y) {
  uint16_t pixel;
  std::memcpy(&pixel, memory.data() + kGuardBytes + 2 * x + kRowBytes * y, sizeof pixel);
  return pixel;
}

TEST(ColumnPairs, EveryCellLandsTurnedAndIsClearedInsideTheScreen) {
  std::vector<uint16_t> lookup(65536);
  for (uint32_t index = 0; index < lookup.size(); ++index) lookup[index] = static_cast<uint16_t>(index * 40503u + 7u);

  // One cell in front of the frame, so its rows are 4 but not 16-byte aligned.
  std::vector<int32_t> cells(1 + kFrameCells + 1, 0x7EADBEEF);
  int32_t* buffer = cells.data() + 1;
  std::mt19937 random(11);
  for (int32_t cell = 0; cell < kFrameCells; ++cell) buffer[cell] = static_cast<int32_t>(random());
  buffer[0] = makeCell(-1, 0xFFFF);
  buffer[kFrameCells - 1] = makeCell(4096, 0);
  const std::vector<int32_t> frame(buffer, buffer + kFrameCells);

  std::vector<uint8_t> memory(kGuardBytes + kScreenBytes + kGuardBytes, kGuard);
  uint8_t* bottomLeft = memory.data() + kGuardBytes + 319 * kRowBytes;
  blitColumnPairs(buffer, bottomLeft, lookup.data());

  // Cell (r, k) is screen pixel (r, 319 - k).
  int32_t wrong = 0;
  for (int32_t row = 0; row < kFrameRows; ++row) {
    for (int32_t column = 0; column < kFrameColumns; ++column) {
      const uint16_t expected = lookup[static_cast<uint16_t>(frame[static_cast<size_t>(row * kFrameColumns + column)])];
      wrong += screenPixel(memory, row, 319 - column) != expected;
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(screenPixel(memory, 0, 319), lookup[0xFFFF]);
  EXPECT_EQ(screenPixel(memory, 239, 0), lookup[0]);
  EXPECT_TRUE(std::all_of(buffer, buffer + kFrameCells, [](int32_t cell) { return cell == kClearCell; }));
  EXPECT_EQ(cells.front(), 0x7EADBEEF);
  EXPECT_EQ(cells.back(), 0x7EADBEEF);
  const auto isGuard = [](uint8_t byte) { return byte == kGuard; };
  EXPECT_TRUE(std::all_of(memory.begin(), memory.begin() + kGuardBytes, isGuard));
  EXPECT_TRUE(std::all_of(memory.end() - kGuardBytes, memory.end(), isGuard));

  // The cleared buffer blits as colour 0 everywhere.
  blitColumnPairs(buffer, bottomLeft, lookup.data());
  int32_t notColourZero = 0;
  for (int32_t y = 0; y < 320; ++y) {
    for (int32_t x = 0; x < 240; ++x) notColourZero += screenPixel(memory, x, y) != lookup[0];
  }
  EXPECT_EQ(notColourZero, 0);
}

}  // namespace
