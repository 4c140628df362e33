#include "shell/application.h"

#include "core/fixed_point.h"
#include "core/frame_buffer.h"
#include "core/render_context.h"
#include "display/blitters.h"
#include "panorama/cube_scene.h"
#include "panorama/panorama_container.h"
#include "platform/platform.h"
#include "render/depth_buckets.h"
#include "render/matrix.h"
#include "render/renderer.h"
#include "shell/input_state.h"
#include "shell/main_window.h"
#include "shell/view_control.h"

bool initApplication() {
  PanoramaContainer& container = panoramaContainer;
  container.clearExtras();
  // Only these two survive when no trailer is read: a trailer replaces the whole block.
  container.settings.zoomMin = kDefaultZoomMin;
  container.settings.zoomMax = kDefaultZoomMax;

  renderInit(renderContext);
  renderSetMode(renderContext, kModeAffine);
  matrixStackInit(matrixStack, kMatrixStackCapacity);

  const bool loaded = buildCubeScene();

  ViewerSettings& settings = container.settings;
  viewState.pitch = settings.initialPitch;
  viewState.yaw = settings.initialYaw;
  viewState.zoom = settings.initialZoom != 0 ? settings.initialZoom : kDefaultStartZoom;
  renderSetParameter(renderContext, kParameterZoom, static_cast<int32_t>(viewState.zoom));

  if (settings.pitchMax == 0) settings.pitchMax = kDefaultPitchLimit;
  if (settings.pitchMin == 0) settings.pitchMin = -kDefaultPitchLimit;

  stylusState.anchorX = -1;
  stylusState.anchorY = -1;
  stylusState.currentX = -1;
  stylusState.currentY = -1;
  return loaded;
}

bool startApplication() {
  const bool started = initApplication();
  selectBlitter(renderContext);
  return started;
}

int32_t runMainLoop() {
  platform::Message message{};
  for (;;) {
    if (platform::peekMessage(message, nullptr, true)) {
      if (message.message == platform::kMessageQuit) return static_cast<int32_t>(message.wParam);
      platform::translateMessage(message);
      platform::dispatchMessage(message);
    } else {
      produceFrame();
    }
  }
}

bool stepMainLoop(int32_t& exitCode) {
  platform::Message message{};
  while (platform::peekMessage(message, nullptr, true)) {
    if (message.message == platform::kMessageQuit) {
      exitCode = static_cast<int32_t>(message.wParam);
      return false;
    }
    platform::translateMessage(message);
    platform::dispatchMessage(message);
  }
  produceFrame();
  return true;
}

void produceFrame() {
  renderContext.frameCounter = fx::add(renderContext.frameCounter, 1);
  if (renderContext.frameCounter % kForegroundInterval == 0) platform::setForegroundWindow(mainWindow);
  updateFrame();
  if (depthBuckets.queuedCount != 0) bucketsDrain(depthBuckets, renderContext);
  renderContext.blitFunction();
}

void resetApplication() {
  resetInputState();
  resetViewState();
  releaseCubeScene();
  panoramaContainer.release();
  matrixStackRelease(matrixStack);
  renderContext = RenderContext{};
  bucketsReset(depthBuckets);
  frameBufferReset();
  mainWindow = nullptr;
}
