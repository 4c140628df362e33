// The common end of `pack` and `testcard`: faces to colour indices in store
// order, then a stand-alone container or a self-contained viewer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "qbzpack/container_output.h"
#include "qbzpack/cube_faces.h"
#include "qbzpack/view_settings.h"

namespace qbzpack {

constexpr uint32_t kDefaultFaceSize = 512;
constexpr uint32_t kDefaultTileSize = 32;
// Viewer executables (and web viewer pages) larger than this are refused as input.
constexpr uint64_t kLargestViewer = uint64_t{256} << 20;

struct OutputRequest {
  std::string output;
  bool raw = false;
  bool best = false;  // deflate at level 9 instead of 6
  bool dither = true;
  uint32_t tileSize = kDefaultTileSize;
  int32_t drawMode = 0;
  Rgb background{};
  std::string viewer;  // empty: a stand-alone container
  std::string html;       // also (or only) a web page holding viewer and panorama
  std::string webViewer;  // the web build's qbzview.html; empty: the one beside qbzpack
  ViewOptions view;
};

// Sizes and mode the viewer accepts; throws a usage ToolError otherwise.
void checkGeometry(uint32_t faceSize, uint32_t tileSize, int32_t drawMode);

// Everything that can fail before the panorama work starts: the settings,
// the overlays and the viewer executable.
struct PreparedOutput {
  std::vector<uint8_t> viewer;
  std::string webViewerPage;
  AppendedExtras extras;
};
PreparedOutput prepareOutput(const OutputRequest& request);

// Gives the picture of one face (faceSize square, rows top first). Faces are
// asked for in store order, one at a time, so only one is held at once.
using FaceSource = std::function<RgbImage(int face)>;

// The panorama in store order, as the container writer takes it.
PanoramaImage panoramaFromFaces(const FaceSource& faceAt, uint32_t faceSize, uint32_t tileSize, int32_t drawMode,
                                bool dither);
PanoramaImage panoramaFromFaces(const CubeFaces& cube, uint32_t tileSize, int32_t drawMode, bool dither);

// Compresses and writes the panorama; its pixels are released once compressed.
void writePanorama(PanoramaImage image, const OutputRequest& request, const PreparedOutput& prepared);
void writePanorama(const CubeFaces& cube, const OutputRequest& request, const PreparedOutput& prepared);

}  // namespace qbzpack
