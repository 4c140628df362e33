#include "qbzpack/colour_index.h"

#include <cctype>
#include <cmath>

#include "display/colour_lookup.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

// 5-6-5 channel to 8 bits by repeating its top bits below it, as the
// screenshots and the desktop window widen the display's pixels.
int widened(uint32_t value, int bits) { return static_cast<int>((value << (8 - bits)) | (value >> (2 * bits - 8))); }

using ShownTable = std::array<std::array<int, kLevelCount>, 3>;

// Read off the viewer's own colour lookup, so the tool measures against what
// the screen shows whatever that lookup does.
ShownTable readShownIntensities() {
  // Built once; a viewer in the same process may have built it already
  // (index 0xFFFF, full-brightness white, is 0xFFFF only in a built table).
  if (ColourLookup[0xFFFF] != 0xFFFF) buildColourLookup();
  ShownTable table{};
  for (int level = 0; level < kLevelCount; ++level) {
    table[0][level] = widened(ColourLookup[packLevels(level, 0, 0, 1)] >> 11, 5);
    table[1][level] = widened((ColourLookup[packLevels(0, level, 0, 1)] >> 5) & 0x3F, 6);
    table[2][level] = widened(ColourLookup[packLevels(0, 0, level, 1)] & 0x1F, 5);
  }
  return table;
}

const ShownTable& shownTable() {
  static const ShownTable table = readShownIntensities();
  return table;
}

}  // namespace

const std::array<int, kLevelCount>& shownIntensities(int channel) { return shownTable()[channel]; }

int nearestLevel(int channel, double intensity) {
  const std::array<int, kLevelCount>& shown = shownIntensities(channel);
  if (!(intensity > shown[0])) return 0;  // also catches NaN
  if (intensity >= shown[kLevelCount - 1]) return kLevelCount - 1;
  // Shown intensities rise by 8 or 9 a level: start at the estimate and step.
  int level = static_cast<int>(intensity / 8.0);
  if (level > kLevelCount - 2) level = kLevelCount - 2;
  while (level > 0 && shown[level] > intensity) --level;
  while (level < kLevelCount - 2 && shown[level + 1] <= intensity) ++level;
  return intensity - shown[level] <= shown[level + 1] - intensity ? level : level + 1;
}

uint16_t storedIndexOf(Rgb colour) {
  return packLevels(nearestLevel(0, colour.r), nearestLevel(1, colour.g), nearestLevel(2, colour.b), 0);
}

int32_t textColourOf(Rgb colour) { return storedIndexOf(colour) | 1; }

Rgb shownColourOfLevels(int r, int g, int b) {
  return {static_cast<uint8_t>(shownIntensities(0)[r]), static_cast<uint8_t>(shownIntensities(1)[g]),
          static_cast<uint8_t>(shownIntensities(2)[b])};
}

Rgb colourOfStoredIndex(uint16_t index) {
  return shownColourOfLevels((index >> 11) & 31, (index >> 6) & 31, (index >> 1) & 31);
}

Rgb parseRgb(const std::string& text, const std::string& what) {
  std::string digits = text;
  if (digits.size() > 0 && digits[0] == '#') digits.erase(0, 1);
  else if (digits.size() > 1 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) digits.erase(0, 2);
  bool valid = digits.size() == 6;
  for (char c : digits) valid = valid && std::isxdigit(static_cast<unsigned char>(c));
  if (!valid) throw ToolError(what + ": '" + text + "' is not an RGB colour like FF9700", true);
  const unsigned long value = std::stoul(digits, nullptr, 16);
  return {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

}  // namespace qbzpack
