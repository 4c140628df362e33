#include "shell/view_control.h"
// placeholder: replaced by the view control work
ViewState viewState{};
void updateFrame() {}
void handleKeys() {}
void drawOverlayBitmap(int32_t, int32_t, const OverlayBitmap*) {}
void onStylusHold(int32_t, int32_t) {}
void resetViewState() { viewState = ViewState{}; viewState.autoRotate = true; }
