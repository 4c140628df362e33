#include "panorama/cube_scene.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "panorama/panorama_container.h"

const int8_t cubeCorners[8][3] = {
    {-1, -1, +1}, {+1, -1, +1}, {+1, -1, -1}, {-1, -1, -1},
    {-1, +1, +1}, {+1, +1, +1}, {+1, +1, -1}, {-1, +1, -1},
};

uint32_t tilesPerEdge = 0;
int32_t halfEdge = 0;
TileCell* tileCells = nullptr;
uint32_t runCount = 0;
VertexBlock* faceRuns = nullptr;

namespace {

constexpr int32_t kQuadVertices = 4;
constexpr int32_t kQuadTriangles = 2;

// Where each face lies: the corner its tile (0, 0) starts from, and the unit
// steps of a tile column and a tile row. Seen from the centre every face shows
// its columns left to right and its rows bottom to top.
struct FacePlacement {
  const char* word;
  int32_t corner;
  int8_t column[3];
  int8_t row[3];
};

constexpr FacePlacement kFaces[kFaceCount] = {
    {" front", 3, {+1, 0, 0}, {0, +1, 0}}, {" right", 2, {0, 0, +1}, {0, +1, 0}},
    {" back", 1, {-1, 0, 0}, {0, +1, 0}},  {" left", 0, {0, 0, -1}, {0, +1, 0}},
    {" up", 7, {+1, 0, 0}, {0, 0, +1}},    {" down", 0, {+1, 0, 0}, {0, 0, -1}},
};

// The scene's vertex and triangle storage, one block each for all faces.
MeshVertex* vertexPool = nullptr;
MeshTriangle* trianglePool = nullptr;

// The point reached from the face's starting corner by `across` texels along
// its columns and `up` texels along its rows.
Vec3s facePoint(const FacePlacement& placement, int32_t across, int32_t up) {
  const int8_t* corner = cubeCorners[placement.corner];
  int16_t coordinate[3];
  for (int axis = 0; axis < 3; ++axis) {
    coordinate[axis] = static_cast<int16_t>(corner[axis] * halfEdge + placement.column[axis] * across +
                                            placement.row[axis] * up);
  }
  return Vec3s{coordinate[0], coordinate[1], coordinate[2]};
}

void nameTile(TileFace& face, const char* word, uint32_t column, uint32_t row) {
  char name[64];
  const int written = std::snprintf(name, sizeof name, "Demo Quarn%s [%u, %u]", word, column, row);
  // Cut to the field; two-digit positions of the longer face words overrun it.
  size_t length = written > 0 ? static_cast<size_t>(written) : 0;
  if (length > kTileNameBytes - 1) length = kTileNameBytes - 1;
  std::memcpy(face.name, name, length);
  face.name[length] = '\0';
}

void buildQuad(TileFace& face, SurfaceDescriptor& surface, const FacePlacement& placement, uint32_t column,
               uint32_t row, int32_t t, MeshVertex* vertices, MeshTriangle* triangles) {
  const int32_t left = static_cast<int32_t>(column) * t;
  const int32_t bottom = static_cast<int32_t>(row) * t;
  vertices[0].model = facePoint(placement, left, bottom);
  vertices[1].model = facePoint(placement, left + t, bottom);
  vertices[2].model = facePoint(placement, left + t, bottom + t);
  vertices[3].model = facePoint(placement, left, bottom + t);
  for (int32_t k = 0; k < kQuadVertices; ++k) vertices[k].baseLight = 1;

  // The last texel of the tile in sixteenths, in both directions.
  const int16_t last = static_cast<int16_t>(16 * (t - 1));
  MeshVertex* v = vertices;
  triangles[0] = MeshTriangle{{{&v[0], 0, 0}, {&v[1], last, 0}, {&v[2], last, last}}, &surface};
  triangles[1] = MeshTriangle{{{&v[0], 0, 0}, {&v[2], last, last}, {&v[3], 0, last}}, &surface};

  nameTile(face, placement.word, column, row);
  face.flag = 1;
  matrixIdentity(face.transform);
  face.mesh = Mesh{kQuadVertices, vertices, kQuadTriangles, triangles};
}

// The block of a face's vertices over the cells first..first+count-1, and their box.
VertexBlock vertexRun(int32_t face, size_t first, size_t count, size_t cellCount) {
  MeshVertex* vertices = vertexPool + (static_cast<size_t>(face) * cellCount + first) * kQuadVertices;
  const int32_t vertexCount = static_cast<int32_t>(count) * kQuadVertices;
  ModelBounds box{vertices[0].model, vertices[0].model};
  for (int32_t n = 1; n < vertexCount; ++n) {
    const Vec3s& p = vertices[n].model;
    box.low = Vec3s{std::min(box.low.x, p.x), std::min(box.low.y, p.y), std::min(box.low.z, p.z)};
    box.high = Vec3s{std::max(box.high.x, p.x), std::max(box.high.y, p.y), std::max(box.high.z, p.z)};
  }
  return VertexBlock{Mesh{vertexCount, vertices, 0, nullptr}, box};
}

}  // namespace

