// The depth range of a box under a matrix: exact where it claims to be, and
// refused where the fixed-point sum or its 16-bit cuts could wrap.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "render/matrix.h"
#include "render/trig_tables.h"

namespace {

int16_t depthOf(const Matrix& m, int16_t x, int16_t y, int16_t z) {
  Vec3s out{};
  transformDepth(m, Vec3s{x, y, z}, out);
  return out.z;
}

TEST(DepthRange, IsTheCornersExtremesHoldsEveryInnerPointAndRefusesWrapping) {
  buildTrigTables();
  std::mt19937 random(20240611);
  auto uniform = [&](int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random); };
  int32_t taken = 0;
  for (int32_t trial = 0; trial < 4000; ++trial) {
    Matrix m{};
    const bool rotation = trial % 2 == 0;
    if (rotation) {  // a camera like the viewer's, translated
      matrixRotationX(m, uniform(0, 2047));
      matrixRotateY(m, uniform(0, 2047));
      m.tz = static_cast<int16_t>(uniform(-3000, 3000));
    } else {  // any entries: sums and cuts wrap often
      for (int16_t& entry : m.m) entry = static_cast<int16_t>(uniform(-32768, 32767));
      m.tz = static_cast<int16_t>(uniform(-32768, 32767));
    }
    const int32_t reach = trial % 3 == 0 ? 32767 : 600;
    int16_t low[3], high[3];
    for (int axis = 0; axis < 3; ++axis) {
      const int32_t a = uniform(-reach, reach), b = uniform(-reach, reach);
      low[axis] = static_cast<int16_t>(std::min(a, b)), high[axis] = static_cast<int16_t>(std::max(a, b));
    }
    const ModelBounds box{{low[0], low[1], low[2]}, {high[0], high[1], high[2]}};
    int32_t lowest = 0, highest = 0;
    const bool known = depthRange(m, box, lowest, highest);
    if (rotation && reach == 600) {
      EXPECT_TRUE(known) << "rotations of a small box never wrap";
    }
    if (!known) continue;
    ++taken;
    int32_t cornerLow = 32767, cornerHigh = -32768;
    for (int corner = 0; corner < 8; ++corner) {
      const int16_t z = depthOf(m, (corner & 1) ? high[0] : low[0], (corner & 2) ? high[1] : low[1],
                                (corner & 4) ? high[2] : low[2]);
      cornerLow = std::min<int32_t>(cornerLow, z), cornerHigh = std::max<int32_t>(cornerHigh, z);
    }
    ASSERT_EQ(lowest, cornerLow) << trial;
    ASSERT_EQ(highest, cornerHigh) << trial;
    for (int inner = 0; inner < 16; ++inner) {
      const int16_t z = depthOf(m, static_cast<int16_t>(uniform(low[0], high[0])),
                                static_cast<int16_t>(uniform(low[1], high[1])), static_cast<int16_t>(uniform(low[2], high[2])));
      ASSERT_TRUE(z >= lowest && z <= highest) << trial;
    }
  }
  EXPECT_GT(taken, 1500);

  // Where the sum wraps, the trials' inner points fall outside the corners', so a
  // claimed range there fails above. Here the sum fits but the translation
  // carries the depth past 16 bits.
  int32_t lowest = 0, highest = 0;
  Matrix shifted{};
  matrixIdentity(shifted);
  shifted.tz = 30000;
  EXPECT_FALSE(depthRange(shifted, ModelBounds{{0, 0, 0}, {0, 0, 5000}}, lowest, highest));
  EXPECT_TRUE(depthRange(shifted, ModelBounds{{0, 0, 0}, {0, 0, 2767}}, lowest, highest));
  EXPECT_TRUE(lowest == 30000 && highest == 32767);
}

}  // namespace
