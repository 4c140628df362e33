#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "display/frame_buffer.h"
#include "raster/lines.h"
#include "raster/reciprocal_tables.h"
#include "render/mesh.h"

namespace {

constexpr int32_t kValue = 0x12345;

using Cell = std::pair<int32_t, int32_t>;  // (row, column)

// Every cell that is not 0, checking that each holds the expected value.
std::set<Cell> setCells(int32_t value = kValue) {
  std::set<Cell> cells;
  for (int32_t index = 0; index < kFrameCells; ++index) {
    if (FrameBuffer[index] == 0) continue;
    EXPECT_EQ(FrameBuffer[index], value) << "cell " << index;
    cells.insert({index / kFrameColumns, index % kFrameColumns});
  }
  return cells;
}

std::set<Cell> drawn(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  frameBufferReset();
  drawLine(x0, y0, x1, y1, kValue);
  return setCells();
}

class Lines : public ::testing::Test {
 protected:
  void SetUp() override {
    buildReciprocalTables();
    frameBufferReset();
  }
};

TEST_F(Lines, EndPointsAndDirection) {
  std::set<Cell> row0;
  for (int32_t column = 0; column < 10; ++column) row0.insert({0, column});
  EXPECT_EQ(drawn(0, 0, 10, 0), row0);
  EXPECT_EQ(drawn(10, 0, 0, 0), row0);

  std::set<Cell> column7;
  for (int32_t row = 3; row < 9; ++row) column7.insert({row, 7});
  EXPECT_EQ(drawn(7, 3, 7, 9), column7);
  EXPECT_EQ(drawn(7, 9, 7, 3), column7);

  EXPECT_TRUE(drawn(5, 5, 5, 5).empty());
  EXPECT_TRUE(drawn(0, 0, 0, 0).empty());
}

TEST_F(Lines, DiagonalsStepByTheTableReciprocal) {
  // ReciprocalTable[5] * 5 = 262140, a slope just short of one row per column.
  const std::set<Cell> diagonal{{0, 0}, {0, 1}, {1, 2}, {2, 3}, {3, 4}};
  EXPECT_EQ(drawn(0, 0, 5, 5), diagonal);
  EXPECT_EQ(drawn(5, 5, 0, 0), diagonal);
  // A tie goes to the column walker: one cell per column, never a row walk
  // (which would give (0,0), (1,0), (2,1), (3,2), (4,3)).
  const std::set<Cell> rising{{5, 0}, {4, 1}, {3, 2}, {2, 3}, {1, 4}};
  EXPECT_EQ(drawn(0, 5, 5, 0), rising);
  EXPECT_EQ(drawn(5, 0, 0, 5), rising);
  // Steeper than 45 degrees: one cell per row.
  const std::set<Cell> steep{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 2}};
  EXPECT_EQ(drawn(0, 0, 3, 6), steep);
}

