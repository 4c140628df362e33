#include "panorama/face_grid.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

#include "core/mesh.h"
#include "panorama/cube_scene.h"
#include "panorama/panorama_container.h"
#include "render/matrix.h"
#include "render/pipeline.h"
#include "render/tile_quad.h"

namespace {

uint32_t gridEdge = 0;              // vertices per grid row: tilesPerEdge + 1; 0 without grids
MeshVertex* gridPool = nullptr;     // kFaceCount grids, each row-major from the face's tile (0, 0)
uint32_t* runStamps = nullptr;      // per run and face: the frame whose grid vertices it transformed
uint32_t* runRows = nullptr;        // per run: its tile row (kept, so a frame divides nothing)
uint32_t frameStamp = 0;
SurfaceDescriptor faceSurfaces[kFaceCount];  // a face's tiles' surface; texels set per tile
const uint16_t* faceTexels[kFaceCount];      // texels of the face's tile (0, 0)
size_t texelsPerTile = 0;
int16_t lastTexel = 0;  // the tile's last texel in sixteenths, as in its mesh
int32_t sparseAcross = 0;  // tiles whose diagonal spans fewer pixels read their texels sparsely
ModelStep rowSteps[kFaceCount];  // per face: between neighbours along a grid row
TransformSums rowStepSums[kFaceCount];  // transformSums of rowSteps with this frame's camera
bool evenRows = false;           // every grid row steps by its face's rowSteps
constexpr size_t kCacheLine = 64;

// Whether every row of the grid steps by one vector, computed as integers: the
// model points are cut to 16 bits when the scene is made, and a coordinate
// that wrapped there breaks the even steps transformEvenRow relies on.
bool rowsStepEvenly(const MeshVertex* grid, uint32_t edge, ModelStep& step) {
  const Vec3s& a = grid[0].model;
  const Vec3s& b = grid[1].model;
  step = ModelStep{b.x - a.x, b.y - a.y, b.z - a.z};
  for (uint32_t j = 0; j < edge; ++j) {
    const MeshVertex* row = grid + static_cast<size_t>(j) * edge;
    const Vec3s& first = row[0].model;
    for (uint32_t i = 1; i < edge; ++i) {
      const Vec3s& p = row[i].model;
      const int32_t k = static_cast<int32_t>(i);
      if (p.x != first.x + k * step.x || p.y != first.y + k * step.y || p.z != first.z + k * step.z) return false;
    }
  }
  return true;
}

MeshVertex* gridOf(int32_t face) { return gridPool + static_cast<size_t>(face) * gridEdge * gridEdge; }

// A tile that covers few pixels for its texels (more than two texels per pixel
// along its diagonal) reads them sparsely: each pixel row of it reads another
// texel row, a cache line of its own that the processor's prefetcher does not
// see coming, so every read waits on memory. The tiles of a run lie side by
// side and are about the same size, so when the run's first tile is sparse,
// each tile's texels are asked for one tile ahead, while the tile before it is
// drawn. Larger tiles read their rows densely enough for the hardware. Nothing
// is read from the texels here: no picture depends on it.
bool sparseTile(const MeshVertex* corner, size_t edge) {
  const MeshVertex& a = corner[0];
  const MeshVertex& b = corner[edge + 1];  // the opposite corner
  return a.depth != 0 && b.depth != 0 &&
         std::abs(b.screenX - a.screenX) + std::abs(b.screenY - a.screenY) < sparseAcross;
}

// Whether every corner of the run's tiles (its two grid rows) is visible and
// inFrameCorner: its tiles then need no test each.
bool runInFrame(const MeshVertex* corner, size_t edge) {
  for (size_t i = 0; i <= kCellsPerRun; ++i) {
    const MeshVertex& a = corner[i];
    const MeshVertex& b = corner[edge + i];
    if (a.depth == 0 || b.depth == 0 || !inFrameCorner(a) || !inFrameCorner(b)) return false;
  }
  return true;
}

// Prefetches the lines Line..., written out: no loop steps between them.
template <size_t... Line>
[[gnu::always_inline]] inline void prefetchLines(const char* bytes, std::index_sequence<Line...>) {
  (__builtin_prefetch(bytes + Line * kCacheLine), ...);
}

// Always inline: as a function of its own, GCC 12 finds that it has no effect
// (a prefetch does not count) and drops the calls. The common tile sizes (32,
// 16 and 8 texels on an edge: 32, 8 and 2 cache lines) have their lines
// written out.
[[gnu::always_inline]] inline void prefetchTile(const uint16_t* texels) {
  const char* bytes = reinterpret_cast<const char*>(texels);
  const size_t size = texelsPerTile * sizeof(uint16_t);
  if (size == 32 * kCacheLine) return prefetchLines(bytes, std::make_index_sequence<32>{});
  if (size == 8 * kCacheLine) return prefetchLines(bytes, std::make_index_sequence<8>{});
  if (size == 2 * kCacheLine) return prefetchLines(bytes, std::make_index_sequence<2>{});
  for (size_t at = 0; at < size; at += kCacheLine) __builtin_prefetch(bytes + at);
}

}  // namespace

