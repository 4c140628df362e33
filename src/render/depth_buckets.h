// Back-to-front ordering of see-through triangles without sorting: triangles
// go into one of 3072 buckets by depth and are drained far to near.
#pragma once

#include <cstdint>

struct MeshTriangle;
struct RenderContext;

constexpr int32_t kBucketCount = 3072;
// The smallest pool; bucketsReserve makes it hold every see-through triangle of a scene.
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
  int32_t capacity;       // entries in the pool
  BucketEntry* entries;   // the pool, handed out in order
  DepthBucket buckets[kBucketCount];
};

extern DepthBuckets depthBuckets;

// Empties the buckets; the pool keeps its size (kBucketPoolSize at first).
void bucketsReset(DepthBuckets& buckets);
// Makes the pool hold at least count entries: start-up only, the one
// allocation of the buckets. False (the pool unchanged) when that fails.
bool bucketsReserve(DepthBuckets& buckets, int64_t count);
// Drops the triangle when the pool is full (never with a pool reserved for the scene).
void bucketsPush(DepthBuckets& buckets, const MeshTriangle* triangle, int32_t cornerOrder);
// Fills every queued triangle through context.triangleFiller, far to near, then empties.
void bucketsDrain(DepthBuckets& buckets, RenderContext& context);
