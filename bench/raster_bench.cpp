// Fill rate of the affine filler over a whole frame of 32 x 32 pixel tiles,
// two triangles each, textured from 16 x 16 texel tiles.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "core/frame_buffer.h"
#include "core/mesh.h"
#include "core/render_context.h"
#include "core/surface.h"
#include "raster/raster_stage.h"
#include "raster/reciprocal_tables.h"

namespace {

constexpr int16_t kTileSide = 32;
constexpr int16_t kTexels = 16;
constexpr int16_t kTexelEnd = 16 * (kTexels - 1);

struct TileGrid {
  static constexpr int32_t columns = kFrameColumns / kTileSide;
  static constexpr int32_t rows = (kFrameRows + kTileSide - 1) / kTileSide;  // the last row is cut by the frame
  std::vector<MeshVertex> vertices;
  std::vector<uint16_t> texels;
  SurfaceDescriptor surface{};

  TileGrid() : vertices((columns + 1) * (rows + 1)), texels(kTexels * kTexels) {
    for (size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<uint16_t>(0x1000 + i * 37);
    surface.vScale = kTexels;
    surface.uMask = (kTexels - 1) << 16;
    surface.vMask = ((kTexels - 1) * kTexels) << 16;
    surface.texels = texels.data();
    for (int32_t r = 0; r <= rows; ++r)
      for (int32_t c = 0; c <= columns; ++c) {
        MeshVertex& v = vertex(r, c);
        v.screenX = static_cast<int16_t>(c * kTileSide);
        v.screenY = static_cast<int16_t>(r * kTileSide);
        v.shade = 1;
      }
  }
  MeshVertex& vertex(int32_t r, int32_t c) { return vertices[r * (columns + 1) + c]; }
  void setDepth(int16_t depth) {
    for (MeshVertex& v : vertices) v.depth = depth;
  }
  // Every tile as the scene splits it: corners (0,0) (1,0) (1,1) and (0,0) (1,1) (0,1), in row order.
  void draw() {
    for (int32_t r = 0; r < rows; ++r)
      for (int32_t c = 0; c < columns; ++c) {
        fillTriangleAffine(&vertex(r, c), 0, 0, &vertex(r, c + 1), kTexelEnd, 0, &vertex(r + 1, c + 1), kTexelEnd,
                           kTexelEnd, &surface);
        fillTriangleAffine(&vertex(r, c), 0, 0, &vertex(r + 1, c + 1), kTexelEnd, kTexelEnd, &vertex(r + 1, c), 0,
                           kTexelEnd, &surface);
      }
  }
};

void BM_AffineFillRate(benchmark::State& state) {
  buildReciprocalTables();
  TileGrid grid;
  std::fill(FrameBuffer, FrameBuffer + kFrameCells, kClearCell);
  // Each frame one depth step nearer, so every pixel passes the depth test as in a fresh frame.
  int16_t depth = 4000;
  for (auto _ : state) {
    if (depth < 65) {
      std::fill(FrameBuffer, FrameBuffer + kFrameCells, kClearCell);
      depth = 4000;
    }
    grid.setDepth(depth--);
    grid.draw();
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] = benchmark::Counter(static_cast<double>(state.iterations()) * kFrameCells,
                                                benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AffineFillRate);

}  // namespace
