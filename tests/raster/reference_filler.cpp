#include <algorithm>

#include "filler_fixture.h"

namespace {

// Quantities walked along an edge and a span, all 16.16; v counts texels of whole rows.
enum { X, Depth, Shade, U, V, kQuantities };

int64_t reciprocal(int64_t n) { return (n & 4095) == 0 ? 262144 : 262144 / (n & 4095); }

// The values on the edge a-b at row r, each directly from the start corner.
struct RefEdge {
  int64_t y, start[kQuantities], slope[kQuantities];
  RefEdge(const Corner& a, const Corner& b, int64_t vScale) : y(a.vertex.screenY) {
    const int64_t r = reciprocal(b.vertex.screenY - a.vertex.screenY);
    const int64_t from[] = {a.vertex.screenX, a.vertex.depth, a.vertex.shade, a.u, a.v};
    const int64_t to[] = {b.vertex.screenX, b.vertex.depth, b.vertex.shade, b.u, b.v};
    for (int k = 0; k < kQuantities; ++k) {
      const int64_t scale = k == V ? vScale : 1;
      start[k] = from[k] * (k < U ? 65536 : 4096 * scale);
      slope[k] = ((to[k] - from[k]) * r >> (k < U ? 2 : 6)) * scale;
    }
  }
  int64_t at(int k, int64_t row) const { return start[k] + slope[k] * (row - y); }
};

void referenceSpan(int32_t* cells, int64_t row, const RefEdge& left, const RefEdge& right,
                   const SurfaceDescriptor& s, bool flat) {
  const int64_t xl = left.at(X, row), xr = right.at(X, row);
  if (!flat && xr <= xl) return;
  const int64_t lo = flat ? xl >> 16 : (xl - 32768) >> 16, hi = flat ? xr >> 16 : (xr + 32768) >> 16;
  if (hi <= 0 || lo >= 320 || hi <= lo) return;
  int64_t value[kQuantities], step[kQuantities];
  for (int k = Depth; k < kQuantities; ++k) {
    value[k] = left.at(k, row);
    step[k] = (((right.at(k, row) - value[k]) >> 14) * (262144 / (hi - lo))) >> 4;
  }
  const int32_t mode = flat ? (s.blendMode == 0 ? 0 : 2) : s.blendMode < 0 ? 1 : std::min(s.blendMode, 3);
  for (int64_t column = std::max<int64_t>(lo, 0); column < std::min<int64_t>(hi, 320); ++column) {
    const int64_t i = column - lo, u = value[U] + step[U] * i, v = value[V] + step[V] * i;
    const uint32_t texel = flat ? s.flatColour : s.texels[((u & s.uMask) + (v & s.vMask)) >> 16];
    const int64_t depth = value[Depth] + step[Depth] * i, shade = value[Shade] + step[Shade] * i;
    int32_t& cell = cells[row * 320 + column];
    const uint32_t low = static_cast<uint32_t>(cell) & 0xFFFF;
    if (depth >= cell || ((mode == 1 || mode == 3) && texel == 0)) continue;
    if (mode == 0 || mode == 1) {
      cell = static_cast<int32_t>((depth >> 16) * 65536 + texel + (shade >> 16));
      continue;
    }
    int64_t m = low & 0x1F;  // the three colour fields averaged, doubled in place, then halved with the shade
    for (int bit : {5, 8, 11}) m += (((low >> bit & 7) + (texel >> bit & 7)) >> 1) << (bit + 1);
    cell = static_cast<int32_t>((static_cast<uint32_t>(cell) & 0xFFFF0000u) | (((m + (shade >> 16)) >> 1) & 0xFFFF));
  }
}

}  // namespace

void referenceFill(int32_t* cells, const Corner& top, const Corner& middle, const Corner& bottom,
                   const SurfaceDescriptor& s, bool flat) {
  const RefEdge longEdge(top, bottom, s.vScale), upper(top, middle, s.vScale), lower(middle, bottom, s.vScale);
  const int64_t topY = top.vertex.screenY, middleY = middle.vertex.screenY, bottomY = bottom.vertex.screenY;
  auto half = [&](int64_t first, int64_t end, const RefEdge& a, const RefEdge& b, bool aIsLeft) {
    for (int64_t row = std::max<int64_t>(first, 0); row < std::min<int64_t>(end, 240); ++row)
      referenceSpan(cells, row, aIsLeft ? a : b, aIsLeft ? b : a, s, flat);
  };
  if (middleY > topY && longEdge.slope[X] == upper.slope[X]) return;
  if (middleY > topY && middleY >= 0)
    half(topY + 1, middleY, longEdge, upper, longEdge.slope[X] < upper.slope[X]);
  if (middleY >= 240 || bottomY <= middleY) return;
  const int64_t first = std::max<int64_t>(middleY, 0);
  if (longEdge.at(X, first) == lower.at(X, first)) return;
  half(first, bottomY, longEdge, lower, longEdge.at(X, first) < lower.at(X, first));
}
