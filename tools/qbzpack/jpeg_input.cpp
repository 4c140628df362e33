#include "qbzpack/jpeg_input.h"

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <vector>

#include "qbzpack/progress.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

// The library reports errors through error_exit, which must not return; it
// jumps back to the setjmp of the stage that made the call. As with the PNG
// reader, stages keep only trivially destructible locals.
struct JpegErrorState {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr info) {
  auto* state = reinterpret_cast<JpegErrorState*>(info->err);
  (*info->err->format_message)(info, state->message);
  std::longjmp(state->jump, 1);
}

// Warnings (level -1) are what the library gives for corrupt or missing data,
// filling in grey; such a picture is refused rather than packed.
void onJpegMessage(j_common_ptr info, int level) {
  if (level < 0) onJpegError(info);
}

bool readHeader(jpeg_decompress_struct& info, JpegErrorState& errors, std::FILE* file) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  return true;
}

bool startDecompress(jpeg_decompress_struct& info, JpegErrorState& errors) {
  if (setjmp(errors.jump)) return false;
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  return true;
}

bool readRow(jpeg_decompress_struct& info, JpegErrorState& errors, JSAMPROW row) {
  if (setjmp(errors.jump)) return false;
  jpeg_read_scanlines(&info, &row, 1);
  return true;
}

bool finishDecompress(jpeg_decompress_struct& info, JpegErrorState& errors) {
  if (setjmp(errors.jump)) return false;
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

RowPicture readJpeg(std::FILE* file, const std::string& name, const SizeCheck& check) {
  jpeg_decompress_struct info{};
  JpegErrorState errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = onJpegError;
  errors.manager.emit_message = onJpegMessage;
  struct Cleanup {
    jpeg_decompress_struct& info;
    ~Cleanup() { jpeg_destroy_decompress(&info); }
  } cleanup{info};

  if (!readHeader(info, errors, file)) {
    throw ToolError(name + ": not a readable JPEG (" + errors.message + ")");
  }
  const uint32_t width = info.image_width, height = info.image_height;
  if (width == 0 || height == 0 || width > kMaxImageEdge || height > kMaxImageEdge ||
      uint64_t{width} * height > kMaxImagePixels) {
    throw ToolError(name + ": picture of " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels is larger than the tool accepts");
  }
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
    throw ToolError(name + ": CMYK JPEGs are not supported; save it as RGB");
  }
  if (check) check(width, height);
  if (!startDecompress(info, errors)) {
    throw ToolError(name + ": corrupt JPEG (" + errors.message + ")");
  }
  if (info.output_width != width || info.output_height != height || info.output_components != 3) {
    throw ToolError(name + ": unexpected JPEG output layout");
  }
  const auto truncated = [&] { return ToolError(name + ": corrupt or truncated JPEG (" + errors.message + ")"); };
  RowPicture picture(width, height);
  Progress progress("reading " + name, height);
  while (info.output_scanline < height) {
    if (!readRow(info, errors, picture.rowForWriting(info.output_scanline))) throw truncated();
    progress.advance();
  }
  if (!finishDecompress(info, errors)) throw truncated();
  return picture;
}

}  // namespace qbzpack
