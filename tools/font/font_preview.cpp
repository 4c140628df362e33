// Shows the built-in font as the viewer shows it: every glyph drawn with the
// default text routine into the frame buffer, turned to the 240 x 320 portrait
// screen and written as a grey PNG, optionally enlarged.
//
//   font_preview OUTPUT.png [SCALE]
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/frame_buffer.h"
#include "core/screen.h"
#include "raster/text.h"
#include "raster/raster_stage.h"

namespace {


bool writeGreyPng(const char* path, const std::vector<png_byte>& pixels, int width, int height) {
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_GRAY,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) png_write_row(png, &pixels[static_cast<size_t>(y) * width]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: font_preview OUTPUT.png [SCALE]\n");
    return 2;
  }
  const int scale = argc > 2 ? std::atoi(argv[2]) : 1;
  if (scale < 1 || scale > 16) return 2;

  buildGlyphMap();
  frameBufferReset();
  // Screen position (x, y) of a text's top-left corner: frame row x, offset y + 1.
  const char* lines[] = {"0123456789",          "ABCDEFGHIJKLM", "NOPQRSTUVWXYZ",      ".,':;-",
                         "The quick brown fox", "jumps over the", "lazy dog: 1,234.5;", "Don't look - now.",
                         "Panorama 360, WIDE", "Sphinx of black", "quartz, judge my vow"};
  int y = 4;
  for (const char* line : lines) {
    drawTextRotated(4, y + 1, 1, line, 0);
    y += 18;
  }
  drawTextRotated(0, y + 1, 1, "Centred caption", 1);

  std::vector<png_byte> screen(static_cast<size_t>(kScreenWidth * scale) * kScreenHeight * scale, 0);
  for (int row = 0; row < kFrameRows; ++row)
    for (int column = 0; column < kFrameColumns; ++column) {
      if (FrameBuffer[row * kFrameColumns + column] == 0) continue;
      const int sx = row;
      const int sy = kScreenHeight - 1 - column;
      for (int dy = 0; dy < scale; ++dy)
        for (int dx = 0; dx < scale; ++dx)
          screen[static_cast<size_t>(sy * scale + dy) * kScreenWidth * scale + sx * scale + dx] = 255;
    }
  if (!writeGreyPng(argv[1], screen, kScreenWidth * scale, kScreenHeight * scale)) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
