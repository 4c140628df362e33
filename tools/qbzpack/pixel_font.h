// A tiny 5 x 7 pixel font (capitals, digits and a little punctuation) for
// labelling test cards; lower case draws as capitals, anything else as blank.
#pragma once

#include <cstdint>
#include <string>

#include "qbzpack/image.h"

namespace qbzpack {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6;  // one blank column between glyphs

// Pixels of a line of text drawn at this scale.
int textWidth(const std::string& text, int scale);
int textHeight(int scale);

// Draws with the top-left corner at (x, y); pixels outside the picture are skipped.
void drawText(RgbImage& picture, int x, int y, const std::string& text, int scale, Rgb colour);

// Fills a rectangle, clipped to the picture.
void fillRect(RgbImage& picture, int x, int y, int width, int height, Rgb colour);

}  // namespace qbzpack
