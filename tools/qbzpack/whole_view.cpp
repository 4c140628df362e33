#include "qbzpack/whole_view.h"

#include <cmath>

#include "panorama/container_format.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

// The nearest depth the viewer draws: it rejects camera z of -64 and above.
constexpr double kNearestDrawnDepth = 65.0;
// Projection centre to the frame's corner, one pixel beyond the 320 x 240
// frame so that a triangle touching its last pixel is covered too.
const double kCornerDistance = std::hypot(161.0, 121.0);
// Zooms the renderer takes; another keeps the projection it had, at first 350.
constexpr uint32_t kLowestZoom = 64, kHighestZoom = 1024, kFirstProjection = 350;
constexpr uint32_t kStartZoom = 130;  // the viewer's start zoom for a stored 0

}  // namespace

double nearestVisibleDepth(uint32_t faceSize, uint32_t tileSize, uint32_t lowestZoom) {
  const double z = lowestZoom;
  return faceSize / 2.0 * z / std::hypot(z, kCornerDistance) - tileSize * std::sqrt(2.0);
}

bool showsWhole(uint32_t faceSize, uint32_t tileSize, uint32_t lowestZoom) {
  return nearestVisibleDepth(faceSize, tileSize, lowestZoom) >= kNearestDrawnDepth;
}

std::optional<uint32_t> smallestWholeFace(uint32_t tileSize, uint32_t lowestZoom) {
  for (uint32_t face = tileSize; face <= kMaxFaceSize; face += tileSize) {
    if (showsWhole(face, tileSize, lowestZoom)) return face;
  }
  return std::nullopt;
}

std::optional<uint32_t> largestWholeTile(uint32_t faceSize, uint32_t lowestZoom) {
  for (uint32_t tile = kMaxTileSize; tile >= kMinTileSize; tile /= 2) {
    if (faceSize % tile == 0 && showsWhole(faceSize, tile, lowestZoom)) return tile;
  }
  return std::nullopt;
}

std::optional<uint32_t> lowestWholeZoom(uint32_t faceSize, uint32_t tileSize) {
  for (uint32_t zoom = kLowestZoom; zoom <= kHighestZoom; ++zoom) {
    if (showsWhole(faceSize, tileSize, zoom)) return zoom;
  }
  return std::nullopt;
}

std::string holesExplanation(uint32_t faceSize, uint32_t tileSize, uint32_t lowestZoom, bool zoomAdvice) {
  if (showsWhole(faceSize, tileSize, lowestZoom)) return "";
  std::string line = std::to_string(faceSize) + "-pixel faces with " + std::to_string(tileSize) +
                     "-pixel tiles would show holes at zoom " + std::to_string(lowestZoom) +
                     ": tiles at the edge of the view come nearer than the viewer draws (depth 65)";
  std::string remedies;
  const auto add = [&remedies](const std::string& remedy) { remedies += (remedies.empty() ? "" : ", ") + remedy; };
  if (const auto face = smallestWholeFace(tileSize, lowestZoom)) {
    add("--face-size " + std::to_string(*face) + " or more");
  }
  if (const auto tile = largestWholeTile(faceSize, lowestZoom)) {
    add("--tile-size " + std::to_string(*tile) + " or less");
  }
  if (const auto zoom = lowestWholeZoom(faceSize, tileSize)) {
    add("--zoom-min " + std::to_string(*zoom) + " or more" + (zoomAdvice ? "" : " with --viewer"));
  }
  return line + "; use " + (remedies.empty() ? std::string("a larger face") : remedies) + " (or --allow-holes)";
}

uint32_t lowestZoomOf(const ViewerSettings& settings) {
  const uint32_t start = settings.initialZoom == 0 ? kStartZoom : settings.initialZoom;
  const uint32_t lowest = settings.zoomMin < start ? settings.zoomMin : start;
  if (lowest < kLowestZoom) return kLowestZoom;
  return lowest > kHighestZoom ? kFirstProjection : lowest;
}

void checkShowsWhole(uint32_t faceSize, uint32_t tileSize, uint32_t lowestZoom, bool zoomAdvice, bool allowHoles) {
  if (allowHoles) return;
  const std::string why = holesExplanation(faceSize, tileSize, lowestZoom, zoomAdvice);
  if (!why.empty()) throw ToolError(why, true);
}

}  // namespace qbzpack
