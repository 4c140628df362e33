// The renderer's divisions: x * ReciprocalTable[n] >> 18 is about x / n.
#pragma once

#include <cstdint>

constexpr int32_t kReciprocalEntries = 4096;

// Entry i = 262144 / i (i >= 1); entry 0 repeats entry 1.
extern int32_t ReciprocalTable[kReciprocalEntries];
// Entry k = 4194304 / k while that fits 16 bits (65535 for k = 64, 0 below).
extern uint16_t PerspectiveReciprocalTable[kReciprocalEntries];
