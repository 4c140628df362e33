#include "core/frame_buffer.h"

#include <cstring>

alignas(64) int32_t FrameBuffer[kFrameCells];

void frameBufferReset() { std::memset(FrameBuffer, 0, sizeof FrameBuffer); }
