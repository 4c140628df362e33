#include "render/render_context.h"
// placeholder: replaced by the renderer context work
RenderContext renderContext{};
void renderInit(RenderContext& c) { c.frameCounter = 0; c.displayVariant = 0; }
void renderSetMode(RenderContext&, int32_t) {}
int32_t renderSetParameter(RenderContext&, int32_t, int32_t) { return 0; }
int16_t shadeFunction0(int16_t, int16_t) { return 1; }
int16_t shadeFunction1(int16_t, int16_t) { return 1; }
int16_t shadeFunction2(int16_t, int16_t) { return 1; }
