#include "render/projection.h"
#include "render/mesh.h"
// placeholder: replaced by the renderer context work
int32_t ProjectionTable[kProjectionEntries];
void buildProjectionTable(int32_t) {}
void projectPortrait(const Vec3s&, MeshVertex&) {}
void projectLandscape(const Vec3s&, MeshVertex&) {}