TEST_F(Lines, ClippedToTheFrame) {
  std::set<Cell> tail;
  for (int32_t column = 300; column < 320; ++column) tail.insert({100, column});
  EXPECT_EQ(drawn(300, 100, 400, 100), tail);

  std::set<Cell> fullColumn;
  for (int32_t row = 0; row < 240; ++row) fullColumn.insert({row, 5});
  EXPECT_EQ(drawn(5, -50, 5, 300), fullColumn);

  // Entirely above, below, left and right of the frame.
  EXPECT_TRUE(drawn(0, -5, 100, -5).empty());
  EXPECT_TRUE(drawn(0, 240, 100, 250).empty());
  EXPECT_TRUE(drawn(-100, 0, -1, 50).empty());
  EXPECT_TRUE(drawn(320, 0, 400, 10).empty());
  EXPECT_TRUE(drawn(-30, 100, -20, -200).empty());
  EXPECT_TRUE(drawn(330, 10, 340, 200).empty());
  // Entering at the top-left corner and leaving at the bottom-right one.
  EXPECT_EQ(drawn(-4, -4, 4, 4), (std::set<Cell>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
  EXPECT_EQ(drawn(316, 236, 324, 244), (std::set<Cell>{{236, 316}, {237, 317}, {238, 318}, {239, 319}}));
}

// Walks every column of the line from its start, writing only cells inside
// the frame: what a walker that starts at the frame edge must reproduce.
void referenceXMajor(int32_t xa, int32_t ya, int32_t xb, int32_t yb, std::vector<int32_t>& frame) {
  if (xa >= xb) return;
  const int32_t slope = (ReciprocalTable[(xb - xa) & 4095] * (yb - ya)) >> 2;
  for (int32_t column = xa; column < xb; ++column) {
    // The position wraps as a 32-bit register does.
    const uint32_t y = (static_cast<uint32_t>(ya) << 16) + static_cast<uint32_t>(column - xa) * static_cast<uint32_t>(slope);
    const int32_t row = static_cast<int32_t>(y) >> 16;
    if (column >= 0 && column < kFrameColumns && row >= 0 && row < kFrameRows)
      frame[static_cast<size_t>(row * kFrameColumns + column)] = kValue;
  }
}

TEST_F(Lines, ClippedWalkMatchesTheFullWalk) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> coordinate(-600, 900);
  for (int trial = 0; trial < 2000; ++trial) {
    int32_t xa = coordinate(random), ya = coordinate(random), xb = coordinate(random), yb = coordinate(random);
    if (xa > xb) std::swap(xa, xb);
    std::vector<int32_t> expected(kFrameCells, 0);
    referenceXMajor(xa, ya, xb, yb, expected);
    frameBufferReset();
    drawLineXMajor(xa, ya, xb, yb, kValue);
    ASSERT_EQ(std::vector<int32_t>(FrameBuffer, FrameBuffer + kFrameCells), expected)
        << xa << "," << ya << " -> " << xb << "," << yb;
    // The row walker is the same walk with the axes exchanged.
    std::vector<int32_t> transposed(kFrameCells, 0);
    for (int32_t row = 0; row < kFrameRows; ++row)
      for (int32_t column = 0; column < kFrameRows; ++column)
        transposed[static_cast<size_t>(row * kFrameColumns + column)] = expected[static_cast<size_t>(column * kFrameColumns + row)];
    frameBufferReset();
    drawLineYMajor(ya, xa, yb, xb, kValue);
    for (int32_t row = 0; row < kFrameRows; ++row)
      for (int32_t column = 0; column < kFrameRows; ++column)
        ASSERT_EQ(FrameBuffer[row * kFrameColumns + column], transposed[static_cast<size_t>(row * kFrameColumns + column)]);
  }
}

TEST_F(Lines, AnyInt32EndPointsStayInsideTheFrame) {
  const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -70000, -1, 0, 1, 239, 240, 319, 320, 70000, INT32_MAX - 1, INT32_MAX};
  for (int32_t x0 : extremes)
    for (int32_t y0 : extremes)
      for (int32_t x1 : extremes)
        for (int32_t y1 : extremes) drawLine(x0, y0, x1, y1, kValue);
  std::mt19937 random(11);
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
  for (int trial = 0; trial < 20000; ++trial) drawLine(any(random), any(random), any(random), any(random), kValue);
  setCells();  // every cell written holds the value; nothing outside exists to check
  // A line far out that crosses the frame still draws its visible part.
  EXPECT_FALSE(drawn(INT32_MIN, 120, INT32_MAX, 120).empty());
}

TEST_F(Lines, WireFrameCornerOnlyWhereAnEdgeStarts) {
  MeshVertex top{}, middle{}, bottom{};
  top.screenX = 0, top.screenY = 0;
  middle.screenX = 20, middle.screenY = 10;
  bottom.screenX = 10, bottom.screenY = 20;
  drawTriangleWire(&top, 1, 2, &middle, 3, 4, &bottom, 5, 6, nullptr);
  const std::set<Cell> cells = setCells(WireColour);
  // top starts top->middle (walked by columns) and top<-bottom (walked by rows from top);
  // bottom starts middle<->bottom (a tie, walked by columns from the smaller x);
  // middle ends both of its edges and stays empty.
  EXPECT_TRUE(cells.count({0, 0}));
  EXPECT_TRUE(cells.count({20, 10}));
  EXPECT_FALSE(cells.count({10, 20}));
  EXPECT_TRUE(cells.count({9, 19}));  // the cell before middle on top->middle
  EXPECT_EQ(cells.size(), 20u + 10u + 20u - 1u);  // top counted by two edges
  EXPECT_EQ(WireColour, 0x3FFF);
}

}  // namespace
