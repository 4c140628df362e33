// The viewer's own start-up sequence, its main loop and the frame step.
#pragma once

#include <cstdint>

constexpr uint32_t kDefaultZoomMin = 130;
constexpr uint32_t kDefaultZoomMax = 240;
constexpr uint32_t kDefaultStartZoom = 130;
constexpr int32_t kDefaultPitchLimit = 512;
constexpr int32_t kMatrixStackCapacity = 4;
constexpr int32_t kForegroundInterval = 16;

// Initialises the renderer and loads the panorama; true when the scene was built.
bool initApplication();
// The start-up pair: initApplication, then the blitter for this device (chosen
// even when loading failed). Returns what initApplication returned.
bool startApplication();
// Handles waiting messages first, else produces a frame; returns the quit
// message's wParam.
int32_t runMainLoop();
// One turn of the main loop, for hosts whose own loop calls the viewer (a
// browser's animation frames): handles every waiting message, then produces
// one frame. False once the quit message was taken; exitCode is then its wParam.
bool stepMainLoop(int32_t& exitCode);
void produceFrame();

// Returns every global of the viewer to its state before start-up, so that
// tests and in-process hosts can run the viewer more than once.
void resetApplication();
