// Resamples an equirectangular panorama (2:1, longitude across, latitude
// down) onto the six cube faces.
#pragma once

#include <cstdint>

#include "qbzpack/cube_faces.h"
#include "qbzpack/cube_geometry.h"
#include "qbzpack/image.h"
#include "qbzpack/picture_sampling.h"
#include "qbzpack/progress.h"
#include "qbzpack/row_picture.h"

namespace qbzpack {

// Throws ToolError unless the picture is twice as wide as high; checked from
// the header, before the picture is decoded.
void checkEquirectShape(uint32_t width, uint32_t height);

// Longitude 0 is straight ahead (-z) and grows to the right; latitude grows
// upwards. Bilinear between the four nearest source pixels, wrapping across
// the left and right edges and clamping at the poles.
SampleRgb sampleEquirect(const RowPicture& source, Vec3 direction);

// Sub-samples per face pixel along each axis: a face spans a quarter of the
// source's width, so this many make each sub-sample cover one source pixel
// or less.
uint32_t supersampleFactor(uint32_t sourceWidth, uint32_t faceSize);

// One face, its rows spread over the worker threads; each row advances progress.
RgbImage equirectFace(const RowPicture& source, int face, uint32_t faceSize, Progress& progress);

// All six faces at once. Throws ToolError when the source is not 2:1.
CubeFaces cubeFromEquirect(const RgbImage& source, uint32_t faceSize);

}  // namespace qbzpack
