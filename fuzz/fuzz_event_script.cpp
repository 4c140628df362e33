// The event-script reader on any text: whole scripts and the same bytes as a
// file checked and streamed, which must agree event for event.
#include <vector>

#include "fuzz_support.h"
#include "platform/headless/event_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<platform::ScriptedEvent> parsed;
  std::string parseError;
  const bool parsedOk = platform::parseEventScript(text, parsed, parseError);

  static const std::string path = fuzz::scratchFile("script.events");
  if (!fuzz::writeFile(path, data, size)) return 0;
  platform::EventScriptSource source;
  std::string loadError;
  const bool loadedOk = platform::loadEventScript(path, source, loadError);
  if (parsedOk != loadedOk) __builtin_trap();
  if (!parsedOk) {
    if (loadError != path + ": " + parseError) __builtin_trap();
    return 0;
  }
  if (source.events.size() != parsed.size()) __builtin_trap();
  for (size_t k = 0; k < parsed.size(); ++k) {
    const platform::ScriptedEvent &a = parsed[k], &b = source.events[k];
    if (a.frame != b.frame || a.message != b.message || a.wParam != b.wParam || a.lParam != b.lParam) __builtin_trap();
  }
  return 0;
}
