#include "raster/lines.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <utility>

#include "core/frame_buffer.h"
#include "raster/raster_stage.h"
#include "raster/reciprocal_tables.h"

namespace {

constexpr int32_t kValue = 0x12345;
using Cells = std::set<std::pair<int32_t, int32_t>>;  // (row, column)

// Every cell that is not 0, checking that each holds the expected value.
Cells setCells(int32_t value = kValue) {
  Cells cells;
  for (int32_t index = 0; index < kFrameCells; ++index) {
    if (FrameBuffer[index] == 0) continue;
    EXPECT_EQ(FrameBuffer[index], value) << "cell " << index;
    cells.insert({index / kFrameColumns, index % kFrameColumns});
  }
  return cells;
}

// n cells from (row, column), stepping by (dRow, dColumn).
Cells walk(int32_t row, int32_t column, int32_t dRow, int32_t dColumn, int32_t n) {
  Cells cells;
  for (int32_t k = 0; k < n; ++k) cells.insert({row + k * dRow, column + k * dColumn});
  return cells;
}

TEST(Lines, EndPointsDiagonalsAndClipping) {
  buildReciprocalTables();
  const struct { int32_t x0, y0, x1, y1; Cells cells; } cases[] = {
      {0, 0, 10, 0, walk(0, 0, 0, 1, 10)}, {10, 0, 0, 0, walk(0, 0, 0, 1, 10)},  // the far end stays empty
      {7, 3, 7, 9, walk(3, 7, 1, 0, 6)}, {7, 9, 7, 3, walk(3, 7, 1, 0, 6)}, {5, 5, 5, 5, {}},
      // ReciprocalTable[5] * 5 = 262140: a slope just short of one row per column.
      {0, 0, 5, 5, {{0, 0}, {0, 1}, {1, 2}, {2, 3}, {3, 4}}}, {5, 5, 0, 0, {{0, 0}, {0, 1}, {1, 2}, {2, 3}, {3, 4}}},
      // A tie goes to the column walker (a row walk would give (0,0), (1,0), (2,1), ...).
      {0, 5, 5, 0, walk(5, 0, -1, 1, 5)}, {5, 0, 0, 5, walk(5, 0, -1, 1, 5)},
      {0, 0, 3, 6, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 2}}},  // steep: one cell per row
      {300, 100, 400, 100, walk(100, 300, 0, 1, 20)}, {5, -50, 5, 300, walk(0, 5, 1, 0, 240)},
      {0, -5, 100, -5, {}}, {0, 240, 100, 250, {}}, {-100, 0, -1, 50, {}}, {320, 0, 400, 10, {}},
      {-30, 100, -20, -200, {}}, {330, 10, 340, 200, {}},
      {-4, -4, 4, 4, walk(0, 0, 1, 1, 4)}, {316, 236, 324, 244, walk(236, 316, 1, 1, 4)},
      {INT32_MIN, 120, INT32_MAX, 120, walk(120, 0, 0, 1, 320)}};
  for (const auto& t : cases) {
    frameBufferReset();
    drawLine(t.x0, t.y0, t.x1, t.y1, kValue);
    EXPECT_EQ(setCells(), t.cells) << t.x0 << "," << t.y0 << " -> " << t.x1 << "," << t.y1;
  }
  // Any int32 end points stay inside the frame.
  const int32_t extremes[] = {INT32_MIN, -70000, -1, 0, 239, 240, 319, 320, 70000, INT32_MAX};
  for (int32_t x0 : extremes)
    for (int32_t y0 : extremes)
      for (int32_t x1 : extremes)
        for (int32_t y1 : extremes) drawLine(x0, y0, x1, y1, kValue);
  setCells();
}

}  // namespace
