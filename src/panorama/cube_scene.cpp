#include "panorama/cube_scene.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "panorama/face_grid.h"
#include "panorama/panorama_container.h"
#include "render/depth_buckets.h"

const int8_t cubeCorners[8][3] = {
    {-1, -1, +1}, {+1, -1, +1}, {+1, -1, -1}, {-1, -1, -1},
    {-1, +1, +1}, {+1, +1, +1}, {+1, +1, -1}, {-1, +1, -1},
};

uint32_t tilesPerEdge = 0;
int32_t halfEdge = 0;
TileCell* tileCells = nullptr;
uint32_t runCount = 0;
VertexBlock* faceRuns = nullptr;
uint32_t groupLevelCount = 0;
GroupLevel groupLevels[kMaxGroupLevels] = {};

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
ModelBounds* groupBoxPool = nullptr;  // the boxes of every group level

ModelBounds unite(const ModelBounds& a, const ModelBounds& b) {
  return ModelBounds{Vec3s{std::min(a.low.x, b.low.x), std::min(a.low.y, b.low.y), std::min(a.low.z, b.low.z)},
                     Vec3s{std::max(a.high.x, b.high.x), std::max(a.high.y, b.high.y), std::max(a.high.z, b.high.z)}};
}

// The group levels over the runs, each box the union of its members' boxes.
bool buildGroupLevels(size_t runs) {
  size_t total = 0;
  uint32_t levels = 0;
  for (size_t members = runs; members > 1 && levels < kMaxGroupLevels; ++levels) {
    members = (members + kRunsPerGroup - 1) / kRunsPerGroup;
    groupLevels[levels].count = static_cast<uint32_t>(members);
    total += members;
  }
  if (levels == 0) return true;
  groupBoxPool = new (std::nothrow) ModelBounds[total * kFaceCount];
  if (groupBoxPool == nullptr) return false;
  ModelBounds* next = groupBoxPool;
  for (uint32_t level = 0; level < levels; ++level) {
    GroupLevel& group = groupLevels[level];
    group.boxes = next;
    next += static_cast<size_t>(group.count) * kFaceCount;
    const size_t members = level == 0 ? runs : groupLevels[level - 1].count;
    for (size_t n = 0; n < group.count; ++n) {
      for (int32_t f = 0; f < kFaceCount; ++f) {
        const size_t first = n * kRunsPerGroup;
        const size_t end = std::min<size_t>(members, first + kRunsPerGroup);
        ModelBounds box{};
        for (size_t m = first; m < end; ++m) {
          const ModelBounds& member =
              level == 0 ? faceRuns[m * kFaceCount + f].bounds : groupLevels[level - 1].boxes[m * kFaceCount + f];
          box = m == first ? member : unite(box, member);
        }
        group.boxes[n * kFaceCount + f] = box;
      }
    }
  }
  groupLevelCount = levels;
  return true;
}

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
  if (!buildGroupLevels(runs)) {
    releaseCubeScene();
    return false;
  }
  // Every see-through triangle may be visible in one frame (fine tilings show
  // thousands): the depth buckets get room for all of them now, once.
  const bool seeThrough = panoramaContainer.drawMode() >= BlendMixed;
  if (!bucketsReserve(depthBuckets, seeThrough ? static_cast<int64_t>(faceCount) * kQuadTriangles : 0)) {
    releaseCubeScene();
    return false;
  }
  buildFaceGrids();
  return true;
}

void releaseCubeScene() {
  releaseFaceGrids();
  delete[] vertexPool;
  delete[] trianglePool;
  delete[] tileCells;
  delete[] faceRuns;
  delete[] groupBoxPool;
  faceRuns = nullptr;
  groupBoxPool = nullptr;
  groupLevelCount = 0;
  for (GroupLevel& level : groupLevels) level = GroupLevel{};
  runCount = 0;
  vertexPool = nullptr;
  trianglePool = nullptr;
  tileCells = nullptr;
  tilesPerEdge = 0;
  halfEdge = 0;
}
