// The off-screen frame: 240 rows of 320 cells, each cell a depth in the high
// 16 bits and a colour index in the low 16 bits.
#pragma once

#include <cstdint>

#include "core/screen.h"

// The portrait screen turned a quarter turn: a frame row is a screen column.
constexpr int32_t kFrameRows = kScreenWidth;
constexpr int32_t kFrameColumns = kScreenHeight;
constexpr int32_t kFrameCells = kFrameRows * kFrameColumns;

// What presentation leaves in every cell: depth 4096, colour 0.
constexpr int32_t kClearCell = 0x10000000;
// What the generic blitter leaves when the picture is turned: depth 3000.
constexpr int32_t kClearCellTurned = 0x0BB80000;

// Cell (row r, column k) is element 320 * r + k. All zero at start.
alignas(64) extern int32_t FrameBuffer[kFrameCells];

constexpr int32_t cellDepth(int32_t cell) { return cell >> 16; }
constexpr uint16_t cellColour(int32_t cell) { return static_cast<uint16_t>(cell); }
constexpr int32_t makeCell(int32_t depth, uint16_t colour) {
  return static_cast<int32_t>((static_cast<uint32_t>(depth) << 16) | colour);
}
// The depth rule: a fragment of 16.16 depth D is written only if D < cell,
// compared as signed 32-bit numbers over the whole cell.
constexpr bool depthPasses(int32_t fragmentDepth, int32_t cell) { return fragmentDepth < cell; }

// Sets every cell to 0, as at program start.
void frameBufferReset();
