#include "qbzpack/png_input.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "qbzpack/progress.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

// libpng reports errors by calling back and never returning; the callback
// jumps back to the setjmp of the stage that made the call. Each stage below
// keeps only trivially destructible locals, so the jump skips no destructor;
// everything that owns memory lives in the caller, between the stages.
struct PngReadState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  char message[256] = "";
};

void onPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngReadState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", message);
  png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

struct PngLayout {
  uint32_t width = 0, height = 0;
  bool alpha = false;  // rows come as RGBA, to be laid over the background
  int passes = 1;      // 7 for an interlaced file
};

bool readHeader(PngReadState& state, std::FILE* file, PngLayout& layout) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_init_io(state.png, file);
  png_set_user_limits(state.png, kMaxImageEdge, kMaxImageEdge);
  png_read_info(state.png, state.info);
  layout.width = png_get_image_width(state.png, state.info);
  layout.height = png_get_image_height(state.png, state.info);
  layout.alpha = (png_get_color_type(state.png, state.info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                 png_get_valid(state.png, state.info, PNG_INFO_tRNS) != 0;

  // Everything becomes 8-bit RGB, or RGBA when there is transparency:
  // palettes and small grey depths expand, a tRNS chunk becomes alpha,
  // 16-bit samples are scaled down.
  png_set_expand(state.png);
  png_set_scale_16(state.png);
  png_set_gray_to_rgb(state.png);
  layout.passes = png_set_interlace_handling(state.png);
  png_read_update_info(state.png, state.info);
  if (png_get_rowbytes(state.png, state.info) != size_t{layout.width} * (layout.alpha ? 4 : 3)) {
    std::snprintf(state.message, sizeof state.message, "unexpected row layout");
    return false;
  }
  return true;
}

bool readRow(PngReadState& state, png_bytep row) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_read_row(state.png, row, nullptr);
  return true;
}

bool readEnd(PngReadState& state) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_read_end(state.png, nullptr);
  return true;
}

}  // namespace

RowPicture readPng(std::FILE* file, const std::string& name, Rgb background, const SizeCheck& check) {
  PngReadState state;
  state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, onPngError, onPngWarning);
  if (state.png) state.info = png_create_info_struct(state.png);
  if (!state.png || !state.info) {
    png_destroy_read_struct(&state.png, &state.info, nullptr);
    throw ToolError(name + ": cannot set up the PNG reader");
  }
  struct Cleanup {
    PngReadState& state;
    ~Cleanup() { png_destroy_read_struct(&state.png, &state.info, nullptr); }
  } cleanup{state};

  PngLayout layout;
  if (!readHeader(state, file, layout)) {
    throw ToolError(name + ": not a readable PNG (" + state.message + ")");
  }
  const uint32_t width = layout.width, height = layout.height;
  if (width == 0 || height == 0 || width > kMaxImageEdge || height > kMaxImageEdge ||
      uint64_t{width} * height > kMaxImagePixels) {
    throw ToolError(name + ": picture of " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels is larger than the tool accepts");
  }
  if (check) check(width, height);

  const auto truncated = [&] { return ToolError(name + ": corrupt or truncated PNG (" + state.message + ")"); };
  RowPicture picture(width, height);
  Progress progress("reading " + name, uint64_t{height} * layout.passes);
  if (!layout.alpha) {
    // Interlaced files revisit every row in each pass; the rows stay where they are.
    for (int pass = 0; pass < layout.passes; ++pass) {
      for (uint32_t y = 0; y < height; ++y) {
        if (!readRow(state, picture.rowForWriting(y))) throw truncated();
        progress.advance();
      }
    }
  } else if (layout.passes == 1) {
    std::vector<uint8_t> rgba(size_t{width} * 4);
    for (uint32_t y = 0; y < height; ++y) {
      if (!readRow(state, rgba.data())) throw truncated();
      picture.addSeeThrough(compositeRow(rgba.data(), width, background, picture.rowForWriting(y)));
      progress.advance();
    }
  } else {
    // An interlaced file with transparency is only whole after the last pass.
    RowPicture rgba(width, height, 4);
    for (int pass = 0; pass < layout.passes; ++pass) {
      for (uint32_t y = 0; y < height; ++y) {
        if (!readRow(state, rgba.rowForWriting(y))) throw truncated();
        progress.advance();
      }
    }
    for (uint32_t y = 0; y < height; ++y) {
      picture.addSeeThrough(compositeRow(rgba.row(y), width, background, picture.rowForWriting(y)));
    }
  }
  if (!readEnd(state)) throw truncated();
  return picture;
}

}  // namespace qbzpack
