#include "qbzpack/colour_index.h"

#include <cctype>
#include <cmath>

#include "qbzpack/tool_error.h"

namespace qbzpack {

int nearestLevel(double intensity) {
  const double level = std::floor((intensity - 7.0) / 8.0 + 0.5);
  if (!(level > 0.0)) return 0;  // also catches NaN
  return level >= 31.0 ? 31 : static_cast<int>(level);
}

uint16_t storedIndexOf(Rgb colour) {
  return packLevels(nearestLevel(colour.r), nearestLevel(colour.g), nearestLevel(colour.b), 0);
}

int32_t textColourOf(Rgb colour) {
  return packLevels(nearestLevel(colour.r), nearestLevel(colour.g), nearestLevel(colour.b), 1);
}

Rgb colourOfStoredIndex(uint16_t index) {
  return {static_cast<uint8_t>(levelIntensity((index >> 11) & 31)),
          static_cast<uint8_t>(levelIntensity((index >> 6) & 31)),
          static_cast<uint8_t>(levelIntensity((index >> 1) & 31))};
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
