// The streaming copy shared by the linear and the direct blitter: the whole
// frame to 76800 contiguous display pixels, twelve cells (six words) at a time,
// each cell cleared to kClearCell as it is read.
#pragma once

#include <cstdint>

#include "core/screen.h"

namespace display {

constexpr int32_t kDisplayBytes = kScreenBytes;

// Cell i to the pixel at memory + 2i.
void copyFrameAscending(uint8_t* memory);
// Cell i to the pixel at memory + 2 * (76799 - i).
void copyFrameDescending(uint8_t* memory);

}  // namespace display
