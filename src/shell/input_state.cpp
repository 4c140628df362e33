#include "shell/input_state.h"

#include <cstring>

uint8_t KeyState[256];
StylusState stylusState{-1, -1, -1, -1, 0};
bool quitRequested = false;

void resetInputState() {
  std::memset(KeyState, 0, sizeof KeyState);
  stylusState = StylusState{-1, -1, -1, -1, 0};
  quitRequested = false;
}