bool loadTileTextures() {
  releaseCubeScene();
  PanoramaContainer& container = panoramaContainer;
  if (!container.loadAppended() && !container.loadFile(kStandaloneContainerPath)) return false;

  const uint32_t t = container.tileSize();
  tilesPerEdge = container.faceSize() / t;
  const size_t cellCount = static_cast<size_t>(tilesPerEdge) * tilesPerEdge;
  tileCells = new (std::nothrow) TileCell[cellCount]();
  if (tileCells == nullptr) {
    tilesPerEdge = 0;
    return false;
  }

  const int32_t ts = static_cast<int32_t>(t);
  // Half of the whole edge, so that a cube of an odd tile count is centred too.
  halfEdge = static_cast<int32_t>(tilesPerEdge) * ts / 2;
  for (int32_t f = 0; f < kFaceCount; ++f) {
    for (uint32_t j = 0; j < tilesPerEdge; ++j) {
      for (uint32_t i = 0; i < tilesPerEdge; ++i) {
        SurfaceDescriptor& surface = tileCells[j * tilesPerEdge + i].surfaces[f];
        surface.cullBackFaces = 1;
        surface.vScale = ts;  // the texel row length, so every row of the tile shows
        surface.vExtent = ts - 1;
        surface.blendMode = container.drawMode();
        surface.uMask = (ts - 1) << 16;
        surface.vMask = ((ts - 1) * ts) << 16;
        surface.texels = container.tilePixels(f, static_cast<int32_t>(i), static_cast<int32_t>(j));
      }
    }
  }
  return true;
}

bool buildCubeScene() {
  if (!loadTileTextures()) return false;

  const size_t cellCount = static_cast<size_t>(tilesPerEdge) * tilesPerEdge;
  const size_t faceCount = cellCount * kFaceCount;
  vertexPool = new (std::nothrow) MeshVertex[faceCount * kQuadVertices]();
  trianglePool = new (std::nothrow) MeshTriangle[faceCount * kQuadTriangles]();
  const size_t runs = (cellCount + kCellsPerRun - 1) / kCellsPerRun;
  faceRuns = new (std::nothrow) VertexBlock[runs * kFaceCount]();
  if (vertexPool == nullptr || trianglePool == nullptr || faceRuns == nullptr) {
    releaseCubeScene();
    return false;
  }

  const int32_t t = static_cast<int32_t>(panoramaContainer.tileSize());
  for (int32_t f = 0; f < kFaceCount; ++f) {
    for (size_t k = 0; k < cellCount; ++k) {
      const uint32_t i = static_cast<uint32_t>(k % tilesPerEdge);
      const uint32_t j = static_cast<uint32_t>(k / tilesPerEdge);
      const size_t faceIndex = static_cast<size_t>(f) * cellCount + k;
      buildQuad(tileCells[k].faces[f], tileCells[k].surfaces[f], kFaces[f], i, j, t,
                vertexPool + faceIndex * kQuadVertices, trianglePool + faceIndex * kQuadTriangles);
    }
  }
  for (size_t run = 0; run < runs; ++run) {
    const size_t first = run * kCellsPerRun;
    const size_t count = std::min<size_t>(kCellsPerRun, cellCount - first);
    for (int32_t f = 0; f < kFaceCount; ++f) faceRuns[run * kFaceCount + f] = vertexRun(f, first, count, cellCount);
  }
  runCount = static_cast<uint32_t>(runs);
  return true;
}

void releaseCubeScene() {
  delete[] vertexPool;
  delete[] trianglePool;
  delete[] tileCells;
  delete[] faceRuns;
  faceRuns = nullptr;
  runCount = 0;
  vertexPool = nullptr;
  trianglePool = nullptr;
  tileCells = nullptr;
  tilesPerEdge = 0;
  halfEdge = 0;
}
