// The cube the viewer stands in: one TileCell per tile position, each with
// the six faces' quad meshes and surface records.
#pragma once

#include <cstdint>

#include "core/mesh.h"
#include "core/surface.h"
#include "render/matrix.h"
#include "render/pipeline.h"

constexpr char kStandaloneContainerPath[] = "\\Temp\\Test.QBZ";
constexpr int32_t kFaceCount = 6;
constexpr int32_t kTileNameBytes = 24;

struct TileFace {
  Matrix transform;  // identity; the pipeline uses the stack's top instead
  char name[kTileNameBytes];
  int16_t flag;
  Mesh mesh;  // 4 vertices, 2 triangles, arrays owned by the face
};

struct TileCell {
  TileFace faces[kFaceCount];
  SurfaceDescriptor surfaces[kFaceCount];
};

// Signs of x, y, z of the eight cube corners (y up).
extern const int8_t cubeCorners[8][3];

extern uint32_t tilesPerEdge;
extern int32_t halfEdge;
extern TileCell* tileCells;  // tilesPerEdge * tilesPerEdge cells

// The pipeline transforms a face's vertices run by run: kCellsPerRun
// consecutive cells (the last run may be shorter), whose vertices of one face
// are one block of the pool, with a box around them.
constexpr uint32_t kCellsPerRun = 8;
extern uint32_t runCount;
extern VertexBlock* faceRuns;  // runCount * kFaceCount blocks, face by face within a run
// Likewise a face's meshes of consecutive cells have consecutive triangle
// arrays: the frame update reaches a run's triangles from its first cell.

// Boxes around ever larger groups of consecutive runs, so that a part of the
// scene that cannot show is skipped with a few tests: a group of level 1 holds
// kRunsPerGroup runs, one of level L + 1 kRunsPerGroup groups of level L (the
// last ones of a level may hold fewer). The top level has one group.
constexpr uint32_t kRunsPerGroup = 8;
constexpr uint32_t kMaxGroupLevels = 12;
struct GroupLevel {
  uint32_t count;      // groups on this level
  ModelBounds* boxes;  // count * kFaceCount boxes, face by face within a group
};
extern uint32_t groupLevelCount;  // 0 when the scene has one run
extern GroupLevel groupLevels[kMaxGroupLevels];  // index 0 is level 1

// Loads the whole container (the appended one first, else the stand-alone
// file) and gives every tile of every face its surface: texels, masks, mode.
bool loadTileTextures();
// loadTileTextures, then every tile's vertices and triangles and the boxes
// that let whole groups of them be skipped. False when nothing loaded.
bool buildCubeScene();
// Frees the scene; for tests and repeated runs.
void releaseCubeScene();
