// Back-to-front ordering of see-through triangles without sorting: triangles
// go into one of 3072 buckets by depth and are drained far to near.
#pragma once

#include <cstdint>

struct MeshTriangle;
struct RenderContext;

constexpr int32_t kBucketCount = 3072;
constexpr int32_t kBucketPoolSize = 4096;

struct BucketEntry {
  const MeshTriangle* triangle;
  int32_t cornerOrder;  // top corner in bits 0..3, middle 4..7, bottom 8..11
  BucketEntry* next;
};

struct DepthBucket {
  int32_t count;
  BucketEntry* first;
  BucketEntry* last;
};

struct DepthBuckets {
  int32_t minBucket;  // kBucketCount when nothing is queued
  int32_t maxBucket;  // 0 when nothing is queued
  int32_t queuedCount;
  DepthBucket buckets[kBucketCount];
  BucketEntry entries[kBucketPoolSize];
};

extern DepthBuckets depthBuckets;

void bucketsReset(DepthBuckets& buckets);
// Drops the triangle when the pool is full.
void bucketsPush(DepthBuckets& buckets, const MeshTriangle* triangle, int32_t cornerOrder);
// Fills every queued triangle through context.triangleFiller, far to near, then empties.
void bucketsDrain(DepthBuckets& buckets, RenderContext& context);
