// The renderer's one-time initialisation, the numbered mode switch and the
// parameter setter, all working on a RenderContext.
#pragma once

#include <cstdint>

#include "core/render_context.h"

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
