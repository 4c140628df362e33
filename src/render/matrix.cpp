#include "render/matrix.h"

#include <algorithm>
#include <limits>

#include "core/fixed_point.h"
#include "render/trig_tables.h"

MatrixStack matrixStack{};

namespace {

constexpr int32_t kOne = 16384;  // 1.0 in 1.14
using matrix_detail::carry;
using matrix_detail::dot3;

}  // namespace

void matrixIdentity(Matrix& m) {
  m = Matrix{{kOne, 0, 0, 0, kOne, 0, 0, 0, kOne}, 0, 0, 0};
}

void matrixCopy(Matrix& destination, const Matrix& source) { destination = source; }

void matrixMultiply(Matrix& a, const Matrix& b) {
  const Matrix oldA = a;  // a and b may be the same matrix
  const Matrix rhs = b;
  for (int r = 0; r < 3; ++r) {
    for (int k = 0; k < 3; ++k) {
      a.m[3 * r + k] = fx::cut16(dot3(rhs.m[3 * r], oldA.m[k], rhs.m[3 * r + 1], oldA.m[3 + k],
                                      rhs.m[3 * r + 2], oldA.m[6 + k]));
    }
  }
  const int16_t oldT[3] = {oldA.tx, oldA.ty, oldA.tz};
  int16_t newT[3];
  for (int k = 0; k < 3; ++k) {
    newT[k] = carry(dot3(rhs.tx, oldA.m[k], rhs.ty, oldA.m[3 + k], rhs.tz, oldA.m[6 + k]), oldT[k]);
  }
  a.tx = newT[0];
  a.ty = newT[1];
  a.tz = newT[2];
}

bool depthRange(const Matrix& m, const ModelBounds& box, int32_t& lowestZ, int32_t& highestZ) {
  // z is carry(dot3(...)): a sum of three products, shifted down (floored), cut
  // to 16 bits, the translation added, cut again. Without wrapping, the sum is
  // linear in the point and the rest is monotone, so its extremes over the box
  // are at the corners that take, axis by axis, the smaller or larger product.
  const int64_t column[3] = {m.m[2], m.m[5], m.m[8]};
  const int64_t low[3] = {box.low.x, box.low.y, box.low.z};
  const int64_t high[3] = {box.high.x, box.high.y, box.high.z};
  int64_t lowestSum = 0, highestSum = 0;
  for (int axis = 0; axis < 3; ++axis) {
    const int64_t a = column[axis] * low[axis], b = column[axis] * high[axis];
    lowestSum += std::min(a, b);
    highestSum += std::max(a, b);
  }
  // Every point's true sum lies between these, so inside int32 the wrapping sum is the true one.
  if (lowestSum < std::numeric_limits<int32_t>::min() || highestSum > std::numeric_limits<int32_t>::max()) return false;
  const int64_t lowestShifted = lowestSum >> matrix_detail::kFractionBits;
  const int64_t highestShifted = highestSum >> matrix_detail::kFractionBits;
  if (lowestShifted < std::numeric_limits<int16_t>::min() || highestShifted > std::numeric_limits<int16_t>::max()) {
    return false;
  }
  const int64_t lowest = lowestShifted + m.tz, highest = highestShifted + m.tz;
  if (lowest < std::numeric_limits<int16_t>::min() || highest > std::numeric_limits<int16_t>::max()) return false;
  lowestZ = static_cast<int32_t>(lowest);
  highestZ = static_cast<int32_t>(highest);
  return true;
}

void matrixRotationX(Matrix& m, int32_t angle) {
  const int16_t s = SineTable[angle & kAngleMask];
  const int16_t c = CosineTable[angle & kAngleMask];
  m.m[0] = kOne, m.m[1] = 0, m.m[2] = 0;
  m.m[3] = 0, m.m[4] = c, m.m[5] = s;
  m.m[6] = 0, m.m[7] = fx::cut16(-s), m.m[8] = c;
}

void matrixRotationY(Matrix& m, int32_t angle) {
  const int16_t s = SineTable[angle & kAngleMask];
  const int16_t c = CosineTable[angle & kAngleMask];
  m.m[0] = c, m.m[1] = 0, m.m[2] = fx::cut16(-s);
  m.m[3] = 0, m.m[4] = kOne, m.m[5] = 0;
  m.m[6] = s, m.m[7] = 0, m.m[8] = c;
}

void matrixRotateY(Matrix& m, int32_t angle) {
  Matrix rotation{};
  matrixRotationY(rotation, angle);
  matrixMultiply(m, rotation);
}

void matrixStackInit(MatrixStack& stack, int32_t capacity) {
  delete[] stack.base;  // a stack made again (tests, repeated runs) does not leak the old storage
  stack.capacity = capacity;
  stack.index = 0;
  stack.base = new Matrix[capacity > 0 ? capacity : 1];
  stack.top = stack.base;
  matrixIdentity(*stack.base);
}

void matrixStackPush(MatrixStack& stack) {
  stack.index = stack.index + 1;
  if (stack.index >= 1 && stack.index < stack.capacity) {
    stack.top = stack.base + stack.index;
    matrixCopy(*stack.top, stack.base[stack.index - 1]);
  }
}

void matrixStackPop(MatrixStack& stack) {
  stack.index = stack.index - 1;
  if (stack.index >= 0 && stack.index < stack.capacity) stack.top = stack.base + stack.index;
}

void matrixStackRelease(MatrixStack& stack) {
  delete[] stack.base;
  stack = MatrixStack{};
}
