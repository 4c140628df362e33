// What the layers above see of the rasterizer: the drawers they put into the
// renderer's stage slots and the tables built once at start-up.
#pragma once

#include "core/render_context.h"

// Drawers of the triangleFiller slot.
FillerCall fillTriangleAffine;
FillerCall fillTrianglePerspective;
FillerCall fillTriangleFlat;
FillerCall drawTriangleWire;  // the wire frame: reads only x and y

// Drawers of the textFunction slot.
// Along the frame-buffer rows; cells get 16352 + ((colour * intensity) >> 3).
TextCall drawText;
// Down the frame-buffer columns (upright on the portrait screen); cells get value.
TextCall drawTextRotated;

void buildReciprocalTables();
void buildGlyphMap();
