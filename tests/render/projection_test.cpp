#include <gtest/gtest.h>

#include "render/mesh.h"
#include "render/projection.h"

TEST(Projection, TableEntriesAndBothOrientations) {
  buildProjectionTable(130);
  EXPECT_EQ(ProjectionTable[65], 131072);
  EXPECT_EQ(ProjectionTable[130], 65536);
  buildProjectionTable(350);
  const int entries[][2] = {{0, 0}, {1, 22937600}, {65, 352886}, {350, 65536}, {1000, 22938}, {2999, 7648}, {4607, 4979},
                           {138, 166215}};  // double precision would give 166214
  for (const auto& [d, value] : entries) EXPECT_EQ(ProjectionTable[d], value) << d;

  MeshVertex v{};
  projectPortrait({100, 50, -350}, v);
  EXPECT_EQ((std::array{v.screenX, v.screenY, v.depth}), (std::array<int16_t, 3>{210, 220, 350}));
  projectLandscape({100, 50, -350}, v);
  EXPECT_EQ((std::array{v.screenX, v.screenY, v.depth}), (std::array<int16_t, 3>{260, 70, 350}));
  // Depths outside the table stay inside it and land on the centre.
  for (int16_t z : {int16_t{1}, int16_t{-4608}, int16_t{-32768}}) {
    projectLandscape({100, 100, z}, v);
    EXPECT_EQ(v.screenX * 1000 + v.screenY, 160120) << z;
  }
}