void buildFaceGrids() {
  releaseFaceGrids();
  const uint32_t n = tilesPerEdge;
  if (n < kCellsPerRun || n % kCellsPerRun != 0 || tileCells == nullptr || panoramaContainer.pixels == nullptr) return;
  const SurfaceDescriptor& first = tileCells[0].surfaces[0];
  if (first.blendMode >= BlendMixed) return;  // see-through tiles are queued by their own records
  const size_t edge = size_t{n} + 1;
  gridPool = new (std::nothrow) MeshVertex[kFaceCount * edge * edge]();
  runStamps = new (std::nothrow) uint32_t[static_cast<size_t>(runCount) * kFaceCount]();
  runRows = new (std::nothrow) uint32_t[runCount];
  if (gridPool == nullptr || runStamps == nullptr || runRows == nullptr) {
    releaseFaceGrids();
    return;
  }
  gridEdge = static_cast<uint32_t>(edge);
  evenRows = true;
  for (uint32_t run = 0; run < runCount; ++run) runRows[run] = run / (n / kCellsPerRun);
  for (int32_t f = 0; f < kFaceCount; ++f) {
    MeshVertex* grid = gridOf(f);
    // Grid point (column i, row j) is corner 0 of tile (i, j); the last column
    // and row are the other corners of the last tiles.
    for (uint32_t j = 0; j <= n; ++j) {
      for (uint32_t i = 0; i <= n; ++i) {
        const uint32_t ti = std::min(i, n - 1), tj = std::min(j, n - 1);
        const int32_t corner = i == n ? (j == n ? 2 : 1) : (j == n ? 3 : 0);
        const MeshVertex& from = tileCells[tj * n + ti].faces[f].mesh.vertices[corner];
        MeshVertex& to = grid[j * edge + i];
        to.model = from.model;
        to.baseLight = from.baseLight;
        to.normal = from.normal;
      }
    }
    if (!rowsStepEvenly(grid, gridEdge, rowSteps[f])) evenRows = false;
    faceSurfaces[f] = tileCells[0].surfaces[f];
    faceTexels[f] = tileCells[0].surfaces[f].texels;
  }
  texelsPerTile = n > 1 ? static_cast<size_t>(tileCells[1].surfaces[0].texels - tileCells[0].surfaces[0].texels) : 0;
  lastTexel = tileCells[0].faces[0].mesh.triangles[0].corners[1].u;
  sparseAcross = (lastTexel / 16 + 1) / 2;  // half the tile's edge in texels
  frameStamp = 0;
}

void releaseFaceGrids() {
  delete[] gridPool;
  delete[] runStamps;
  delete[] runRows;
  gridPool = nullptr;
  runStamps = nullptr;
  runRows = nullptr;
  gridEdge = 0;
}

bool faceGridsReady() { return gridEdge != 0; }

void beginGridFrame() {
  if (++frameStamp == 0) {  // after 2^32 frames: no stamp may look current
    std::fill(runStamps, runStamps + static_cast<size_t>(runCount) * kFaceCount, 0u);
    frameStamp = 1;
  }
  const Matrix& camera = *matrixStack.top;
  for (int32_t f = 0; f < kFaceCount; ++f) {
    rowStepSums[f] = transformSums(camera, rowSteps[f].x, rowSteps[f].y, rowSteps[f].z);
  }
}

