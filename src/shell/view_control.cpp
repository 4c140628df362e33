#include "shell/view_control.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/fixed_point.h"
#include "core/frame_buffer.h"
#include "core/render_context.h"
#include "panorama/cube_scene.h"
#include "panorama/face_grid.h"
#include "panorama/panorama_container.h"
#include "render/matrix.h"
#include "render/pipeline.h"
#include "render/renderer.h"
#include "render/trig_tables.h"
#include "render/visibility.h"
#include "shell/input_state.h"

ViewState viewState{0, 0, 0, 0, 0, true, false};
bool sceneCulling = true;

namespace {

constexpr uint32_t kZoomStep = 5;
constexpr uint32_t kTurnNumerator = 2048;  // turning speed = 2048 / zoom
constexpr int32_t kBannerX = 0;
constexpr int32_t kBannerY = 120;
constexpr int32_t kBannerFirstFrameAfter = 5;

// zoom divides the turning speed, so it must never be 0.
uint32_t nonZero(uint32_t zoom) { return zoom == 0 ? 1 : zoom; }

void passZoomToRenderer() {
  renderSetParameter(renderContext, kParameterZoom, static_cast<int32_t>(viewState.zoom));
}

// Acts once per key-down message: the entry is cleared when acted upon.
bool takeOneShot(uint8_t key) {
  if (KeyState[key] == 0) return false;
  KeyState[key] = 0;
  return true;
}

bool held(uint8_t key) { return KeyState[key] != 0; }

void applyStylusDrag() {
  if (stylusState.anchorX == -1) return;
  viewState.autoRotate = false;
  if (stylusState.currentX == -1) return;
  const int32_t dx = stylusState.currentX - stylusState.anchorX;
  const int32_t dy = stylusState.currentY - stylusState.anchorY;
  const int32_t absDx = dx < 0 ? -dx : dx;
  const int32_t absDy = dy < 0 ? -dy : dy;
  if (absDx > absDy) {
    viewState.yawVelocity = dx;
    viewState.pitchVelocity = 0;
  } else {
    viewState.yawVelocity = 0;
    viewState.pitchVelocity = dy;
  }
}

void applyYaw() {
  if (viewState.yawVelocity == 0) return;
  // The start and reset headings come from the trailer and may lie anywhere in
  // int32: the sums wrap as on the machine instead of overflowing.
  int32_t yaw = fx::add(viewState.yaw, viewState.yawVelocity);
  if (yaw > kAngleSteps) yaw = fx::sub(yaw, kAngleSteps);
  if (yaw < 0) yaw = fx::add(yaw, kAngleSteps);
  // Such a heading, or a drag far beyond the screen, is still outside the turn.
  if (yaw < 0 || yaw > kAngleSteps) yaw &= kAngleMask;
  viewState.yaw = yaw;
}

void applyPitch(const ViewerSettings& settings) {
  if (viewState.pitchVelocity == 0) return;
  int64_t pitch = int64_t{viewState.pitch} + viewState.pitchVelocity;  // limits may lie anywhere in int32
  if (pitch > settings.pitchMax) pitch = settings.pitchMax;
  if (pitch < settings.pitchMin) pitch = settings.pitchMin;
  viewState.pitch = static_cast<int32_t>(pitch);
}

void setCamera() {
  Matrix camera{};
  matrixRotationX(camera, viewState.pitch);
  matrixRotateY(camera, viewState.yaw);
  camera.tx = 0;
  camera.ty = 0;
  camera.tz = 0;
  matrixCopy(*matrixStack.top, camera);
}

VisibilityTest visibility;

// Which faces of a block may show, and per face what its block's test found
// to hold (see blockView): the blocks inside it need not test that again, and
// those of a face wholly inside the view need no test at all.
struct ShownFaces {
  uint32_t shown;                  // bit f: face f
  uint8_t settled[kFaceCount];     // kRangesFit, kDepthsInside, kSideInside << s
};

// The faces of `faces` whose box boxOf(f) may show; faces already inside are not tested.
template <class BoxOf>
ShownFaces facesShown(const BoxOf& boxOf, ShownFaces faces) {
  for (int32_t face = 0; face < kFaceCount; ++face) {
    const uint32_t bit = 1u << face;
    if ((faces.shown & bit) == 0 || faces.settled[face] == kAllInside) continue;
    uint32_t settled = faces.settled[face];
    if (blockView(visibility, boxOf(face), settled) == BlockView::Hidden) faces.shown &= ~bit;
    faces.settled[face] = static_cast<uint8_t>(settled);
  }
  return faces;
}

// A run's vertices of the faces that may show are transformed, then its cells'
// triangles are drawn cell by cell, face by face.
void submitRun(uint32_t run, ShownFaces shown) {
  VertexBlock* blocks = faceRuns + static_cast<size_t>(run) * kFaceCount;
  const uint32_t faces = facesShown([&](int32_t face) -> const ModelBounds& { return blocks[face].bounds; }, shown).shown;
  if (faces == 0) return;
  if (faceGridsReady()) {
    drawGridRun(renderContext, run, faces);
    return;
  }
  for (int32_t face = 0; face < kFaceCount; ++face) {
    if ((faces >> face & 1u) != 0) transformVertices(renderContext, blocks[face].vertices);
  }
  // A face's triangles of consecutive cells lie one after the other in the
  // scene's storage, so the run's are reached from its first cell's mesh
  // without touching the other cells' records.
  const uint32_t cells = tilesPerEdge * tilesPerEdge;
  const uint32_t first = run * kCellsPerRun;
  const uint32_t count = std::min(cells, first + kCellsPerRun) - first;
  const TileCell& firstCell = tileCells[first];
  for (uint32_t n = 0; n < count; ++n) {
    for (int32_t face = 0; face < kFaceCount; ++face) {
      if ((faces >> face & 1u) == 0) continue;
      const Mesh& mesh = firstCell.faces[face].mesh;
      drawTriangles(renderContext, Mesh{0, nullptr, mesh.triangleCount,
                                        mesh.triangles + static_cast<size_t>(n) * static_cast<size_t>(mesh.triangleCount)});
    }
  }
}

// Group n of level index `level` (0: groups of runs), its members in order.
void submitGroup(uint32_t level, uint32_t n, ShownFaces faces) {
  const ModelBounds* boxes = groupLevels[level].boxes + static_cast<size_t>(n) * kFaceCount;
  faces = facesShown([&](int32_t face) -> const ModelBounds& { return boxes[face]; }, faces);
  if (faces.shown == 0) return;
  const uint32_t members = level == 0 ? runCount : groupLevels[level - 1].count;
  const uint32_t end = std::min(members, (n + 1) * kRunsPerGroup);
  for (uint32_t m = n * kRunsPerGroup; m < end; ++m) {
    if (level == 0) {
      submitRun(m, faces);
    } else {
      submitGroup(level - 1, m, faces);
    }
  }
}

// In the order of drawMesh on every tile (cell by cell, face by face), but a
// group or run whose box cannot show a pixel is skipped whole.
void submitScene() {
  constexpr ShownFaces kAllFaces{(1u << kFaceCount) - 1, {}};
  if (!sceneCulling) {
    const uint32_t cells = tilesPerEdge * tilesPerEdge;
    for (uint32_t k = 0; k < cells; ++k) {
      for (TileFace& face : tileCells[k].faces) drawMesh(renderContext, face.mesh);
    }
    return;
  }
  prepareVisibility(visibility, *matrixStack.top, renderContext);
  if (faceGridsReady()) beginGridFrame();
  if (groupLevelCount == 0) {
    for (uint32_t run = 0; run < runCount; ++run) submitRun(run, kAllFaces);
    return;
  }
  const uint32_t top = groupLevelCount - 1;
  for (uint32_t n = 0; n < groupLevels[top].count; ++n) submitGroup(top, n, kAllFaces);
}

}  // namespace

