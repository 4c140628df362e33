#include "render/pipeline.h"
#include "render/mesh.h"
// placeholder: replaced by the pipeline work
void drawMesh(RenderContext&, Mesh&) {}
void transformVertices(RenderContext&, Mesh&) {}
void drawTriangleNow(RenderContext&, const MeshTriangle&) {}
void queueTriangle(const MeshTriangle&) {}
int32_t triangleSetup(const MeshTriangle&) { return 0; }
