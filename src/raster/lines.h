// Clipped line walkers and the wire-frame drawer. Lines write whole cells
// and do no depth test.
#pragma once

#include <cstdint>

struct MeshVertex;
struct SurfaceDescriptor;

constexpr int32_t WireColour = 16383;  // colour index 0x3FFF, depth 0

// The filler call of the triangleFiller slot; reads only x and y.
void drawTriangleWire(const MeshVertex* top, int16_t topU, int16_t topV,
                      const MeshVertex* middle, int16_t middleU, int16_t middleV,
                      const MeshVertex* bottom, int16_t bottomU, int16_t bottomV,
                      const SurfaceDescriptor* surface);
void drawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t value);
void drawLineXMajor(int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t value);
void drawLineYMajor(int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t value);
