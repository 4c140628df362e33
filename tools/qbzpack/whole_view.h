// Whether every view the viewer allows shows the panorama whole.
//
// World units are texels: the cube's half edge is faceSize / 2, and the viewer
// draws a triangle only when all three corners lie at depth 65 or more (it
// rejects nearer vertices instead of clipping them). A triangle that reaches
// into the view with a corner nearer than that is simply missing, a hole.
//
// Conservative condition: a point P of the cube seen anywhere on the screen
// at zoom z lies at depth of at least H z / sqrt(z^2 + r^2), where H is the
// half edge and r the distance in pixels from the projection centre to the
// frame's corner (P is at least H away and at most the corner's angle off the
// view axis). Every corner of P's triangle lies within a tile's diagonal,
// T sqrt(2), of P, so its depth is at least
//     H z / sqrt(z^2 + r^2) - T sqrt(2),
// and the panorama shows whole when that is at least 65 at the lowest zoom the
// viewer can reach (a wider zoom only narrows the view). Any yaw and pitch is
// assumed, so it holds for every pitch limit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "panorama/container_format.h"

namespace qbzpack {

// The nearest depth a visible triangle's corner can reach, by the bound above.
double nearestVisibleDepth(uint32_t faceSize, uint32_t tileSize, uint32_t lowestZoom);
bool showsWhole(uint32_t faceSize, uint32_t tileSize, uint32_t lowestZoom);

// What would show whole instead; empty where nothing up to the limits does.
std::optional<uint32_t> smallestWholeFace(uint32_t tileSize, uint32_t lowestZoom);
std::optional<uint32_t> largestWholeTile(uint32_t faceSize, uint32_t lowestZoom);
std::optional<uint32_t> lowestWholeZoom(uint32_t faceSize, uint32_t tileSize);

// Why the panorama would show holes and what would work, as one line; empty
// when it shows whole. zoomAdvice: the lowest zoom can be chosen (a
// self-contained viewer's --zoom-min).
std::string holesExplanation(uint32_t faceSize, uint32_t tileSize, uint32_t lowestZoom, bool zoomAdvice);

// The lowest projection zoom a viewer with these settings reaches: its lowest
// zoom or its start zoom, whichever is lower, within what the renderer takes.
uint32_t lowestZoomOf(const ViewerSettings& settings);

// Throws a usage ToolError naming what would work unless the panorama shows
// whole or holes are allowed.
void checkShowsWhole(uint32_t faceSize, uint32_t tileSize, uint32_t lowestZoom, bool zoomAdvice, bool allowHoles);

}  // namespace qbzpack
