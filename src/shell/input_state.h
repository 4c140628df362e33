// The records through which input reaches the frame update: the key table,
// the stylus and the quit flag. Written by the window procedure, read (and
// partly cleared) by the key handling.
#pragma once

#include <cstdint>

// Virtual-key codes the viewer acts on.
constexpr uint8_t kKeyQuit = 0xC1;      // application button 1
constexpr uint8_t kKeyReset = 0xC2;     // application button 2
constexpr uint8_t kKeyZoomIn = 0xC3;    // application button 3
constexpr uint8_t kKeyZoomOut = 0xC4;   // application button 4
constexpr uint8_t kKeyQuitNow = 0xC5;   // application button 5
constexpr uint8_t kKeyFillMode = 0x24;  // textured / wire-frame
constexpr uint8_t kKeyLeft = 0x25;
constexpr uint8_t kKeyUp = 0x26;
constexpr uint8_t kKeyRight = 0x27;
constexpr uint8_t kKeyDown = 0x28;

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
