// The platform side of the host: entry point, single instance, the one
// full-screen window and its procedure.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Class name and title of the viewer's window.
constexpr char16_t kApplicationName[] = u"qbzview";
constexpr uintptr_t kStylusHoldTimer = 1024;
constexpr uint32_t kStylusHoldMs = 1000;

extern platform::WindowHandle mainWindow;

// The program's entry: returns the process exit code.
int32_t viewerEntry(platform::InstanceHandle instance, platform::InstanceHandle previousInstance,
                    const char16_t* commandLine, int32_t showCommand);
// The entry's start-up, up to the main loop: true when the loop is to run
// (a host that drives the loop itself then calls stepMainLoop); otherwise
// exitCode is the program's result.
bool viewerStartUp(platform::InstanceHandle instance, platform::InstanceHandle previousInstance,
                   const char16_t* commandLine, int32_t showCommand, int32_t& exitCode);
platform::MessageResult mainWindowProc(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                                       intptr_t lParam);
void shutdownDisplay(platform::WindowHandle window);
