#include "qbzpack/inspect_commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>

#include "qbzpack/colour_index.h"
#include "qbzpack/file_output.h"
#include "qbzpack/progress.h"
#include "qbzpack/store_layout.h"
#include "qbzpack/tool_error.h"
#include "qbzpack/view_settings.h"
#include "qbzpack/whole_view.h"

namespace qbzpack {

namespace {

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

// A trailer text as it can be shown on a terminal: quotes around it, and
// control bytes, non-ASCII bytes, quotes and backslashes escaped.
std::string quoted(const std::string& text) {
  std::string shown = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      shown.push_back('\\');
      shown.push_back(c);
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      shown.append(escape);
    } else {
      shown.push_back(c);
    }
  }
  return shown + "\"";
}

// Refuses, each with its own plain message, what is no container file at all:
// a directory, a file larger than the viewer can read, or a file with neither
// the container's magic at the start nor a trailer's at the end.
void checkContainerFile(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) throw ToolError(path + ": is a directory, not a container file");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw ToolError(path + ": cannot open (" + std::strerror(errno) + ")");
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > static_cast<uintmax_t>(std::numeric_limits<int32_t>::max())) {
    throw ToolError(path + ": " + std::to_string(size) +
                    " bytes is too large for a container; the viewer reads files under 2 GiB");
  }
  char start[4] = {}, end[4] = {};
  const bool hasStart = std::fread(start, 1, 4, file.get()) == 4;
  const bool hasEnd = hasStart && std::fseek(file.get(), -4, SEEK_END) == 0 && std::fread(end, 1, 4, file.get()) == 4;
  const bool containerStart = hasStart && std::memcmp(start, kContainerMagic, 4) == 0;
  if (!containerStart && !(hasEnd && std::memcmp(end, kTrailerMagic, 4) == 0)) {
    throw ToolError(path + ": not a QBZ container");
  }
}

std::string angle(int32_t units) {
  char text[48];
  std::snprintf(text, sizeof text, "%du (%.1f degrees)", units, units * 360.0 / 2048.0);
  return text;
}

// The viewer's pitch grows downwards; people read elevations, positive up.
std::string elevation(int32_t pitch) {
  char text[48];
  // Negated in 64 bits: a trailer may hold -2^31, whose negation leaves int32.
  std::snprintf(text, sizeof text, "%.1f degrees", static_cast<double>(-int64_t{pitch}) * 360.0 / 2048.0);
  return text;
}

std::string storedPitch(int32_t pitch, const char* fallback) {
  return std::to_string(pitch) + "u" + (pitch == 0 ? std::string(" (viewer default ") + fallback + ")" : "");
}

void printSettings(const ParsedContainer& p, std::ostream& out) {
  const ContainerTrailer& t = *p.trailer;
  const ViewerSettings& s = t.settings;
  out << "trailer:        container at " << t.containerOffset << ", banner at " << t.bannerOffset << ", caption at "
      << t.captionOffset << ", overlay 1 at " << t.overlay1Offset << ", overlay 2 at " << t.overlay2Offset
      << ", trailer size " << t.trailerSize << "\n";
  out << "start view:     yaw " << angle(s.initialYaw) << ", pitch " << elevation(s.initialPitch) << " (stored "
      << s.initialPitch << "u), zoom " << s.initialZoom << (s.initialZoom == 0 ? " (viewer default 130)" : "") << "\n";
  // The lowest elevation is the viewer's highest pitch.
  const int32_t highestPitch = s.pitchMax == 0 ? 512 : s.pitchMax, lowestPitch = s.pitchMin == 0 ? -512 : s.pitchMin;
  out << "pitch limits:   " << elevation(highestPitch) << " to " << elevation(lowestPitch) << " (stored min "
      << storedPitch(s.pitchMin, "-512u") << ", max " << storedPitch(s.pitchMax, "512u") << ")\n";
  out << "zoom limits:    " << s.zoomMin << " to " << s.zoomMax << "\n";
  out << "banner:         " << (p.banner ? quoted(p.banner.get()) : std::string("none")) << ", colour "
      << hex(static_cast<uint32_t>(s.bannerColour)) << ", shown until frame " << s.bannerFrames << "\n";
  out << "caption:        " << (p.caption ? quoted(p.caption.get()) : std::string("none")) << ", colour "
      << hex(static_cast<uint32_t>(s.captionColour)) << ", at (" << s.captionX << ", " << s.captionY << ")\n";
  out << "overlay 1:      " << s.overlay1Width << " x " << s.overlay1Height << " at (" << s.overlay1X << ", "
      << s.overlay1Y << ")" << (t.overlay1Offset == 0 ? ", none stored" : "") << "\n";
  out << "overlay 2:      " << s.overlay2Width << " x " << s.overlay2Height << " at (" << s.overlay2X << ", "
      << s.overlay2Y << ")" << (t.overlay2Offset == 0 ? ", none stored" : "") << "\n";
}

