// The renderer's exchangeable stages, its one-time initialisation, the
// numbered mode switch and the parameter setter.
#pragma once

#include <cstdint>

#include "render/matrix.h"

struct MeshVertex;
struct SurfaceDescriptor;

// (x, y, cell value, text, centre flag)
using TextFunction = void (*)(int32_t x, int32_t y, int32_t value, const char* text, int32_t centre);
// Corners ordered by row: top.y <= middle.y <= bottom.y; u and v in 12.4.
using TriangleFiller = void (*)(const MeshVertex* top, int16_t topU, int16_t topV,
                                const MeshVertex* middle, int16_t middleU, int16_t middleV,
                                const MeshVertex* bottom, int16_t bottomU, int16_t bottomV,
                                const SurfaceDescriptor* surface);
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

enum RenderParameter : int32_t {
  kParameterShade = 1,
  kParameterZoom = 2,  // projection distance, accepted in 64..1024
};

constexpr int32_t kModeAffine = 4;
constexpr int32_t kModeWireFrame = 10;

void renderInit(RenderContext& context);
// Modes outside 0..10 change nothing.
void renderSetMode(RenderContext& context, int32_t mode);
// 1 when the setting was taken, 0 otherwise.
int32_t renderSetParameter(RenderContext& context, int32_t type, int32_t value);

// The three shade functions of the system; each gives 1 for every input.
int16_t shadeFunction0(int16_t depth, int16_t light);
int16_t shadeFunction1(int16_t depth, int16_t light);
int16_t shadeFunction2(int16_t depth, int16_t light);
