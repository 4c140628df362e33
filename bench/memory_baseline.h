// The floor a frame's time is held against: the memory traffic no frame can
// avoid. One write pass over the 307,200-byte frame buffer (as if every cell
// were drawn once), then the blit's own traffic: every cell read and cleared,
// 153,600 bytes of pixels written through the colour lookup, all in order.
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdint>
#include <vector>

#include "core/frame_buffer.h"
#include "display/colour_lookup.h"

namespace bench {

// CPU time of this thread, in seconds: steady under other processes' load.
inline double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

class MemoryBaseline {
 public:
  MemoryBaseline() : screen_(kFrameCells / 2) {}

  // Runs the baseline once and returns its CPU time in seconds. It leaves the
  // frame buffer cleared, as a blit does.
  double timedPass() {
    const double start = threadSeconds();
    writePass();
    benchmark::ClobberMemory();
    blitPass();
    benchmark::ClobberMemory();
    return threadSeconds() - start;
  }

 private:
  // Smooth colours, as a picture has: the lookups stay in few cache lines,
  // so the floor is the memory traffic itself.
  static void writePass() {
    for (int32_t row = 0; row < kFrameRows; ++row) {
      int32_t* cells = FrameBuffer + row * kFrameColumns;
      for (int32_t column = 0; column < kFrameColumns; ++column) {
        cells[column] = makeCell(1000, static_cast<uint16_t>((row >> 3) << 11 | (column >> 4) << 6 | 1));
      }
    }
  }
  void blitPass() {
    uint32_t* out = screen_.data();
    for (int32_t i = 0; i < kFrameCells; i += 2) {
      const uint32_t low = ColourLookup[cellColour(FrameBuffer[i])];
      const uint32_t high = ColourLookup[cellColour(FrameBuffer[i + 1])];
      FrameBuffer[i] = kClearCell;
      FrameBuffer[i + 1] = kClearCell;
      out[i / 2] = low | (high << 16);
    }
  }

  std::vector<uint32_t> screen_;
};

}  // namespace bench
