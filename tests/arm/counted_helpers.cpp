// A counting stub for every wrapped helper. The linker sends each call of a
// helper X to __wrap_X; the stub adds one to X's counter and branches on to
// the real helper (__real_X) with every argument register, the return
// address and the flags untouched, so it suits any calling convention,
// including the helpers that return in four registers or in the flags.

#include "arm/counted_helpers.h"

#include <cstddef>
#include <cstring>

#include "counted_helper_list.h"

#define QBZ_HELPER_NAME(name) #name,
#define QBZ_HELPER_STUB(name)                                                         \
  ".global __wrap_" #name "\n"                                                        \
  ".type __wrap_" #name ", %function\n"                                               \
  "__wrap_" #name ":\n"                                                               \
  "  push {r0}\n"                                                                     \
  "  ldr r0, 1f\n"                                                                    \
  "0:\n"                                                                              \
  "  add r0, pc, r0\n" /* pc reads as 0b + 8: r0 = this helper's counter */          \
  "  ldr ip, [r0]\n"                                                                  \
  "  add ip, ip, #1\n"                                                                \
  "  str ip, [r0]\n"                                                                  \
  "  pop {r0}\n"                                                                      \
  "  b __real_" #name "\n"                                                            \
  "1:\n"                                                                              \
  "  .word qbzHelperCallCounts + 4 * qbzHelperIndex - (0b + 8)\n"                     \
  ".size __wrap_" #name ", . - __wrap_" #name "\n"                                    \
  ".set qbzHelperIndex, qbzHelperIndex + 1\n"

// In list order; the stubs below are emitted in the same order.
const char* const kHelperNames[] = {QBZ_COUNTED_HELPERS(QBZ_HELPER_NAME)};
constexpr size_t kHelperCount = sizeof kHelperNames / sizeof kHelperNames[0];

extern "C" {
uint32_t qbzHelperCallCounts[kHelperCount];
}

// One asm statement, so the stubs and their counter indices stay in order.
asm(".pushsection .text\n"
    ".arm\n"
    ".balign 4\n"
    ".set qbzHelperIndex, 0\n" QBZ_COUNTED_HELPERS(QBZ_HELPER_STUB) ".popsection\n");

void resetHelperCalls() { std::memset(qbzHelperCallCounts, 0, sizeof qbzHelperCallCounts); }

HelperCalls helperCallsSinceReset() {
  HelperCalls calls;
  for (size_t i = 0; i < kHelperCount; ++i) {
    if (qbzHelperCallCounts[i] == 0) continue;
    calls.total += qbzHelperCallCounts[i];
    calls.detail += std::string(kHelperNames[i]) + " " + std::to_string(qbzHelperCallCounts[i]) + "; ";
  }
  return calls;
}
