#include "raster/lines.h"
// placeholder: replaced by the lines and text work
void drawTriangleWire(const MeshVertex*, int16_t, int16_t, const MeshVertex*, int16_t, int16_t, const MeshVertex*, int16_t, int16_t, const SurfaceDescriptor*) {}
void drawLine(int32_t, int32_t, int32_t, int32_t, int32_t) {}
void drawLineXMajor(int32_t, int32_t, int32_t, int32_t, int32_t) {}
void drawLineYMajor(int32_t, int32_t, int32_t, int32_t, int32_t) {}
