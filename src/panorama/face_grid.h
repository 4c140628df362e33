// The tile corners of each face as one grid of shared vertices, for drawing
// the cube scene at fine tilings. Every tile's four corners are also corners
// of its neighbours, and a vertex's transform depends on its model point
// alone: one grid vertex gives exactly the values each of the tiles that
// share it would get from its own copy. So a run of eight tiles transforms
// 2 x 9 grid vertices (fewer when the run below or the one to its left did
// this frame) instead of 32, and its triangles are made on the fly from the
// grid and one surface record per face, instead of being read from the tiles'
// records spread over the scene's storage. The filler calls are those of
// drawing each tile's own mesh, in the same order, with the same values.
#pragma once

#include <cstdint>

struct RenderContext;

// Builds the grids from the cube scene just built; without them (a tiling
// whose rows do not split into whole runs, see-through tiles, no memory) the
// scene is drawn from the tiles' own meshes.
void buildFaceGrids();
void releaseFaceGrids();
bool faceGridsReady();

// Called once per frame before the first drawGridRun, with the frame's camera
// on top of the matrix stack.
void beginGridFrame();
// Transforms the run's grid vertices of the faces in `faces` (bit f: face f)
// and draws its cells' triangles cell by cell, face by face.
void drawGridRun(RenderContext& context, uint32_t run, uint32_t faces);
