#include "raster/text.h"
// placeholder: replaced by the lines and text work
const uint8_t FontBitmap[kFontRows * kFontStride] = {};
const int32_t GlyphColumns[kGlyphCount + 1] = {};
uint8_t GlyphMap[256];
void buildGlyphMap() {}
int32_t textWidth(const char*) { return 0; }
void drawText(int32_t, int32_t, int32_t, const char*, int32_t) {}
void drawTextRotated(int32_t, int32_t, int32_t, const char*, int32_t) {}
