// Sine and cosine of the angles 0..2047 (2048ths of a turn), times 16384.
#pragma once

#include <cstdint>

constexpr int32_t kAngleSteps = 2048;
constexpr int32_t kAngleMask = 2047;

extern int16_t SineTable[kAngleSteps];
extern int16_t CosineTable[kAngleSteps];

// Fills both tables, once at renderer initialisation.
void buildTrigTables();
