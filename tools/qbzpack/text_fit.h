// Texts of a self-contained viewer measured with the viewer's own font and
// glyph map, as its text routine will draw them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qbzpack {

struct TextExtent {
  int32_t advance = 0;    // pen advance, what the viewer centres by
  int32_t inkWidth = 0;   // from the first column to the last set pixel, + 1
  int32_t inkTop = 0;     // first and last glyph row holding a set pixel
  int32_t inkBottom = -1; // (-1: no pixel set at all)
  size_t drawnBytes = 0;  // bytes before the first NUL or '|', where drawing stops
};

TextExtent measureText(const std::string& text);

// How many leading characters fit within width pixels: their ink, or with
// byAdvance their whole advance (what a centred text needs).
size_t charactersThatFit(const std::string& text, int32_t width, bool byAdvance);

// Every character the font has no glyph for (shown as a blank), once each and
// in order; UTF-8 sequences are named whole.
std::vector<std::string> charactersWithoutGlyph(const std::string& text);

}  // namespace qbzpack
