// The three blitters (one per class of display memory) and the choice of one
// by the device's OEM information string.
#pragma once

#include <cstdint>

struct RenderContext;

// Stands for the fixed display memory of the direct device class.
constexpr uint32_t kDirectDisplayStart = 0xAC050020u;
constexpr uint32_t kDirectDisplayEnd = 0xAC07581Fu;
constexpr uint32_t kSystemParameterOemInfo = 258;

// Stores the blitter for this device in context.blitFunction; always 1.
int32_t selectBlitter(RenderContext& context);

int32_t blitGeneric();
int32_t blitLinear();
int32_t blitDirect();

// displayVariant 0 of blitGeneric: cells (2j, k), (2j + 1, k) to the word at
// destination + 4j - 480k. destination is screen pixel (0, 319).
void blitColumnPairs(int32_t* buffer, uint8_t* destination, const uint16_t* lookup);
