#include "pipeline_fixture.h"

namespace {

TEST_F(PipelineTest, BucketIndexAndDrainOrder) {
  MeshVertex a = at(0, 0, 100), b = at(0, 50, 200), c = at(50, 0, 300);  // (100 + 200 + 300) >> 2 = 150
  MeshVertex d = at(0, 0, 50), e = at(0, 50, 50), f = at(50, 0, 60);     // 160 >> 2 = 40
  const MeshTriangle first = triangleOf(&a, &b, &c, &open);
  const MeshTriangle second = triangleOf(&c, &a, &b, &open);
  const MeshTriangle nearest = triangleOf(&d, &e, &f, &open);
  queueTriangle(first);
  EXPECT_EQ(depthBuckets.minBucket, 150);
  EXPECT_EQ(depthBuckets.maxBucket, 150);
  EXPECT_EQ(depthBuckets.buckets[150].count, 1);
  queueTriangle(nearest);
  queueTriangle(second);
  EXPECT_EQ(depthBuckets.queuedCount, 3);
  EXPECT_EQ(depthBuckets.minBucket, 40);
  EXPECT_EQ(depthBuckets.maxBucket, 150);
  EXPECT_EQ(depthBuckets.buckets[150].count, 2);

  bucketsDrain(depthBuckets, context);
  ASSERT_EQ(filled.size(), 3u);
  // Far first, in queueing order within the bucket; corners ordered by row (y 0, 0, 50: order 288).
  EXPECT_EQ(filled[0].top, &a);
  EXPECT_EQ(filled[0].middle, &c);
  EXPECT_EQ(filled[0].bottom, &b);
  EXPECT_EQ(filled[0].middleU, 5);
  EXPECT_EQ(filled[1].top, &c);  // second: corners c, a, b
  EXPECT_EQ(filled[1].middle, &a);
  EXPECT_EQ(filled[2].top, &d);

  EXPECT_EQ(depthBuckets.queuedCount, 0);
  EXPECT_EQ(depthBuckets.minBucket, kBucketCount);
  EXPECT_EQ(depthBuckets.maxBucket, 0);
  EXPECT_EQ(depthBuckets.buckets[150].count, 0);
  EXPECT_EQ(depthBuckets.buckets[40].count, 0);
  bucketsDrain(depthBuckets, context);
  EXPECT_EQ(filled.size(), 3u);

  // The buckets work again after a drain.
  queueTriangle(nearest);
  bucketsDrain(depthBuckets, context);
  ASSERT_EQ(filled.size(), 4u);
  EXPECT_EQ(filled[3].top, &d);
}

TEST_F(PipelineTest, PoolHolds4096Triangles) {
  std::vector<MeshVertex> vertices(3 * (kBucketPoolSize + 1));
  std::vector<MeshTriangle> triangles;
  triangles.reserve(kBucketPoolSize + 1);
  for (int32_t i = 0; i <= kBucketPoolSize; ++i) {
    // Depths spread over many buckets, several triangles per bucket.
    const int16_t depth = static_cast<int16_t>(65 + (i * 7) % 2900);
    vertices[3 * i] = at(0, 0, depth);
    vertices[3 * i + 1] = at(0, 10, depth);
    vertices[3 * i + 2] = at(10, 0, depth);
    triangles.push_back(triangleOf(&vertices[3 * i], &vertices[3 * i + 1], &vertices[3 * i + 2], &open));
    queueTriangle(triangles.back());
  }
  EXPECT_EQ(depthBuckets.queuedCount, kBucketPoolSize);
  bucketsDrain(depthBuckets, context);
  ASSERT_EQ(filled.size(), static_cast<size_t>(kBucketPoolSize));
  const MeshVertex* dropped = &vertices[3 * kBucketPoolSize];
  int32_t previousDepth = 4096 * 3;
  for (const FilledTriangle& f : filled) {
    EXPECT_NE(f.top, dropped);
    const int32_t sum = f.top->depth + f.middle->depth + f.bottom->depth;
    EXPECT_LE(sum >> 2, previousDepth >> 2);  // far to near
    previousDepth = sum;
  }
  for (const DepthBucket& bucket : depthBuckets.buckets) EXPECT_EQ(bucket.count, 0);
}

}  // namespace
