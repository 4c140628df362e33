// Chooses the blitter for the device from the OEM information string.
#include <cstring>

#include "core/render_context.h"
#include "core/screen.h"
#include "display/blitters.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kOemBufferBytes = 200;  // up to 100 wide characters
constexpr size_t kMakerLength = 6;
constexpr size_t kModelDigitIndex = 14;  // '8' there marks the fixed-memory models

bool startsWith(const char16_t* text, const char16_t* maker) {
  return std::memcmp(text, maker, kMakerLength * sizeof(char16_t)) == 0;
}

}  // namespace

int32_t selectBlitter(RenderContext& context) {
  // Zeroed first: a string shorter than 15 characters then reads 0, not
  // stale memory, at the model digit. The query's result does not matter.
  char16_t oem[kOemBufferBytes / sizeof(char16_t)] = {};
  platform::systemParametersInfo(kSystemParameterOemInfo, kOemBufferBytes, oem);

  if (startsWith(oem, kOemMakerCompaq)) {
    context.blitFunction = oem[kModelDigitIndex] == u'8' ? blitDirect : blitLinear;
  } else if (startsWith(oem, kOemMakerPalmax)) {
    context.blitFunction = blitLinear;
  } else {
    context.blitFunction = blitGeneric;
  }
  return 1;
}
