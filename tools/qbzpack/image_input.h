// Loads a PNG or JPEG picture from a file, recognised by its first bytes, and
// flattens any transparency over a background colour. The size is checked
// from the file's header before any pixel memory is taken, and the picture is
// decoded row by row straight into 8-bit RGB.
#pragma once

#include <functional>
#include <string>

#include "qbzpack/image.h"
#include "qbzpack/row_picture.h"

namespace qbzpack {

// Called with the size the header declares, once the tool's own limits hold;
// throws ToolError to refuse the picture before it is decoded.
using SizeCheck = std::function<void(uint32_t width, uint32_t height)>;

struct PictureSize {
  uint32_t width = 0, height = 0;
};

// Only the header: the size, or a ToolError for a file that is not a picture
// the tool takes.
PictureSize readPictureSize(const std::string& path);

RowPicture decodePicture(const std::string& path, Rgb background, const SizeCheck& check = {});
RgbImage loadPicture(const std::string& path, Rgb background, const SizeCheck& check = {});

// Alpha blend of every pixel over the background, rounded to nearest.
RgbImage compositeOver(const RgbaImage& image, Rgb background);
// The same for one row of width RGBA pixels into RGB; returns how many of
// them were not opaque.
size_t compositeRow(const uint8_t* rgba, uint32_t width, Rgb background, uint8_t* rgb);

}  // namespace qbzpack
