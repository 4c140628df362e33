#include "display/blitters.h"
#include "render/render_context.h"
// placeholder: replaced by the display work
int32_t selectBlitter(RenderContext& c) { c.blitFunction = blitGeneric; return 1; }
int32_t blitGeneric() { return 0; }
int32_t blitLinear() { return 0; }
int32_t blitDirect() { return 0; }
void blitColumnPairs(int32_t*, uint8_t*, const uint16_t*) {}