// The likeliest reason the loader refused the file, from the raw records.
std::string refusalReason(const ParsedContainer& p) {
  if (p.storeLoaded) return "";
  if (p.trailerMagic && !p.trailer) return " (trailer cut short)";
  if (!p.header) return " (no container header)";
  if (std::string(p.header->magic, 4) != std::string(kContainerMagic, 4)) return " (no QBZP magic)";
  if (!isAcceptedGeometry(p.header->faceSize, p.header->tileSize)) {
    return " (it needs a power-of-two tile size of 2..128, a face size from the tile size to 2048 and at most 256 "
           "tiles along a face edge)";
  }
  return " (pixel store short or damaged)";
}

}  // namespace

ParsedContainer readPanoramaFile(const std::string& path, uint64_t* fileBytes) {
  // The viewer's file offsets are 32-bit: it reads nothing larger.
  const std::vector<uint8_t> bytes = readWholeFile(path, std::numeric_limits<int32_t>::max());
  if (fileBytes != nullptr) *fileBytes = bytes.size();
  ParsedContainer parsed = parseContainer(bytes.data(), bytes.size(), ContainerPlacement::Appended);
  if (parsed.trailerMagic) return parsed;
  return parseContainer(bytes.data(), bytes.size(), ContainerPlacement::Standalone);
}

bool runInfo(const std::string& path, std::ostream& out) {
  checkContainerFile(path);
  uint64_t fileBytes = 0;
  const ParsedContainer p = readPanoramaFile(path, &fileBytes);
  out << "file:           " << path << " (" << fileBytes << " bytes)\n";
  out << "kind:           " << (p.trailerMagic ? "self-contained viewer (appended container)" : "stand-alone container")
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
  if (p.storeLoaded) {
    const uint32_t tilesPerSide = p.header->faceSize / p.header->tileSize;
    const uint32_t pixelsPerTile = p.header->tileSize * p.header->tileSize;
    out << "geometry:       " << tilesPerSide << " x " << tilesPerSide << " tiles per face, " << pixelsPerTile
        << " texels per tile, " << pixelsPerTile * tilesPerSide * tilesPerSide << " per face, " << p.pixelCount
        << " in all\n";
  }
  if (p.trailer) printSettings(p, out);
  else if (p.trailerMagic) out << "trailer:        cut short\n";
  out << "viewer loads:   " << (p.storeLoaded ? "yes" : "no") << refusalReason(p) << "\n";
  if (p.storeLoaded) {
    const uint32_t zoom = p.trailer ? lowestZoomOf(p.trailer->settings) : kDefaultZoomMin;
    const std::string holes = holesExplanation(p.header->faceSize, p.header->tileSize, zoom, p.trailer.has_value());
    out << "shows whole:    "
        << (holes.empty() ? "yes, at every zoom from " + std::to_string(zoom) : "no (" + holes + ")") << "\n";
  }
  return p.storeLoaded;
}

void runExtract(const std::string& path, const std::string& directory) {
  checkContainerFile(path);
  const ParsedContainer p = readPanoramaFile(path);
  if (!p.storeLoaded || !p.header) throw ToolError(path + ": the viewer would not load this file");
  // Faces whose size is not a whole number of tiles keep only the stored tiles.
  const uint32_t tileSize = p.header->tileSize;
  const uint32_t edge = p.header->faceSize / tileSize * tileSize;
  if (edge == 0 || p.pixelCount != size_t{kFaceCount} * edge * edge) throw ToolError(path + ": no pixels stored");
  // One face at a time, each encoded as soon as it is decoded from the store.
  Progress progress("extracting faces", kFaceCount);
  writeFilesTogether(directory, kFaceCount, [&](uint32_t face) {
    RgbImage picture(edge, edge);
    for (uint32_t y = 0; y < edge; ++y) {
      for (uint32_t x = 0; x < edge; ++x) {
        const uint16_t index = p.pixels[storePosition(static_cast<int>(face), x, edge - 1 - y, edge, tileSize)];
        setPixel(picture, x, y, colourOfStoredIndex(index));
      }
    }
    platform::NamedFile file{std::string(kFaceNames[face]) + ".png", pngBytes(picture)};
    progress.advance();
    return file;
  });
}

}  // namespace qbzpack
