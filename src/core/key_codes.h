// The virtual-key codes the viewer acts on: the handheld's application
// buttons, the arrows and the fill-mode key. Backends translate their own
// keys into these.
#pragma once

#include <cstdint>

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
