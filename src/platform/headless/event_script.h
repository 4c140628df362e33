// Scripted input for the headless backend: one event a line, "FRAME KIND ARGS".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct ScriptedEvent {
  int32_t frame;  // posted after frame - 1 was produced, so dispatched before frame
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

// Parses a whole script. On a bad line, returns false and sets error to one
// line naming it; events is then left empty.
bool parseEventScript(const std::string& text, std::vector<ScriptedEvent>& events, std::string& error);
bool loadEventScript(const std::string& path, std::vector<ScriptedEvent>& events, std::string& error);

}  // namespace platform
