#include "qbzpack/inspect_commands.h"

#include <cstdio>

#include "qbzpack/colour_index.h"
#include "qbzpack/container_reading.h"
#include "qbzpack/cube_faces.h"
#include "qbzpack/store_layout.h"
#include "qbzpack/testcard_command.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

std::string angle(int32_t units) {
  char text[48];
  std::snprintf(text, sizeof text, "%du (%.1f degrees)", units, units * 360.0 / 2048.0);
  return text;
}

void printSettings(const LoadedPanorama& p, std::ostream& out) {
  const ContainerTrailer& t = *p.trailer;
  const ViewerSettings& s = t.settings;
  out << "trailer:        container at " << t.containerOffset << ", banner at " << t.bannerOffset << ", caption at "
      << t.captionOffset << ", overlay 1 at " << t.overlay1Offset << ", overlay 2 at " << t.overlay2Offset
      << ", trailer size " << t.trailerSize << "\n";
  out << "start view:     yaw " << angle(s.initialYaw) << ", pitch " << angle(s.initialPitch) << ", zoom "
      << s.initialZoom << (s.initialZoom == 0 ? " (viewer default 130)" : "") << "\n";
  out << "pitch limits:   " << angle(s.pitchMin) << (s.pitchMin == 0 ? " (viewer default -512u)" : "") << " to "
      << angle(s.pitchMax) << (s.pitchMax == 0 ? " (viewer default 512u)" : "") << "\n";
  out << "zoom limits:    " << s.zoomMin << " to " << s.zoomMax << "\n";
  out << "banner:         " << (p.hasBanner ? "\"" + p.banner + "\"" : std::string("none")) << ", colour "
      << hex(static_cast<uint32_t>(s.bannerColour)) << ", shown until frame " << s.bannerFrames << "\n";
  out << "caption:        " << (p.hasCaption ? "\"" + p.caption + "\"" : std::string("none")) << ", colour "
      << hex(static_cast<uint32_t>(s.captionColour)) << ", at (" << s.captionX << ", " << s.captionY << ")\n";
  out << "overlay 1:      " << s.overlay1Width << " x " << s.overlay1Height << " at (" << s.overlay1X << ", "
      << s.overlay1Y << ")" << (t.overlay1Offset == 0 ? ", none stored" : "") << "\n";
  out << "overlay 2:      " << s.overlay2Width << " x " << s.overlay2Height << " at (" << s.overlay2X << ", "
      << s.overlay2Y << ")" << (t.overlay2Offset == 0 ? ", none stored" : "") << "\n";
}

// The likeliest reason the loader refused the file, from the raw records.
std::string refusalReason(const LoadedPanorama& p) {
  if (p.loaded) return "";
  if (p.hasTrailer && !p.trailer) return " (trailer cut short)";
  if (!p.header) return " (no container header)";
  if (std::string(p.header->magic, 4) != std::string(kContainerMagic, 4)) return " (no QBZP magic)";
  if (!isAcceptedGeometry(p.header->faceSize, p.header->tileSize)) {
    return " (it needs a power-of-two tile size of 2..128, a face size from the tile size to 2048 and at most 256 "
           "tiles along a face edge)";
  }
  return " (pixel store short or damaged)";
}

}  // namespace

bool runInfo(const std::string& path, std::ostream& out) {
  const LoadedPanorama p = readPanoramaFile(path);
  out << "file:           " << path << " (" << p.fileBytes << " bytes)\n";
  out << "kind:           " << (p.hasTrailer ? "self-contained viewer (appended container)" : "stand-alone container")
      << "\n";
  if (p.header) {
    const ContainerHeader& h = *p.header;
    const bool magicOk = std::string(h.magic, 4) == std::string(kContainerMagic, 4);
    out << "header:         magic " << (magicOk ? "QBZP" : "wrong") << ", version " << h.version << ", header size "
        << h.headerSize << "\n";
    out << "faces:          " << h.faceSize << " pixels, tiles of " << h.tileSize << ", draw mode " << h.drawMode
        << "\n";
    out << "pixel store:    "
        << (h.compressedSize == 0 ? std::string("raw") : "compressed, " + std::to_string(h.compressedSize) + " bytes")
        << "\n";
  } else {
    out << "header:         missing\n";
  }
  if (p.loaded) {
    out << "geometry:       " << p.tilesPerSide << " x " << p.tilesPerSide << " tiles per face, " << p.pixelsPerTile
        << " texels per tile, " << p.pixelsPerFace << " per face, " << p.totalPixels << " in all\n";
  }
  if (p.trailer) printSettings(p, out);
  else if (p.hasTrailer) out << "trailer:        cut short\n";
  out << "viewer loads:   " << (p.loaded ? "yes" : "no") << refusalReason(p) << "\n";
  return p.loaded;
}

void runExtract(const std::string& path, const std::string& directory) {
  const LoadedPanorama p = readPanoramaFile(path);
  if (!p.loaded || !p.header) throw ToolError(path + ": the viewer would not load this file");
  // Faces whose size is not a whole number of tiles keep only the stored tiles.
  const uint32_t tileSize = p.header->tileSize;
  const uint32_t edge = p.tilesPerSide * tileSize;
  if (edge == 0 || p.pixels.size() != size_t{kFaceCount} * edge * edge) throw ToolError(path + ": no pixels stored");
  const auto indices = facesFromStore(p.pixels.data(), edge, tileSize);
  CubeFaces cube;
  cube.faceSize = edge;
  for (int face = 0; face < kFaceCount; ++face) {
    cube.faces[face] = RgbImage(edge, edge);
    for (uint32_t y = 0; y < edge; ++y) {
      for (uint32_t x = 0; x < edge; ++x) {
        setPixel(cube.faces[face], x, y, colourOfStoredIndex(indices[face][size_t{y} * edge + x]));
      }
    }
  }
  writeFacePictures(cube, directory);
}

}  // namespace qbzpack
