// Whole headless runs: a container file (stand-alone, or appended with a
// trailer carrying settings, texts and overlays) and a short event script
// from the input, loaded and shown for several frames on one device class.
// Auto-rotation, keys, stylus drags, zoom and wire-frame all come from the
// script; the file stands both for the executable and for "\Temp\Test.QBZ".
//
// Input: device byte, frame-count byte, script length (16 bits), the script,
// then the file.

#include "fuzz_support.h"
#include "platform/headless/event_script.h"
#include "platform/host/headless_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Reader in{data, size};
  static const platform::DeviceClass devices[] = {platform::DeviceClass::Generic, platform::DeviceClass::Linear,
                                                  platform::DeviceClass::Direct, platform::DeviceClass::Palmax};
  platform::HeadlessRun run;
  run.options.device = devices[in.byte() & 3];
  run.options.frameLimit = 2 + in.byte() % 24;
  const std::string script(in.take(in.u16()));
  std::string error;
  platform::parseEventScript(script, run.options.events, error);  // a bad script: no input at all

  static const std::string path = fuzz::scratchFile("frames.bin");
  if (!fuzz::writeFile(path, in.data, in.size)) return 0;
  run.options.moduleFile = run.options.standaloneFile = path;
  const platform::HeadlessResult result = platform::runHeadless(run);
  if (result.exitCode != 0 && result.exitCode != 1) __builtin_trap();
  return 0;
}
