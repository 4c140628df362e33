// The trigonometry and projection tables, matrices and the matrix stack.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "core/mesh.h"
#include "render/matrix.h"
#include "render/projection.h"
#include "render/trig_tables.h"

namespace {

bool same(const Matrix& a, const Matrix& b) { return std::memcmp(&a, &b, sizeof(Matrix)) == 0; }

std::array<int, 3> carried(const Matrix& m, Vec3s p) {
  Vec3s out{};
  transformDepth(m, p, out);
  transformXY(m, p, out);
  return {out.x, out.y, out.z};
}

TEST(Tables, SinesFallOneShortAtTheExtremesAndProjectionIsSinglePrecisionInBothOrientations) {
  // Exact table values are pinned by the golden screens; here the rounding rules only.
  buildTrigTables();
  EXPECT_TRUE(SineTable[512] == 16383 && SineTable[1536] == -16383 && CosineTable[0] == 16384);
  buildProjectionTable(350);
  EXPECT_EQ(ProjectionTable[138], 166215);  // double precision would give 166214
  MeshVertex v{}, w{};
  projectPortrait({100, 50, -350}, v);
  projectLandscape({100, 50, -350}, w);
  EXPECT_EQ((std::array{v.screenX, v.screenY, v.depth, w.screenX, w.screenY, w.depth}),
            (std::array<int16_t, 6>{210, 220, 350, 260, 70, 350}));
  for (int16_t z : {int16_t{1}, int16_t{-4608}, int16_t{-32768}}) {  // clamped into the table: the centre
    projectLandscape({100, 100, z}, v);
    EXPECT_EQ(v.screenX * 1000 + v.screenY, 160120) << z;
  }
}

// The camera's composition shows in every golden screen; here the angles
// outside one turn and the transform's rounding.
TEST(Matrix, RotationsWrapTheAngleAndTheTransformFloorsThenTranslates) {
  buildTrigTables();
  Matrix turned{}, wrapped{};
  for (int32_t angle : {0, 300, 2047, -512}) {
    matrixRotationX(turned, angle);
    matrixRotationX(wrapped, angle < 0 ? angle + 2048 : angle + 2048 * 3);
    EXPECT_TRUE(same(turned, wrapped)) << angle;
  }
  const Matrix half{{8192, 0, 0, 0, 8192, 0, 0, 0, 8192}, 5, 6, 7};
  EXPECT_EQ(carried(half, {-1, -3, 3}), (std::array{4, 4, 8}));
}

TEST(MatrixStack, PushCopiesAndOutOfRangeMovesOnlyTheIndex) {
  MatrixStack stack{};
  matrixStackInit(stack, 4);
  stack.base->tx = 42;
  matrixStackPush(stack);
  EXPECT_TRUE(stack.top == stack.base + 1 && stack.top->tx == 42 && stack.top->m[8] == 16384);
  for (int i = 0; i < 3; ++i) matrixStackPush(stack);  // one more than fits
  EXPECT_EQ(stack.top, stack.base + 3);
  for (int i = 0; i < 5; ++i) matrixStackPop(stack);  // one below the base
  EXPECT_TRUE(stack.index == -1 && stack.top == stack.base);
  matrixStackRelease(stack);
}

}  // namespace
