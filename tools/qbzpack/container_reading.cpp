#include "qbzpack/container_reading.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "panorama/panorama_container.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

bool readAt(std::FILE* file, int64_t offset, uint8_t* bytes, size_t count) {
  return offset >= 0 && std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
         std::fread(bytes, 1, count, file) == count;
}

// The raw records, read directly so that `info` can show them even when the
// loader refuses the file.
void readRecords(const std::string& path, LoadedPanorama& result) {
  FilePtr file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw ToolError(path + ": cannot open (" + std::strerror(errno) + ")");
  std::fseek(file.get(), 0, SEEK_END);
  const long size = std::ftell(file.get());
  result.fileBytes = size > 0 ? static_cast<uint64_t>(size) : 0;

  uint8_t magic[4];
  int64_t headerOffset = 0;
  if (size >= 4 && readAt(file.get(), size - 4, magic, 4) && std::memcmp(magic, kTrailerMagic, 4) == 0) {
    result.hasTrailer = true;
    uint8_t trailer[kContainerTrailerBytes];
    if (size < static_cast<long>(kContainerTrailerBytes) ||
        !readAt(file.get(), size - static_cast<long>(kContainerTrailerBytes), trailer, sizeof trailer)) {
      return;
    }
    result.trailer = decodeContainerTrailer(trailer);
    headerOffset = result.trailer->containerOffset;
  }
  uint8_t header[kContainerHeaderBytes];
  if (readAt(file.get(), headerOffset, header, sizeof header)) result.header = decodeContainerHeader(header);
}

// Installs a headless backend whose executable and stand-alone container are
// the file, lets the loader read it, and puts everything back afterwards.
void loadThroughViewer(const std::string& path, LoadedPanorama& result) {
  platform::HeadlessOptions options;
  options.moduleFile = path;
  options.standaloneFile = path;
  platform::HeadlessBackend backend(options);
  PanoramaContainer& container = panoramaContainer;
  // The container and the backend go back to their empty state however this ends.
  struct Restore {
    PanoramaContainer& container;
    ~Restore() {
      container.release();
      container.clearExtras();
      platform::installBackend(nullptr);
    }
  } restore{container};
  platform::installBackend(&backend);
  container.release();
  container.clearExtras();

  result.loaded = result.hasTrailer ? container.loadAppended() : container.loadFile("\\Temp\\Test.QBZ");
  if (result.hasTrailer) {
    result.settings = container.settings;
    result.hasBanner = container.bannerText != nullptr;
    result.hasCaption = container.captionText != nullptr;
    if (container.bannerText) result.banner = container.bannerText;
    if (container.captionText) result.caption = container.captionText;
    if (container.overlay1) result.overlay1Pixels = container.overlay1->pixelCount;
    if (container.overlay2) result.overlay2Pixels = container.overlay2->pixelCount;
  }
  if (result.loaded && container.pixels) {
    result.tilesPerSide = container.tilesPerSide;
    result.pixelsPerTile = container.pixelsPerTile;
    result.pixelsPerFace = container.pixelsPerFace;
    result.totalPixels = container.totalPixels;
    result.pixels.assign(container.pixels, container.pixels + container.totalPixels);
  }
}

}  // namespace

LoadedPanorama readPanoramaFile(const std::string& path) {
  LoadedPanorama result;
  readRecords(path, result);
  loadThroughViewer(path, result);
  return result;
}

}  // namespace qbzpack
