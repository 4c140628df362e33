#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "render/matrix.h"
#include "render/trig_tables.h"

namespace {

bool same(const Matrix& a, const Matrix& b) { return std::memcmp(&a, &b, sizeof(Matrix)) == 0; }

std::array<int, 3> carried(const Matrix& m, Vec3s p) {
  Vec3s out{};
  transformDepth(m, p, out);
  transformXY(m, p, out);
  return {out.x, out.y, out.z};
}

}  // namespace

TEST(TrigTables, SinglePrecisionTurnFallsOneShortAtTheExtremes) {
  buildTrigTables();
  const int sines[][2] = {{512, 16383}, {1536, -16383}, {1, 50}, {256, 11585}, {1024, 0}};
  for (const auto& [i, value] : sines) EXPECT_EQ(SineTable[i], value) << i;
  const int cosines[][2] = {{1024, -16383}, {0, 16384}, {512, 0}};
  for (const auto& [i, value] : cosines) EXPECT_EQ(CosineTable[i], value) << i;
}

TEST(Matrix, MultiplyComposesFirstBThenAAndMayAlias) {
  const Matrix m{{1000, -2000, 3000, 4000, 5000, -6000, 7000, 8000, 9000}, 11, -12, 13};
  Matrix identity, left, right = m;
  matrixIdentity(identity);
  left = identity;
  matrixMultiply(left, m);
  matrixMultiply(right, identity);
  EXPECT_TRUE(same(left, m) && same(right, m));

  // Exact axis permutations: the product carries a point through b, then a.
  Matrix ab{{0, 16384, 0, 16384, 0, 0, 0, 0, 16384}, 10, 20, 30};
  const Matrix a = ab, b{{16384, 0, 0, 0, 0, 16384, 0, -16384, 0}, 1, 2, 3};
  matrixMultiply(ab, b);
  const auto viaB = carried(b, {4, 5, 6});
  EXPECT_EQ(carried(ab, {4, 5, 6}), carried(a, {int16_t(viaB[0]), int16_t(viaB[1]), int16_t(viaB[2])}));

  Matrix square = m, self = m;
  matrixMultiply(square, m);
  matrixMultiply(self, self);
  EXPECT_TRUE(same(self, square));
}

TEST(Matrix, TransformFloorsThenAddsTranslation) {
  Matrix m, half{{8192, 0, 0, 0, 8192, 0, 0, 0, 8192}, 0, 0, 0};
  matrixIdentity(m);
  m.tx = 5, m.ty = 6, m.tz = 7;
  EXPECT_EQ(carried(m, {100, 0, 0}), (std::array{105, 6, 7}));
  EXPECT_EQ(carried(half, {-1, -3, 3}), (std::array{-1, -2, 1}));
}

TEST(Matrix, RotationsWrapTheAngle) {
  buildTrigTables();
  Matrix a{}, b{};
  for (int32_t angle : {0, 300, 2047, -512}) {
    matrixRotationX(a, angle);
    matrixRotationX(b, angle < 0 ? angle + 2048 : angle + 2048 * 3);
    EXPECT_TRUE(same(a, b)) << angle;
  }
  Matrix y{{}, 1, 2, 3};
  matrixRotationY(y, 512);
  EXPECT_EQ((std::array{y.m[0], y.m[2], y.m[6], y.m[8], y.tz}), (std::array<int16_t, 5>{0, -16383, 16383, 0, 3}));
  Matrix camera{};
  matrixRotationX(camera, 0);
  matrixRotateY(camera, 512);
  EXPECT_EQ(carried(camera, {0, 0, -100}), (std::array{-100, 0, 0}));
  EXPECT_EQ(carried(camera, {100, 0, 0}), (std::array{0, 0, -100}));
}

TEST(MatrixStack, PushCopiesAndOutOfRangeMovesOnlyTheIndex) {
  MatrixStack stack{};
  matrixStackInit(stack, 4);
  stack.base->tx = 42;
  matrixStackPush(stack);
  EXPECT_EQ(stack.top, stack.base + 1);
  EXPECT_EQ(stack.top->tx, 42);
  EXPECT_EQ(stack.top->m[8], 16384);
  matrixStackPop(stack);
  EXPECT_EQ(stack.top, stack.base);
  for (int i = 0; i < 4; ++i) matrixStackPush(stack);  // one more than fits
  EXPECT_EQ(stack.top, stack.base + 3);
  for (int i = 0; i < 5; ++i) matrixStackPop(stack);  // one below the base
  EXPECT_EQ(stack.index, -1);
  EXPECT_EQ(stack.top, stack.base);
  matrixStackRelease(stack);
}
