#include "qbzpack/test_card.h"

#include <algorithm>
#include <string>

#include "qbzpack/colour_index.h"
#include "qbzpack/pixel_font.h"

namespace qbzpack {

namespace {

Rgb fromLevels(int r, int g, int b) { return shownColourOfLevels(r, g, b); }

struct FaceStyle {
  const char* label;
  int r, g, b;  // levels of the lighter checker tiles
};

constexpr FaceStyle kStyles[kFaceCount] = {
    {"FRONT", 29, 15, 14}, {"RIGHT", 14, 27, 14}, {"BACK", 14, 19, 30},
    {"LEFT", 29, 27, 10},  {"UP", 12, 27, 29},    {"DOWN", 27, 15, 29},
};

const Rgb kInk = fromLevels(2, 2, 3);
const Rgb kGridLine = fromLevels(4, 4, 4);

// An upward arrow whose tip is at (centre, top), height h.
void drawUpArrow(RgbImage& picture, int centre, int top, int h, Rgb colour) {
  const int headHeight = h * 2 / 5;
  const int shaft = std::max(1, h / 8);
  for (int row = 0; row < headHeight; ++row) {
    const int halfWidth = (row * h * 3 / 10) / std::max(1, headHeight);
    fillRect(picture, centre - halfWidth, top + row, 2 * halfWidth + 1, 1, colour);
  }
  fillRect(picture, centre - shaft / 2, top + headHeight, shaft, h - headHeight, colour);
}

void drawCentred(RgbImage& picture, int centreX, int centreY, const std::string& text, int scale, Rgb colour) {
  drawText(picture, centreX - textWidth(text, scale) / 2, centreY - textHeight(scale) / 2, text, scale, colour);
}

RgbImage makeFace(int face, uint32_t faceSize, uint32_t tileSize) {
  const int size = static_cast<int>(faceSize), tile = static_cast<int>(tileSize);
  const FaceStyle& style = kStyles[face];
  const Rgb light = fromLevels(style.r, style.g, style.b);
  const Rgb dark = fromLevels(style.r - 3, style.g - 3, style.b - 3);
  RgbImage picture(faceSize, faceSize);

  for (int y = 0; y < size; ++y) {
    const int b = size - 1 - y;  // rows count from the bottom
    for (int a = 0; a < size; ++a) {
      const bool line = a % tile == 0 || b % tile == 0 || a == size - 1 || b == size - 1;
      const bool odd = ((a / tile) + (b / tile)) % 2 == 1;
      setPixel(picture, static_cast<uint32_t>(a), static_cast<uint32_t>(y), line ? kGridLine : (odd ? dark : light));
    }
  }

  // Tile rows numbered in the first column, tile columns along the bottom row,
  // where a number fits inside its tile.
  const int tiles = size / tile;
  const int numberScale = std::max(1, tile / 16);
  if (textHeight(numberScale) + 3 <= tile) {
    for (int j = 0; j < tiles; ++j) {
      const std::string number = std::to_string(j);
      if (textWidth(number, numberScale) + 3 > tile) continue;
      const int tileTop = size - (j + 1) * tile;
      drawText(picture, 2, tileTop + (tile - textHeight(numberScale)) / 2, number, numberScale, kInk);
    }
    for (int i = 1; i < tiles; ++i) {
      const std::string number = std::to_string(i);
      if (textWidth(number, numberScale) + 3 > tile) continue;
      drawText(picture, i * tile + (tile - textWidth(number, numberScale)) / 2,
               size - tile + (tile - textHeight(numberScale)) / 2, number, numberScale, kInk);
    }
  }

  const std::string label = style.label;
  const int labelScale = std::max(1, (size * 11 / 20) / textWidth("FRONT", 1));
  drawCentred(picture, size / 2, size / 2, label, labelScale, kInk);
  const int arrowHeight = size / 5;
  drawUpArrow(picture, size / 2, size / 2 - textHeight(labelScale) / 2 - arrowHeight - size / 24, arrowHeight, kInk);
  return picture;
}

void paste(RgbImage& target, const RgbImage& source, uint32_t left, uint32_t top) {
  for (uint32_t y = 0; y < source.height; ++y) {
    std::copy_n(source.at(0, y), size_t{source.width} * 3, target.at(left, top + y));
  }
}

}  // namespace

CubeFaces makeTestCard(uint32_t faceSize, uint32_t tileSize) {
  CubeFaces cube;
  cube.faceSize = faceSize;
  for (int face = 0; face < kFaceCount; ++face) cube.faces[face] = makeFace(face, faceSize, tileSize);
  return cube;
}

RgbImage unfoldedCross(const CubeFaces& cube) {
  const uint32_t f = cube.faceSize;
  RgbImage cross(4 * f, 3 * f);
  fillRect(cross, 0, 0, static_cast<int>(4 * f), static_cast<int>(3 * f), fromLevels(5, 5, 5));
  paste(cross, cube.faces[4], f, 0);          // up
  paste(cross, cube.faces[3], 0, f);          // left
  paste(cross, cube.faces[0], f, f);          // front
  paste(cross, cube.faces[1], 2 * f, f);      // right
  paste(cross, cube.faces[2], 3 * f, f);      // back
  paste(cross, cube.faces[5], f, 2 * f);      // down

  // Notes in the empty corners; the widest left-hand line fills 4/5 of a face.
  const int scale = std::max(1, static_cast<int>(f) * 4 / 5 / textWidth("THE CENTRE", 1));
  const Rgb note = fromLevels(28, 28, 28);
  const int line = textHeight(scale) * 3 / 2;
  const int left = static_cast<int>(f) / 12, top = static_cast<int>(f) / 8;
  drawText(cross, left, top, "SEEN FROM", scale, note);
  drawText(cross, left, top + line, "THE CENTRE", scale, note);
  drawText(cross, left, top + 3 * line, "ROWS COUNT", scale, note);
  drawText(cross, left, top + 4 * line, "FROM THE", scale, note);
  drawText(cross, left, top + 5 * line, "BOTTOM", scale, note);
  const int right = static_cast<int>(2 * f) + left;
  drawText(cross, right, top, "FRONT: STRAIGHT", scale, note);
  drawText(cross, right, top + line, "AHEAD AT YAW 0", scale, note);
  drawText(cross, right, top + 3 * line, "UP: TILT UP FROM", scale, note);
  drawText(cross, right, top + 4 * line, "THE FRONT VIEW", scale, note);
  return cross;
}

}  // namespace qbzpack
