#include "render/renderer.h"

#include "display/colour_lookup.h"
#include "raster/raster_stage.h"
#include "render/depth_buckets.h"
#include "render/projection.h"
#include "render/trig_tables.h"

namespace {

constexpr int32_t kStartZoom = 350;
constexpr int32_t kMinZoom = 64;
constexpr int32_t kMaxZoom = 1024;

}  // namespace

void renderInit(RenderContext& context) {
  buildColourLookup();
  buildReciprocalTables();
  buildTrigTables();
  buildProjectionTable(kStartZoom);
  bucketsReset(depthBuckets);
  buildGlyphMap();
  context.frameCounter = 0;
  context.displayVariant = 0;
  context.triangleFiller = fillTriangleAffine;
  context.shadeFunction = shadeFunction0;
  context.projectFunction = projectPortrait;
  context.textFunction = drawTextRotated;
  // blitFunction belongs to the device selection, which runs after this.
}

void renderSetMode(RenderContext& context, int32_t mode) {
  switch (mode) {
    case 0: context.shadeFunction = shadeFunction0; break;
    case 1: context.shadeFunction = shadeFunction1; break;
    case 2: context.shadeFunction = shadeFunction2; break;
    case 3: context.triangleFiller = fillTrianglePerspective; break;
    case 4: context.triangleFiller = fillTriangleAffine; break;
    case 5:  // portrait: camera x along the screen's short side
      context.projectFunction = projectPortrait;
      context.textFunction = drawTextRotated;
      context.displayVariant = 0;
      break;
    case 6:  // landscape
      context.projectFunction = projectLandscape;
      context.textFunction = drawText;
      context.displayVariant = 0;
      break;
    case 7:  // landscape turned by half a turn, which the blitter carries out
      context.projectFunction = projectLandscape;
      context.textFunction = drawText;
      context.displayVariant = 1;
      break;
    case 8: context.triangleFiller = fillTriangleAffine; break;
    case 9: context.triangleFiller = fillTriangleFlat; break;
    case 10: context.triangleFiller = drawTriangleWire; break;
    default: break;  // unknown modes are ignored
  }
}

int32_t renderSetParameter(RenderContext& context, int32_t type, int32_t value) {
  switch (type) {
    case kParameterShade:
      context.shadeFunction = shadeFunction1;
      return 1;
    case kParameterZoom:
      if (value < kMinZoom || value > kMaxZoom) return 0;
      buildProjectionTable(value);
      return 1;
    default:
      return 0;
  }
}

// Every vertex carries the same shade; the slots exist so a lighting model can
// be swapped in without touching the pipeline.
int16_t shadeFunction0(int16_t, int16_t) { return 1; }
int16_t shadeFunction1(int16_t, int16_t) { return 1; }
int16_t shadeFunction2(int16_t, int16_t) { return 1; }
