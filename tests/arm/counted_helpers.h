// The calls made to the compiler's division and floating-point helpers (and
// the C library's floating-point functions) since the last reset. Only
// meaningful in the ARM test linked with --wrap on each helper.
#pragma once

#include <cstdint>
#include <string>

struct HelperCalls {
  uint32_t total = 0;  // calls of every counted helper
  std::string detail;  // "name count; " for each helper called, divisions first, in the listed order
};

void resetHelperCalls();
HelperCalls helperCallsSinceReset();
