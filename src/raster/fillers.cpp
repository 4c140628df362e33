#include "raster/fillers.h"
// placeholder: replaced by the rasterizer work
void fillTriangleAffine(const MeshVertex*, int16_t, int16_t, const MeshVertex*, int16_t, int16_t, const MeshVertex*, int16_t, int16_t, const SurfaceDescriptor*) {}
void fillTrianglePerspective(const MeshVertex*, int16_t, int16_t, const MeshVertex*, int16_t, int16_t, const MeshVertex*, int16_t, int16_t, const SurfaceDescriptor*) {}
void fillTriangleFlat(const MeshVertex*, int16_t, int16_t, const MeshVertex*, int16_t, int16_t, const MeshVertex*, int16_t, int16_t, const SurfaceDescriptor*) {}
