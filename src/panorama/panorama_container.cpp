#include "panorama/panorama_container.h"

#include <cstring>
#include <memory>
#include <new>

#include "platform/platform.h"

PanoramaContainer panoramaContainer;

namespace {

constexpr uint32_t kModulePathCapacity = 260;

// The whole of an open file, read through the platform's runtime library;
// null when it cannot be read.
std::unique_ptr<uint8_t[]> readWholeFile(platform::File* file, size_t& size) {
  if (platform::fileSeek(file, 0, platform::kSeekEnd) != 0) return nullptr;
  const int32_t length = platform::fileTell(file);
  if (length < 0 || platform::fileSeek(file, 0, platform::kSeekSet) != 0) return nullptr;
  size = static_cast<size_t>(length);
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size == 0 ? 1 : size]);
  if (!bytes || platform::fileRead(bytes.get(), 1, size, file) != size) return nullptr;
  return bytes;
}

OverlayBitmap* adoptOverlay(ParsedOverlay& parsed) {
  if (!parsed.pixels) return nullptr;
  const uint32_t pixelCount = parsed.width * parsed.height;
  OverlayBitmap* overlay = new (std::nothrow) OverlayBitmap{parsed.width, parsed.height, pixelCount, nullptr};
  if (overlay != nullptr) overlay->pixels = parsed.pixels.release();
  return overlay;
}

void releaseOverlay(OverlayBitmap*& overlay) {
  if (overlay != nullptr) delete[] overlay->pixels;
  delete overlay;
  overlay = nullptr;
}

}  // namespace

PanoramaContainer::PanoramaContainer() = default;

PanoramaContainer::~PanoramaContainer() { release(); }

bool PanoramaContainer::loadAppended() {
  char16_t modulePath[kModulePathCapacity];
  if (platform::moduleFileName(modulePath, kModulePathCapacity) == 0) return false;
  platform::File* file = platform::fileOpenWide(modulePath, u"rb");
  if (file == nullptr) return false;
  // Most executables carry no container: their last four bytes settle it
  // without reading the whole file.
  uint8_t magic[4];
  if (platform::fileSeek(file, -4, platform::kSeekEnd) != 0 || platform::fileRead(magic, 1, 4, file) != 4 ||
      std::memcmp(magic, kTrailerMagic, 4) != 0) {
    platform::fileClose(file);
    return false;
  }
  size_t size = 0;
  const std::unique_ptr<uint8_t[]> bytes = readWholeFile(file, size);
  platform::fileClose(file);
  if (!bytes) return false;

  ParsedContainer parsed = parseContainer(bytes.get(), size, ContainerPlacement::Appended);
  if (!parsed.trailer) return false;  // not an appended container: nothing changes
  const bool loaded = adoptStore(parsed);
  clearExtras();
  settings = parsed.trailer->settings;
  bannerText = parsed.banner.release();
  captionText = parsed.caption.release();
  overlay1 = adoptOverlay(parsed.overlay1);
  overlay2 = adoptOverlay(parsed.overlay2);
  return loaded;
}

bool PanoramaContainer::loadFile(const char* path) {
  releasePixels();
  platform::File* file = platform::fileOpen(path, "rb");
  if (file == nullptr) return false;
  size_t size = 0;
  const std::unique_ptr<uint8_t[]> bytes = readWholeFile(file, size);
  platform::fileClose(file);
  if (!bytes) return false;
  ParsedContainer parsed = parseContainer(bytes.get(), size, ContainerPlacement::Standalone);
  return adoptStore(parsed);
}

bool PanoramaContainer::adoptStore(ParsedContainer& parsed) {
  releasePixels();
  if (!parsed.storeLoaded) return false;
  const ContainerHeader& read = *parsed.header;
  header = read;
  pixels = parsed.pixels.release();
  tilesPerSide = read.faceSize / read.tileSize;
  pixelsPerTile = read.tileSize * read.tileSize;
  pixelsPerFace = pixelsPerTile * tilesPerSide * tilesPerSide;
  totalPixels = parsed.pixelCount;
  return true;
}

uint16_t* PanoramaContainer::tilePixels(int32_t face, int32_t column, int32_t row) const {
  if (pixels == nullptr) return nullptr;
  const size_t tileIndex = static_cast<size_t>(row) * tilesPerSide + static_cast<size_t>(column);
  return pixels + static_cast<size_t>(face) * pixelsPerFace + tileIndex * pixelsPerTile;
}

void PanoramaContainer::releasePixels() {
  delete[] pixels;
  pixels = nullptr;
  header = ContainerHeader{};
  totalPixels = 0;
  pixelsPerFace = 0;
  pixelsPerTile = 0;
  tilesPerSide = 0;
}

void PanoramaContainer::clearExtras() {
  delete[] bannerText;
  delete[] captionText;
  bannerText = nullptr;
  captionText = nullptr;
  releaseOverlay(overlay1);
  releaseOverlay(overlay2);
  settings = ViewerSettings{};
}

void PanoramaContainer::release() {
  releasePixels();
  clearExtras();
}
