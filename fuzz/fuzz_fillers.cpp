// Feeds arbitrary triangles to every filler of the triangleFiller slot: three
// vertices with u and v, and a surface with arbitrary row length, masks and
// blend mode. A texel index is a 16.16 sum shifted down by 16, so it lies in
// -32768..32767 whatever the masks: the texture spans all of that range.
#include <cstring>

#include "core/frame_buffer.h"
#include "core/mesh.h"
#include "core/render_context.h"
#include "core/surface.h"
#include "fuzz_support.h"
#include "raster/lines.h"
#include "raster/raster_stage.h"
#include "raster/reciprocal_tables.h"

namespace {

constexpr int32_t kTexelCount = 65536;
uint16_t texture[kTexelCount];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    buildReciprocalTables();
    for (int32_t i = 0; i < kTexelCount; ++i) texture[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
    return true;
  }();
  (void)ready;
  fuzz::Reader in{data, size};
  MeshVertex vertices[3]{};
  int16_t u[3], v[3];
  for (int i = 0; i < 3; ++i) {
    MeshVertex& p = vertices[i];
    for (int16_t* field : {&p.screenX, &p.screenY, &p.depth, &p.shade, &u[i], &v[i]}) *field = static_cast<int16_t>(in.u16());
  }
  const int16_t shape = static_cast<int16_t>(in.u16());
  SurfaceDescriptor surface{};
  surface.vScale = static_cast<int32_t>(in.u32());
  surface.vExtent = static_cast<int16_t>(in.u16());
  surface.blendMode = static_cast<int16_t>(in.u16());
  surface.uMask = static_cast<int32_t>(in.u32());
  surface.vMask = static_cast<int32_t>(in.u32());
  surface.texels = texture + kTexelCount / 2;
  surface.flatColour = in.u16();
  if (shape & 0x4000) std::memset(FrameBuffer, 0, sizeof FrameBuffer);

  for (TriangleFiller filler : {fillTriangleAffine, fillTrianglePerspective, fillTriangleFlat, drawTriangleWire}) {
    filler(&vertices[0], u[0], v[0], &vertices[1], u[1], v[1], &vertices[2], u[2], v[2], &surface);
  }
  return 0;
}
