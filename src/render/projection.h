// The projection table behind the zoom, and the two projection stages.
#pragma once

#include <cstdint>

#include "render/matrix.h"

struct MeshVertex;

constexpr int32_t kProjectionEntries = 4608;

// Entry d = zoom * 65536 / d (single precision, rounded to nearest); entry 0 is 0.
extern int32_t ProjectionTable[kProjectionEntries];

// Floating point here is allowed: it runs at start-up and when the zoom changes.
void buildProjectionTable(int32_t zoom);
// Camera x along the frame-buffer rows (centre 120), y along the columns (centre 160).
void projectPortrait(const Vec3s& camera, MeshVertex& out);
void projectLandscape(const Vec3s& camera, MeshVertex& out);
