#include "reference_filler.h"

#include <algorithm>

namespace {

int64_t floorShift(int64_t value, int shift) { return value >> shift; }  // arithmetic in C++20

int64_t reciprocal(int64_t n) {
  n &= 4095;
  return n == 0 ? 262144 : 262144 / n;
}

// Value of a quantity on the edge a-b at row r.
struct RefEdge {
  ReferenceCorner a;
  int64_t r;
  int64_t sx, sd, ss, su, sv;
  int64_t vScale;
  RefEdge(ReferenceCorner from, ReferenceCorner to, int64_t scale) : a(from), vScale(scale) {
    r = reciprocal(to.y - from.y);
    sx = floorShift((to.x - from.x) * r, 2);
    sd = floorShift((to.depth - from.depth) * r, 2);
    ss = floorShift((to.shade - from.shade) * r, 2);
    su = floorShift((to.u - from.u) * r, 6);
    sv = floorShift((to.v - from.v) * r, 6) * vScale;
  }
  int64_t x(int64_t row) const { return a.x * 65536 + sx * (row - a.y); }
  int64_t depth(int64_t row) const { return a.depth * 65536 + sd * (row - a.y); }
  int64_t shade(int64_t row) const { return a.shade * 65536 + ss * (row - a.y); }
  int64_t u(int64_t row) const { return a.u * 4096 + su * (row - a.y); }
  int64_t v(int64_t row) const { return a.v * 4096 * vScale + sv * (row - a.y); }
};

void referencePixel(int32_t* cell, int64_t depth, int64_t shade, uint32_t texel, int32_t mode) {
  const int32_t stored = *cell;
  if (depth >= stored) return;
  const bool keyed = mode == 1 || mode == 3;
  const bool mixed = mode == 2 || mode == 3;
  if (keyed && texel == 0) return;
  if (!mixed) {
    *cell = static_cast<int32_t>(floorShift(depth, 16) * 65536 + texel + floorShift(shade, 16));
    return;
  }
  const uint32_t low = static_cast<uint32_t>(stored) & 0xFFFF;
  const int64_t red = ((low >> 11 & 7) + (texel >> 11 & 7)) >> 1;    // bits 11..13
  const int64_t green = ((low >> 8 & 7) + (texel >> 8 & 7)) >> 1;    // bits 8..10
  const int64_t blue = ((low >> 5 & 7) + (texel >> 5 & 7)) >> 1;     // bits 5..7
  const int64_t m = (red << 12) + (green << 9) + (blue << 6) + (low & 0x1F);
  const uint32_t colour = static_cast<uint32_t>(floorShift(m + floorShift(shade, 16), 1)) & 0xFFFF;
  *cell = static_cast<int32_t>((static_cast<uint32_t>(stored) & 0xFFFF0000u) | colour);
}

void referenceSpan(int32_t* cells, int64_t row, const RefEdge& left, const RefEdge& right,
                   const SurfaceDescriptor& s, bool flat) {
  const int64_t xl = left.x(row), xr = right.x(row);
  int64_t lo, hi;
  if (flat) {
    lo = floorShift(xl, 16);
    hi = floorShift(xr, 16);
  } else {
    if (xr <= xl) return;
    lo = floorShift(xl - 32768, 16);
    hi = floorShift(xr + 32768, 16);
  }
  if (hi <= 0 || lo >= 320 || hi <= lo) return;
  const int64_t rw = 262144 / (hi - lo);
  auto step = [&](int64_t a, int64_t b) { return floorShift(floorShift(b - a, 14) * rw, 4); };
  const int64_t dStep = step(left.depth(row), right.depth(row));
  const int64_t sStep = step(left.shade(row), right.shade(row));
  const int64_t uStep = step(left.u(row), right.u(row));
  const int64_t vStep = step(left.v(row), right.v(row));
  int32_t mode = s.blendMode;
  if (flat) mode = mode == 0 ? 0 : 2;
  else mode = mode < 0 ? 1 : mode > 3 ? 3 : mode;
  for (int64_t column = std::max<int64_t>(lo, 0); column < std::min<int64_t>(hi, 320); ++column) {
    const int64_t i = column - lo;
    const int64_t u = left.u(row) + uStep * i, v = left.v(row) + vStep * i;
    const uint32_t texel = flat ? s.flatColour : s.texels[((u & s.uMask) + (v & s.vMask)) >> 16];
    referencePixel(cells + row * 320 + column, left.depth(row) + dStep * i, left.shade(row) + sStep * i,
                   texel, mode);
  }
}

void referenceHalf(int32_t* cells, int64_t first, int64_t end, const RefEdge& a, const RefEdge& b,
                   bool aIsLeft, const SurfaceDescriptor& s, bool flat) {
  for (int64_t row = std::max<int64_t>(first, 0); row < std::min<int64_t>(end, 240); ++row) {
    referenceSpan(cells, row, aIsLeft ? a : b, aIsLeft ? b : a, s, flat);
  }
}

}  // namespace

void referenceFill(int32_t* cells, ReferenceCorner top, ReferenceCorner middle, ReferenceCorner bottom,
                   const SurfaceDescriptor& s, bool flat) {
  const RefEdge longEdge(top, bottom, s.vScale), upper(top, middle, s.vScale), lower(middle, bottom, s.vScale);
  if (longEdge.sx == upper.sx) return;
  if (middle.y > top.y && middle.y >= 0) {
    referenceHalf(cells, top.y + 1, middle.y, longEdge, upper, longEdge.sx < upper.sx, s, flat);
  }
  if (middle.y >= 240 || bottom.y <= middle.y) return;
  const int64_t first = std::max<int64_t>(middle.y, 0);
  if (longEdge.x(first) == lower.x(first)) return;
  referenceHalf(cells, first, bottom.y, longEdge, lower, longEdge.x(first) < lower.x(first), s, flat);
}
