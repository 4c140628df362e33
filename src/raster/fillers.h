// The three triangle fillers of the triangleFiller slot. Corners arrive
// ordered by row (top.y <= middle.y <= bottom.y), u and v in 12.4 texels.
#pragma once

#include <cstdint>

struct MeshVertex;
struct SurfaceDescriptor;

void fillTriangleAffine(const MeshVertex* top, int16_t topU, int16_t topV,
                        const MeshVertex* middle, int16_t middleU, int16_t middleV,
                        const MeshVertex* bottom, int16_t bottomU, int16_t bottomV,
                        const SurfaceDescriptor* surface);
void fillTrianglePerspective(const MeshVertex* top, int16_t topU, int16_t topV,
                             const MeshVertex* middle, int16_t middleU, int16_t middleV,
                             const MeshVertex* bottom, int16_t bottomU, int16_t bottomV,
                             const SurfaceDescriptor* surface);
void fillTriangleFlat(const MeshVertex* top, int16_t topU, int16_t topV,
                      const MeshVertex* middle, int16_t middleU, int16_t middleV,
                      const MeshVertex* bottom, int16_t bottomU, int16_t bottomV,
                      const SurfaceDescriptor* surface);
