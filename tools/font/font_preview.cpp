// Shows the built-in font as the viewer shows it: every glyph drawn with the
// default text routine into the frame buffer, turned to the 240 x 320 portrait
// screen and written as a grey PNG, optionally enlarged.
//
//   font_preview OUTPUT.png [SCALE]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/frame_buffer.h"
#include "core/screen.h"
#include "platform/atomic_file.h"
#include "platform/png_writer.h"
#include "raster/raster_stage.h"
#include "raster/text.h"

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

  std::vector<uint8_t> screen(static_cast<size_t>(kScreenWidth * scale) * kScreenHeight * scale, 0);
  for (int row = 0; row < kFrameRows; ++row)
    for (int column = 0; column < kFrameColumns; ++column) {
      if (FrameBuffer[row * kFrameColumns + column] == 0) continue;
      const int sx = row;
      const int sy = kScreenHeight - 1 - column;
      for (int dy = 0; dy < scale; ++dy)
        for (int dx = 0; dx < scale; ++dx)
          screen[static_cast<size_t>(sy * scale + dy) * kScreenWidth * scale + sx * scale + dx] = 255;
    }
  const std::vector<uint8_t> png = platform::encodePng(screen, kScreenWidth * scale, kScreenHeight * scale,
                                                       platform::PngColour::Grey);
  if (png.empty() || !platform::writeFileAtomically(argv[1], png)) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
