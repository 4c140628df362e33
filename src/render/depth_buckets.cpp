#include "render/depth_buckets.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "core/mesh.h"
#include "render/pipeline.h"

namespace {

BucketEntry smallestPool[kBucketPoolSize];
BucketEntry* reservedPool = nullptr;  // replaces smallestPool once a scene needs more

void resetHeader(DepthBuckets& buckets) {
  buckets.queuedCount = 0;
  buckets.minBucket = kBucketCount;
  buckets.maxBucket = 0;
}

}  // namespace

DepthBuckets depthBuckets{kBucketCount, 0, 0, kBucketPoolSize, smallestPool, {}};

void bucketsReset(DepthBuckets& buckets) {
  for (DepthBucket& bucket : buckets.buckets) bucket.count = 0;
  resetHeader(buckets);
}

bool bucketsReserve(DepthBuckets& buckets, int64_t count) {
  if (count <= buckets.capacity) return true;
  if (count > INT32_MAX) return false;
  BucketEntry* pool = new (std::nothrow) BucketEntry[static_cast<size_t>(count)];
  if (pool == nullptr) return false;
  if (buckets.entries == reservedPool) delete[] reservedPool;
  reservedPool = pool;
  buckets.entries = pool;
  buckets.capacity = static_cast<int32_t>(count);
  bucketsReset(buckets);
  return true;
}

void bucketsPush(DepthBuckets& buckets, const MeshTriangle* triangle, int32_t cornerOrder) {
  if (buckets.queuedCount >= buckets.capacity) return;  // full: not drawn this frame
  BucketEntry& entry = buckets.entries[buckets.queuedCount];
  buckets.queuedCount += 1;

  // Three quarters of the mean depth. Projected depths of 65..2999 land in
  // 48..2249; anything stranger is kept inside the array.
  const int32_t depthSum = triangle->corners[0].vertex->depth + triangle->corners[1].vertex->depth +
                           triangle->corners[2].vertex->depth;
  const int32_t index = std::clamp(depthSum >> 2, 0, kBucketCount - 1);
  DepthBucket& bucket = buckets.buckets[index];
  if (bucket.count == 0) {
    bucket.first = &entry;
    buckets.minBucket = std::min(buckets.minBucket, index);
    buckets.maxBucket = std::max(buckets.maxBucket, index);
  } else {
    bucket.last->next = &entry;
  }
  bucket.last = &entry;
  bucket.count += 1;
  entry.triangle = triangle;
  entry.cornerOrder = cornerOrder;
}

void bucketsDrain(DepthBuckets& buckets, RenderContext& context) {
  // Far to near; within one bucket in the order queued.
  for (int32_t i = buckets.maxBucket; i >= buckets.minBucket; --i) {
    DepthBucket& bucket = buckets.buckets[i];
    const int32_t count = bucket.count;
    bucket.count = 0;
    const BucketEntry* entry = bucket.first;
    for (int32_t n = 0; n < count; ++n, entry = entry->next) {
      fillInCornerOrder(context, *entry->triangle, entry->cornerOrder);
    }
  }
  resetHeader(buckets);
}
