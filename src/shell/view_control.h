// Per-frame view control: keys and stylus turn the view, overlays and texts
// are drawn, the camera is built and every tile mesh is submitted.
#pragma once

#include <cstdint>

struct OverlayBitmap;

struct ViewState {
  int32_t yaw;    // 2048ths of a turn, kept in 0..2048
  int32_t pitch;  // kept in pitchMin..pitchMax
  uint32_t zoom;  // projection distance; a divisor of the turning speed
  int32_t yawVelocity;
  int32_t pitchVelocity;
  bool autoRotate;
  bool wireframe;
};

extern ViewState viewState;
// Skip the parts of the scene whose boxes prove they cannot show (on). Tests
// turn it off to have every tile drawn as drawMesh draws it, for comparison.
extern bool sceneCulling;

void updateFrame();
void handleKeys();
// Top-left corner at screen (x, y); rows stored bottom-up; null draws nothing.
void drawOverlayBitmap(int32_t x, int32_t y, const OverlayBitmap* bitmap);
// Where a press-and-hold action would go; does nothing.
void onStylusHold(int32_t x, int32_t y);

// Back to the start state (auto-rotation on, textured, everything else 0).
void resetViewState();