void drawGridRun(RenderContext& context, uint32_t run, uint32_t faces) {
  // Runs split the face's rows evenly: the run's first cell is run x 8, the
  // run below is runsPerRow runs back, and its first tile's corner 0 is one
  // grid vertex further per row (a grid row is one vertex longer than a tile row).
  const uint32_t runsPerRow = tilesPerEdge / kCellsPerRun;  // a shift
  const uint32_t row = runRows[run];
  const size_t firstCell = static_cast<size_t>(run) * kCellsPerRun;
  const size_t corner = firstCell + row;
  const bool leftInRow = run != 0 && runRows[run - 1] == row;
  // The shown faces' first tiles, kept in locals: the filler calls below could
  // change any global this file holds, so the compiler would reload them per tile.
  struct ShownFace {
    MeshVertex* corner;  // the run's first tile's corner 0
    SurfaceDescriptor* surface;
    const uint16_t* texels;  // of the run's first tile
    bool fillInline;
    bool sparse;  // set once the grid rows are transformed
    bool inside;  // likewise: every tile is visible and inside the frame, filled inline
    InFrameTiles tiles;  // when inside
  };
  ShownFace shown[kFaceCount];
  int32_t shownCount = 0;
  for (int32_t face = 0; face < kFaceCount; ++face) {
    if ((faces >> face & 1u) == 0) continue;
    // Field by field: the tile records are made only for a run found inside.
    ShownFace& shownFace = shown[shownCount++];
    shownFace.corner = gridOf(face) + corner;
    shownFace.surface = &faceSurfaces[face];
    shownFace.texels = faceTexels[face] + firstCell * texelsPerTile;
    shownFace.fillInline = tilesFillInline(context, faceSurfaces[face], lastTexel);
    // The bottom row is the top row of the run below: transformed already when that run was drawn.
    const bool bottomDone =
        row != 0 && runStamps[static_cast<size_t>(run - runsPerRow) * kFaceCount + face] == frameStamp;
    // Likewise both rows' first vertices are the last ones of the run to the left.
    const int32_t skip = leftInRow && runStamps[static_cast<size_t>(run - 1) * kFaceCount + face] == frameStamp ? 1 : 0;
    MeshVertex* bottom = gridOf(face) + corner + skip;
    const int32_t count = static_cast<int32_t>(kCellsPerRun) + 1 - skip;
    if (evenRows) {
      if (!bottomDone) transformEvenRow(context, bottom, count, rowStepSums[face]);
      transformEvenRow(context, bottom + gridEdge, count, rowStepSums[face]);
    } else {
      Mesh bottomRow{count, bottom, 0, nullptr};
      if (!bottomDone) transformVertices(context, bottomRow);
      Mesh topRow{count, bottom + gridEdge, 0, nullptr};
      transformVertices(context, topRow);
    }
    runStamps[static_cast<size_t>(run) * kFaceCount + face] = frameStamp;
  }
  const int16_t last = lastTexel;
  const size_t edge = gridEdge;
  const size_t tileTexels = texelsPerTile;
  for (int32_t k = 0; k < shownCount; ++k) {
    shown[k].sparse = sparseTile(shown[k].corner, edge);
    if (shown[k].sparse) prefetchTile(shown[k].texels);
    shown[k].inside = shown[k].fillInline && runInFrame(shown[k].corner, edge);
    if (shown[k].inside) shown[k].tiles = inFrameTiles(last, shown[k].surface);
  }
  for (uint32_t n = 0; n < kCellsPerRun; ++n) {
    for (int32_t k = 0; k < shownCount; ++k) {
      ShownFace& face = shown[k];
      MeshVertex* v = face.corner + n;  // the tile's corners: v[0], v[1], w[1], w[0]
      MeshVertex* w = v + edge;
      const uint16_t* texels = face.texels + n * tileTexels;
      if (face.sparse && n + 1 < kCellsPerRun) prefetchTile(face.texels + (n + 1) * tileTexels);
      if (face.inside) {
        fillTileInFrame(face.tiles, v, v + 1, w + 1, w, texels);
      } else {
        face.surface->texels = texels;
        drawTileQuad(context, v, v + 1, w + 1, w, last, face.surface, face.fillInline);
      }
    }
  }
}
