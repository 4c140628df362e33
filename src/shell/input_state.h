// The records through which input reaches the frame update: the key table,
// the stylus and the quit flag. Written by the window procedure, read (and
// partly cleared) by the key handling.
#pragma once

#include <cstdint>

#include "core/key_codes.h"

// Entry k is 1 from the key-down to the key-up message of key code k & 0xFF.
extern uint8_t KeyState[256];

struct StylusState {
  int32_t anchorX;   // press that started the drag; -1 while the stylus is up
  int32_t anchorY;
  int32_t currentX;  // latest move while held; -1 until the first move
  int32_t currentY;
  int32_t holdPending;  // the press is still going on (for the hold timer)
};
extern StylusState stylusState;

// Set by the quit keys; never cleared while the program runs.
extern bool quitRequested;

// Back to the state at program start (keys 0, stylus up, no quit).
void resetInputState();
