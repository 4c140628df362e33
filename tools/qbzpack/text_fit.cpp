#include "qbzpack/text_fit.h"

#include <algorithm>

#include "raster/raster_stage.h"
#include "raster/text.h"

namespace qbzpack {

namespace {

// The viewer's text ends at its first NUL or '|'.
size_t drawnLength(const std::string& text) { return std::min(text.find('|'), text.size()); }

int32_t glyphOf(char c) {
  static const bool built = (buildGlyphMap(), true);
  (void)built;
  return GlyphMap[static_cast<uint8_t>(c)];
}

// Length of the UTF-8 sequence that starts with this byte (1 for anything
// that does not start a sequence).
size_t sequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  return lead >= 0xC0 ? 2 : 1;
}

}  // namespace

TextExtent measureText(const std::string& text) {
  TextExtent extent;
  extent.drawnBytes = drawnLength(text);
  extent.inkTop = kFontRows;
  for (size_t k = 0; k < extent.drawnBytes; ++k) {
    const int32_t g = glyphOf(text[k]);
    for (int32_t j = GlyphColumns[g]; j < GlyphColumns[g + 1]; ++j) {
      for (int32_t i = 0; i < kFontRows; ++i) {
        if (FontBitmap[i * kFontStride + j] == 0) continue;
        extent.inkWidth = extent.advance + (j - GlyphColumns[g]) + 1;
        extent.inkTop = std::min(extent.inkTop, i);
        extent.inkBottom = std::max(extent.inkBottom, i);
      }
    }
    extent.advance += GlyphColumns[g + 1] - GlyphColumns[g];
  }
  if (extent.inkBottom < 0) extent.inkTop = 0;
  return extent;
}

size_t charactersThatFit(const std::string& text, int32_t width, bool byAdvance) {
  size_t fitting = 0;
  for (size_t k = 1; k <= drawnLength(text); ++k) {
    const TextExtent extent = measureText(text.substr(0, k));
    if ((byAdvance ? extent.advance : extent.inkWidth) <= width) fitting = k;
    else break;
  }
  return fitting;
}

std::vector<std::string> charactersWithoutGlyph(const std::string& text) {
  std::vector<std::string> missing;
  for (size_t k = 0; k < text.size();) {
    const size_t length = std::min(sequenceLength(static_cast<unsigned char>(text[k])), text.size() - k);
    const std::string character = text.substr(k, length);
    k += length;
    if (character == " " || (length == 1 && glyphOf(character[0]) != kBlankGlyph)) continue;
    if (std::find(missing.begin(), missing.end(), character) == missing.end()) missing.push_back(character);
  }
  return missing;
}

}  // namespace qbzpack
