// The one process-wide container: header copy, pixel store, derived tile
// geometry and the extras an appended trailer brings.
#pragma once

#include <cstdint>

#include "panorama/container_format.h"
#include "panorama/container_reader.h"

struct OverlayBitmap {
  uint32_t width;
  uint32_t height;
  uint32_t pixelCount;
  uint16_t* pixels;  // bottom-up rows, as stored
};

class PanoramaContainer {
 public:
  PanoramaContainer();
  virtual ~PanoramaContainer();
  PanoramaContainer(const PanoramaContainer&) = delete;
  PanoramaContainer& operator=(const PanoramaContainer&) = delete;

  // The container appended to the running executable, with the trailer's
  // settings, texts and overlays (taken even when its pixel store is refused).
  bool loadAppended();
  // A stand-alone container file.
  bool loadFile(const char* path);

  // First texel of tile (face, column, row), or null while there is no store.
  uint16_t* tilePixels(int32_t face, int32_t column, int32_t row) const;
  uint32_t faceSize() const { return header.faceSize; }
  uint32_t tileSize() const { return header.tileSize; }
  int32_t drawMode() const { return header.drawMode; }

  // Frees the pixel store and forgets the header and the tile geometry.
  void releasePixels();
  // Zeroes the texts, overlays and settings (releasing what they held).
  void clearExtras();
  // Back to the state after construction; for tests and repeated runs.
  void release();

  ContainerHeader header{};
  uint16_t* pixels = nullptr;
  uint32_t totalPixels = 0;
  uint32_t pixelsPerFace = 0;
  uint32_t pixelsPerTile = 0;
  uint32_t tilesPerSide = 0;

  char* bannerText = nullptr;
  char* captionText = nullptr;
  OverlayBitmap* overlay1 = nullptr;
  OverlayBitmap* overlay2 = nullptr;
  ViewerSettings settings{};

 private:
  // Takes the parsed store, or forgets the old one when there is none.
  bool adoptStore(ParsedContainer& parsed);
};

extern PanoramaContainer panoramaContainer;
