// Resamples an equirectangular panorama (2:1, longitude across, latitude
// down) onto the six cube faces.
#pragma once

#include <cstdint>

#include "qbzpack/cube_faces.h"
#include "qbzpack/cube_geometry.h"
#include "qbzpack/image.h"

namespace qbzpack {

struct SampleRgb {
  double r, g, b;
};

// Longitude 0 is straight ahead (-z) and grows to the right; latitude grows
// upwards. Bilinear between the four nearest source pixels, wrapping across
// the left and right edges and clamping at the poles.
SampleRgb sampleEquirect(const RgbImage& source, Vec3 direction);

// Sub-samples per face pixel along each axis: a face spans a quarter of the
// source's width, so this many make each sub-sample cover one source pixel
// or less.
uint32_t supersampleFactor(uint32_t sourceWidth, uint32_t faceSize);

// Throws ToolError when the source is not twice as wide as high.
CubeFaces cubeFromEquirect(const RgbImage& source, uint32_t faceSize);

}  // namespace qbzpack
