// The per-tile texture and drawing record handed to the fillers.
#pragma once

#include <cstdint>

enum BlendMode : int32_t {
  BlendOpaque = 0,      // write colour and depth
  BlendKeyed = 1,       // as opaque; a texel of value 0 is skipped
  BlendMixed = 2,       // average with the stored colour; depth unchanged
  BlendMixedKeyed = 3,  // as mixed; a texel of value 0 is skipped
};

struct SurfaceDescriptor {
  int32_t cullBackFaces;   // non-zero: back-facing triangles are dropped
  int32_t vScale;          // texel row length as the fillers use it
  int32_t vExtent;         // largest v texel index; no filler reads it
  int32_t blendMode;       // BlendMode
  int32_t uMask;           // (W - 1) << 16
  int32_t vMask;           // ((H - 1) * W) << 16
  const uint16_t* texels;  // row-major colour indices
  int32_t reserved;        // not read
  uint16_t flatColour;     // colour of the flat filler
};
