#include "panorama/cube_scene.h"
// placeholder: replaced by the panorama work
const int8_t cubeCorners[8][3] = {};
uint32_t tilesPerEdge = 0;
int32_t halfEdge = 0;
TileCell* tileCells = nullptr;
bool loadTileTextures() { return false; }
bool buildCubeScene() { return false; }
void releaseCubeScene() {}
