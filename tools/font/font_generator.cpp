// Renders the viewer's bitmap font with FreeType and writes it as C++ source
// (src/raster/font_bitmap.cpp). Run once by hand; the output is committed.
//
//   font_generator [--font PATH] [--size PIXELS] [--threshold LEVEL] [--output PATH]
//
// Every glyph is rendered upright (upper case: one glyph serves both cases),
// squeezed horizontally if it is wider than its columns allow, centred in its
// columns with at least the last column left empty as the gap to the next
// glyph, and set on one common baseline. Grey levels become intensities 0..7;
// levels below the threshold are dropped, because the default text routine
// sets every non-zero pixel at full strength.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "raster/text.h"

namespace {

struct Options {
  std::string font = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";
  std::string output = "src/raster/font_bitmap.cpp";
  int size = 15;
  int threshold = 2;  // smallest intensity kept (1..7)
};

// The character each glyph shows; glyph 40 is the blank.
constexpr char kGlyphCharacters[kGlyphCount + 1] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ.,': ;-";

struct Rendered {
  int width = 0, rows = 0, top = 0;  // top: rows above the baseline
  std::vector<unsigned char> grey;   // rows x width coverage, 0..255
};

bool render(FT_Face face, char c, double squeeze, Rendered& out) {
  FT_Matrix matrix{static_cast<FT_Fixed>(std::lround(squeeze * 65536.0)), 0, 0, 0x10000};
  FT_Set_Transform(face, &matrix, nullptr);
  if (FT_Load_Char(face, static_cast<unsigned char>(c), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) return false;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  out.width = static_cast<int>(bitmap.width);
  out.rows = static_cast<int>(bitmap.rows);
  out.top = face->glyph->bitmap_top;
  out.grey.assign(static_cast<size_t>(out.width) * out.rows, 0);
  for (int r = 0; r < out.rows; ++r)
    std::memcpy(&out.grey[static_cast<size_t>(r) * out.width], bitmap.buffer + r * bitmap.pitch,
                static_cast<size_t>(out.width));
  return true;
}

// Columns actually inked (the bitmap may carry empty margins).
void inkColumns(const Rendered& g, int& first, int& end) {
  first = g.width;
  end = 0;
  for (int r = 0; r < g.rows; ++r)
    for (int c = 0; c < g.width; ++c)
      if (g.grey[static_cast<size_t>(r) * g.width + c] != 0) {
        first = std::min(first, c);
        end = std::max(end, c + 1);
      }
  if (end < first) first = end = 0;
}

int quantise(int grey, int threshold) {
  const int level = (grey * 7 + 127) / 255;
  return level < threshold ? 0 : level;
}

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    const char* value = argv[i + 1];
    if (key == "--font") options.font = value;
    else if (key == "--output") options.output = value;
    else if (key == "--size") options.size = std::atoi(value);
    else if (key == "--threshold") options.threshold = std::atoi(value);
    else return false;
  }
  return (argc % 2) == 1 && options.size > 4 && options.threshold >= 1 && options.threshold <= 7;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr, "usage: font_generator [--font PATH] [--size PIXELS] [--threshold 1..7] [--output PATH]\n");
    return 2;
  }
  FT_Library library;
  FT_Face face;
  if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, options.font.c_str(), 0, &face) != 0) {
    std::fprintf(stderr, "cannot open %s\n", options.font.c_str());
    return 1;
  }
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(options.size));

  // Baseline: the capitals' top sits on row 1, leaving the rows below the
  // baseline for the tails of ",", ";", "Q" and "J".
  Rendered capital;
  if (!render(face, 'H', 1.0, capital)) return 1;
  const int baseline = 1 + capital.top;

  std::vector<unsigned char> bitmap(static_cast<size_t>(kFontRows) * kFontStride, 0);
  for (int g = 0; g < kGlyphCount; ++g) {
    if (g == kBlankGlyph) continue;
    const int start = GlyphColumns[g];
    const int room = GlyphColumns[g + 1] - start - 1;  // the last column stays empty
    Rendered glyph;
    int first = 0, end = 0;
    double squeeze = 1.0;
    for (;;) {
      if (!render(face, kGlyphCharacters[g], squeeze, glyph)) return 1;
      inkColumns(glyph, first, end);
      if (end - first <= room || squeeze < 0.5) break;
      squeeze *= 0.97;
    }
    const int left = start + (room - (end - first)) / 2 - first;
    for (int r = 0; r < glyph.rows; ++r) {
      const int row = baseline - glyph.top + r;
      if (row < 0 || row >= kFontRows) continue;
      for (int c = first; c < end; ++c) {
        const int column = left + c;
        if (column < start || column >= start + room) continue;
        bitmap[static_cast<size_t>(row) * kFontStride + column] =
            static_cast<unsigned char>(quantise(glyph.grey[static_cast<size_t>(r) * glyph.width + c], options.threshold));
      }
    }
    if (squeeze < 1.0) std::fprintf(stderr, "glyph '%c' squeezed to %.2f\n", kGlyphCharacters[g], squeeze);
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);

  FILE* out = std::fopen(options.output.c_str(), "w");
  if (out == nullptr) {
    std::fprintf(stderr, "cannot write %s\n", options.output.c_str());
    return 1;
  }
  const char* fontName = std::strrchr(options.font.c_str(), '/');
  fontName = fontName != nullptr ? fontName + 1 : options.font.c_str();
  std::fprintf(out,
               "// The built-in font: 15 rows of 439 intensity bytes, glyphs side by side.\n"
               "// Generated by tools/font/font_generator (size %d, threshold %d) from\n"
               "// %s of the DejaVu fonts (Debian package fonts-dejavu-core).\n"
               "// Copyright (c) 2003 by Bitstream, Inc. All Rights Reserved. Bitstream Vera is a\n"
               "// trademark of Bitstream, Inc. DejaVu changes are in the public domain. Used under\n"
               "// the Bitstream Vera font licence (free to use, copy, modify and distribute).\n"
               "// Do not edit by hand: rerun the generator.\n"
               "#include \"raster/text.h\"\n\n"
               "const uint8_t FontBitmap[kFontRows * kFontStride] = {\n",
               options.size, options.threshold, fontName);
  for (int row = 0; row < kFontRows; ++row) {
    std::fprintf(out, "    // row %d\n", row);
    for (int g = 0; g < kGlyphCount; ++g) {
      std::fprintf(out, "    ");
      for (int column = GlyphColumns[g]; column < GlyphColumns[g + 1]; ++column)
        std::fprintf(out, "%d,", bitmap[static_cast<size_t>(row) * kFontStride + column]);
      if (g == kBlankGlyph) std::fprintf(out, "  // blank\n");
      else std::fprintf(out, "  // %c\n", kGlyphCharacters[g]);
    }
  }
  std::fprintf(out, "};\n");
  std::fclose(out);
  return 0;
}