void handleKeys() {
  const ViewerSettings& settings = panoramaContainer.settings;

  if (takeOneShot(kKeyQuit)) quitRequested = true;

  if (takeOneShot(kKeyReset)) {
    viewState.pitch = settings.initialPitch;
    viewState.zoom = nonZero(settings.initialZoom != 0 ? settings.initialZoom : settings.zoomMin);
    viewState.yaw = settings.initialYaw;
    passZoomToRenderer();
    viewState.autoRotate = true;
    renderContext.frameCounter = 0;  // shows the banner again
  }

  if (held(kKeyZoomIn)) {
    const uint32_t zoom = viewState.zoom;
    viewState.zoom = zoom > std::numeric_limits<uint32_t>::max() - kZoomStep ? std::numeric_limits<uint32_t>::max()
                                                                             : zoom + kZoomStep;
    if (viewState.zoom > settings.zoomMax) viewState.zoom = settings.zoomMax;
    viewState.zoom = nonZero(viewState.zoom);
    passZoomToRenderer();
    viewState.autoRotate = false;
  }

  if (held(kKeyZoomOut)) {
    viewState.zoom = viewState.zoom > kZoomStep ? viewState.zoom - kZoomStep : 0;
    if (viewState.zoom < settings.zoomMin) viewState.zoom = settings.zoomMin;
    viewState.zoom = nonZero(viewState.zoom);
    passZoomToRenderer();
    viewState.autoRotate = false;
  }

  // The frame's one division: the more the view is magnified, the slower it turns.
  const int32_t speed = static_cast<int32_t>(kTurnNumerator / nonZero(viewState.zoom));

  if (held(kKeyLeft)) viewState.yawVelocity = -speed;
  if (held(kKeyRight)) viewState.yawVelocity = speed;
  if (held(kKeyUp)) viewState.pitchVelocity = -speed;
  if (held(kKeyDown)) viewState.pitchVelocity = speed;

  if (viewState.autoRotate) {
    if (viewState.yawVelocity != 0 || viewState.pitchVelocity != 0) {
      viewState.autoRotate = false;
    } else {
      viewState.yawVelocity = speed;
    }
  }

  if (takeOneShot(kKeyFillMode)) {
    if (viewState.wireframe) {
      renderSetMode(renderContext, kModeAffine);
      viewState.wireframe = false;
    } else {
      renderSetMode(renderContext, kModeWireFrame);
      viewState.wireframe = true;
    }
  }
}

