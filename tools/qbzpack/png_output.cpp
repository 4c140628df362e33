#include "qbzpack/png_output.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>

#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

// As in the reader: libpng's error callback jumps back into writeRows, whose
// locals are all trivially destructible.
struct PngWriteState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<uint8_t>* out = nullptr;
  char message[256] = "";
};

void onPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngWriteState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", message);
  png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* state = static_cast<PngWriteState*>(png_get_io_ptr(png));
  // An exception must not cross libpng's C frames; report it as a PNG error.
  try {
    state->out->insert(state->out->end(), data, data + length);
  } catch (...) {
    png_error(png, "out of memory");
  }
}

void flushNothing(png_structp) {}

bool writeRows(PngWriteState& state, const RgbImage& picture, png_bytep* rows) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_set_write_fn(state.png, &state, appendBytes, flushNothing);
  png_set_IHDR(state.png, state.info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(state.png, Z_DEFAULT_COMPRESSION);
  png_write_info(state.png, state.info);
  png_write_image(state.png, rows);
  png_write_end(state.png, nullptr);
  return true;
}

}  // namespace

std::vector<uint8_t> encodePng(const RgbImage& picture) {
  std::vector<uint8_t> bytes;
  PngWriteState state;
  state.out = &bytes;
  state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, onPngError, onPngWarning);
  if (state.png) state.info = png_create_info_struct(state.png);
  struct Cleanup {
    PngWriteState& state;
    ~Cleanup() { png_destroy_write_struct(&state.png, &state.info); }
  } cleanup{state};
  if (!state.png || !state.info) throw ToolError("cannot set up the PNG writer");

  std::vector<png_bytep> rows(picture.height);
  for (uint32_t y = 0; y < picture.height; ++y) rows[y] = const_cast<png_bytep>(picture.at(0, y));
  if (!writeRows(state, picture, rows.data())) throw ToolError(std::string("cannot encode PNG (") + state.message + ")");
  return bytes;
}

}  // namespace qbzpack
