#include <gtest/gtest.h>

#include <cstring>

#include "raster/raster_stage.h"
#include "raster/lines.h"
#include "raster/reciprocal_tables.h"
#include "raster/text.h"
#include "render/depth_buckets.h"
#include "render/projection.h"
#include "core/render_context.h"
#include "render/renderer.h"
#include "render/trig_tables.h"

namespace {

int32_t testBlit() { return 7; }

bool sameSlots(const RenderContext& a, const RenderContext& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(RenderContext, InitFillsTablesAndInstallsDefaultsThenModeAndParameterTables) {
  std::memset(SineTable, 0, sizeof SineTable);
  std::memset(ReciprocalTable, 0, sizeof ReciprocalTable);
  buildProjectionTable(130);
  depthBuckets.minBucket = 5;
  RenderContext c{99, 1, drawText, fillTriangleFlat, shadeFunction2, projectLandscape, testBlit};
  renderInit(c);
  EXPECT_EQ(SineTable[512] + ReciprocalTable[2] + ProjectionTable[350], 16383 + 131072 + 65536);
  EXPECT_EQ(depthBuckets.minBucket, kBucketCount);
  EXPECT_TRUE(sameSlots(c, {0, 0, drawTextRotated, fillTriangleAffine, shadeFunction0, projectPortrait, testBlit}));

  RenderContext before = c;
  for (int32_t zoom : {63, 1025, -350}) EXPECT_EQ(renderSetParameter(c, kParameterZoom, zoom), 0) << zoom;
  EXPECT_EQ(renderSetParameter(c, 0, 500) + renderSetParameter(c, 3, 500), 0);
  EXPECT_EQ(ProjectionTable[350], 65536);  // nothing was rebuilt
  EXPECT_TRUE(renderSetParameter(c, kParameterZoom, 64) == 1 && ProjectionTable[64] == 65536);
  EXPECT_TRUE(renderSetParameter(c, kParameterZoom, 1024) == 1 && ProjectionTable[1024] == 65536);
  EXPECT_EQ(ProjectionTable[3], 22369622);  // single precision; double would give 22369621
  EXPECT_TRUE(sameSlots(c, before));
  EXPECT_EQ(renderSetParameter(c, kParameterShade, -123456), 1);
  EXPECT_EQ(c.shadeFunction, shadeFunction1);

  before = c;
  renderSetMode(c, 11);
  renderSetMode(c, -1);
  EXPECT_TRUE(sameSlots(c, before));
  const std::pair<int32_t, TriangleFiller> fillers[] = {
      {3, fillTrianglePerspective}, {4, fillTriangleAffine}, {9, fillTriangleFlat}, {8, fillTriangleAffine}, {10, drawTriangleWire}};
  for (const auto& [mode, filler] : fillers) EXPECT_EQ((renderSetMode(c, mode), c.triangleFiller), filler) << mode;
  const ShadeFunction shades[] = {shadeFunction0, shadeFunction1, shadeFunction2};
  for (int32_t mode : {2, 1, 0}) EXPECT_EQ((renderSetMode(c, mode), c.shadeFunction), shades[mode]) << mode;
  // The orientation modes set projection, text and variant together and nothing else.
  const std::pair<int32_t, RenderContext> orientations[] = {
      {7, {0, 1, drawText, drawTriangleWire, shadeFunction0, projectLandscape, testBlit}},
      {5, {0, 0, drawTextRotated, drawTriangleWire, shadeFunction0, projectPortrait, testBlit}},
      {6, {0, 0, drawText, drawTriangleWire, shadeFunction0, projectLandscape, testBlit}}};
  for (const auto& [mode, expected] : orientations) EXPECT_TRUE((renderSetMode(c, mode), sameSlots(c, expected))) << mode;
}

}  // namespace
