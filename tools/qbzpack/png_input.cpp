#include "qbzpack/png_input.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

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

bool readHeader(PngReadState& state, std::FILE* file, uint32_t& width, uint32_t& height) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_init_io(state.png, file);
  png_set_user_limits(state.png, kMaxImageEdge, kMaxImageEdge);
  png_read_info(state.png, state.info);
  width = png_get_image_width(state.png, state.info);
  height = png_get_image_height(state.png, state.info);

  // Everything becomes 8-bit RGBA: palettes and small grey depths expand,
  // a tRNS chunk becomes alpha, 16-bit samples are scaled down.
  png_set_expand(state.png);
  png_set_scale_16(state.png);
  png_set_gray_to_rgb(state.png);
  png_set_add_alpha(state.png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(state.png);
  png_read_update_info(state.png, state.info);
  if (png_get_rowbytes(state.png, state.info) != size_t{width} * 4) {
    std::snprintf(state.message, sizeof state.message, "unexpected row layout");
    return false;
  }
  return true;
}

bool readRows(PngReadState& state, png_bytep* rows) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_read_image(state.png, rows);
  png_read_end(state.png, nullptr);
  return true;
}

}  // namespace

RgbaImage readPng(std::FILE* file, const std::string& name) {
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

  uint32_t width = 0, height = 0;
  if (!readHeader(state, file, width, height)) {
    throw ToolError(name + ": not a readable PNG (" + state.message + ")");
  }
  if (width == 0 || height == 0 || width > kMaxImageEdge || height > kMaxImageEdge ||
      uint64_t{width} * height > kMaxImagePixels) {
    throw ToolError(name + ": picture of " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels is larger than the tool accepts");
  }

  RgbaImage image(width, height);
  std::vector<png_bytep> rows(height);
  for (uint32_t y = 0; y < height; ++y) rows[y] = image.at(0, y);
  if (!readRows(state, rows.data())) {
    throw ToolError(name + ": corrupt or truncated PNG (" + state.message + ")");
  }
  return image;
}

}  // namespace qbzpack
