// The records the vertex pipeline reads: meshes of shared vertices and
// textured triangles. The cube scene fills them once; the pipeline rewrites
// the per-frame fields of each vertex every frame.
#pragma once

#include <cstdint>

#include "core/geometry.h"

struct SurfaceDescriptor;

// Sixteen int16 values. The first four are what the fillers read.
struct MeshVertex {
  int16_t screenX;  // frame-buffer column
  int16_t screenY;  // frame-buffer row
  int16_t depth;    // negated camera z; 0 means not visible this frame
  int16_t shade;
  Vec3s camera;
  Vec3s model;
  int16_t baseLight;
  Vec3s normal;  // not used by this system
};

struct TriangleCorner {
  MeshVertex* vertex;
  int16_t u;  // 12.4 texels
  int16_t v;
};

struct MeshTriangle {
  TriangleCorner corners[3];
  SurfaceDescriptor* surface;
};

struct Mesh {
  int32_t vertexCount;
  MeshVertex* vertices;
  int32_t triangleCount;
  MeshTriangle* triangles;
};
