#include "render/depth_buckets.h"
// placeholder: replaced by the pipeline work
DepthBuckets depthBuckets{};
void bucketsReset(DepthBuckets& b) { b.minBucket = kBucketCount; b.maxBucket = 0; b.queuedCount = 0; }
void bucketsPush(DepthBuckets&, const MeshTriangle*, int32_t) {}
void bucketsDrain(DepthBuckets& b, RenderContext&) { bucketsReset(b); }
