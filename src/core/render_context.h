// The renderer's exchangeable stages: the function slots every stage reads and
// the one context that holds them.
#pragma once

#include <cstdint>

#include "core/geometry.h"

struct MeshVertex;
struct SurfaceDescriptor;

// (x, y, cell value, text, centre flag)
using TextCall = void(int32_t x, int32_t y, int32_t value, const char* text, int32_t centre);
using TextFunction = TextCall*;
// The filler call: corners ordered by row (top.y <= middle.y <= bottom.y),
// u and v in 12.4 texels, then the surface. Every filler is declared with it.
using FillerCall = void(const MeshVertex* top, int16_t topU, int16_t topV,
                        const MeshVertex* middle, int16_t middleU, int16_t middleV,
                        const MeshVertex* bottom, int16_t bottomU, int16_t bottomV,
                        const SurfaceDescriptor* surface);
using TriangleFiller = FillerCall*;
using ShadeFunction = int16_t (*)(int16_t depth, int16_t light);
// Writes screenX, screenY and depth of out.
using ProjectFunction = void (*)(const Vec3s& camera, MeshVertex& out);
// Copies the frame to the screen and clears the frame buffer.
using BlitFunction = int32_t (*)();

struct RenderContext {
  int32_t frameCounter;
  int32_t displayVariant;  // 1: the picture is turned by half a turn
  TextFunction textFunction;
  TriangleFiller triangleFiller;
  ShadeFunction shadeFunction;
  ProjectFunction projectFunction;
  BlitFunction blitFunction;
};

extern RenderContext renderContext;