void updateFrame() {
  PanoramaContainer& container = panoramaContainer;
  const ViewerSettings& settings = container.settings;

  if (container.overlay1 != nullptr) drawOverlayBitmap(settings.overlay1X, settings.overlay1Y, container.overlay1);
  if (container.overlay2 != nullptr) drawOverlayBitmap(settings.overlay2X, settings.overlay2Y, container.overlay2);

  const int32_t frame = renderContext.frameCounter;
  if (frame > kBannerFirstFrameAfter && frame < settings.bannerFrames && container.bannerText != nullptr) {
    renderContext.textFunction(kBannerX, kBannerY, settings.bannerColour, container.bannerText, 1);
  }
  if (container.captionText != nullptr) {
    renderContext.textFunction(settings.captionX, settings.captionY, settings.captionColour, container.captionText, 0);
  }

  handleKeys();
  matrixStackPush(matrixStack);
  applyStylusDrag();
  applyYaw();
  applyPitch(settings);
  setCamera();
  submitScene();
  viewState.yawVelocity = 0;
  viewState.pitchVelocity = 0;
  matrixStackPop(matrixStack);
}

void drawOverlayBitmap(int32_t x, int32_t y, const OverlayBitmap* bitmap) {
  if (bitmap == nullptr || bitmap->pixels == nullptr) return;
  const int64_t width = bitmap->width;
  const int64_t height = bitmap->height;
  // Stored row i lands in frame-buffer column 320 - height - y + i, column j
  // in row x + j; only the cells inside the frame buffer are written.
  const int64_t firstColumn = int64_t{kFrameColumns} - height - y;
  for (int64_t i = 0; i < height; ++i) {
    const int64_t column = firstColumn + i;
    if (column < 0 || column >= kFrameColumns) continue;
    for (int64_t j = 0; j < width; ++j) {
      const int64_t row = int64_t{x} + j;
      if (row < 0 || row >= kFrameRows) continue;
      FrameBuffer[row * kFrameColumns + column] = int32_t{bitmap->pixels[i * width + j]} + 1;
    }
  }
}

void onStylusHold(int32_t /*x*/, int32_t /*y*/) {}

void resetViewState() { viewState = ViewState{0, 0, 0, 0, 0, true, false}; }
