#include "raster/lines.h"
#include "raster/raster_stage.h"

#include <algorithm>

#include "core/fixed_point.h"
#include "core/frame_buffer.h"
#include "core/mesh.h"
#include "raster/reciprocal_tables.h"

void drawTriangleWire(const MeshVertex* top, int16_t, int16_t, const MeshVertex* middle, int16_t, int16_t,
                      const MeshVertex* bottom, int16_t, int16_t, const SurfaceDescriptor*) {
  drawLine(top->screenX, top->screenY, middle->screenX, middle->screenY, WireColour);
  drawLine(middle->screenX, middle->screenY, bottom->screenX, bottom->screenY, WireColour);
  drawLine(bottom->screenX, bottom->screenY, top->screenX, top->screenY, WireColour);
}

void drawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t value) {
  // The magnitudes are compared in 64 bits: int32 differences may not fit.
  const int64_t dx = static_cast<int64_t>(x1) - x0;
  const int64_t dy = static_cast<int64_t>(y1) - y0;
  if ((dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy)) {
    if (x0 <= x1) {
      drawLineXMajor(x0, y0, x1, y1, value);
    } else {
      drawLineXMajor(x1, y1, x0, y0, value);
    }
  } else if (y0 <= y1) {
    drawLineYMajor(x0, y0, x1, y1, value);
  } else {
    drawLineYMajor(x1, y1, x0, y0, value);
  }
}

// Both walkers step a 16.16 position by the table reciprocal of the length.
// The length only enters through its low 12 bits, exactly as in the fillers,
// and the loop covers only the columns (rows) inside the frame, so any int32
// end points give at most 320 (240) steps.

void drawLineXMajor(int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t value) {
  if (xa >= kFrameColumns || xb < 0 || xa >= xb) return;
  const int32_t slope = fx::sar(fx::mul(ReciprocalTable[fx::sub(xb, xa) & 4095], fx::sub(yb, ya)), 2);
  int32_t y = fx::shl(ya, 16);
  if (xa < 0) y = fx::add(y, fx::mul(fx::neg(xa), slope));
  const int32_t end = std::min(xb, kFrameColumns);
  for (int32_t column = std::max(xa, 0); column < end; ++column) {
    const int32_t row = fx::sar(y, 16);
    if (row >= 0 && row < kFrameRows) FrameBuffer[row * kFrameColumns + column] = value;
    y = fx::add(y, slope);
  }
}

void drawLineYMajor(int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t value) {
  if (ya >= kFrameRows || yb < 0 || ya >= yb) return;
  const int32_t slope = fx::sar(fx::mul(ReciprocalTable[fx::sub(yb, ya) & 4095], fx::sub(xb, xa)), 2);
  int32_t x = fx::shl(xa, 16);
  if (ya < 0) x = fx::add(x, fx::mul(fx::neg(ya), slope));
  const int32_t end = std::min(yb, kFrameRows);
  for (int32_t row = std::max(ya, 0); row < end; ++row) {
    const int32_t column = fx::sar(x, 16);
    if (column >= 0 && column < kFrameColumns) FrameBuffer[row * kFrameColumns + column] = value;
    x = fx::add(x, slope);
  }
}
