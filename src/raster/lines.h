// Clipped line walkers and the wire-frame drawer. Lines write whole cells
// and do no depth test.
#pragma once

#include <cstdint>

constexpr int32_t WireColour = 16383;  // colour index 0x3FFF, depth 0, what drawTriangleWire draws
void drawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t value);
void drawLineXMajor(int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t value);
void drawLineYMajor(int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t value);
