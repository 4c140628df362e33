// Counts of the calls made to the compiler's division and floating-point
// helpers (and the C library's floating-point functions) since the last
// reset. Only meaningful in the ARM test linked with --wrap on each helper.
#pragma once

#include <cstdint>
#include <string>

struct HelperCalls {
  uint32_t unsignedDivisions = 0;  // __aeabi_uidiv
  uint32_t otherDivisions = 0;     // every other integer division helper
  uint32_t floatCalls = 0;         // every floating-point helper or function
  std::string detail;              // "name calls; ..." of every helper called
};

void resetHelperCalls();
HelperCalls helperCallsSinceReset();
