#include "panorama/panorama_container.h"

#include <zlib.h>

#include <cstring>
#include <new>

PanoramaContainer panoramaContainer;

namespace {

constexpr size_t kScrambledBytes = sizeof(kScrambleKey);
constexpr uint32_t kModulePathCapacity = 260;
constexpr size_t kTextMaxLength = kTextBlockBytes - 1;
constexpr uint32_t kOverlayMaxWidth = 240;
constexpr uint32_t kOverlayMaxHeight = 320;
// Deflate never expands data by more than 1032:1 (a 258-byte match in two
// bits), so a store larger than that many times its stream cannot be filled
// and is refused before it is allocated.
constexpr uint64_t kMaxDeflateRatio = 1032;

// Length of the whole file, leaving the position where it was; -1 on failure.
int64_t fileLength(platform::File* file) {
  const int32_t position = platform::fileTell(file);
  if (position < 0 || platform::fileSeek(file, 0, platform::kSeekEnd) != 0) return -1;
  const int32_t length = platform::fileTell(file);
  if (platform::fileSeek(file, position, platform::kSeekSet) != 0) return -1;
  return length;
}

// Reads a compressed stream of streamBytes from the file and inflates it into
// the store, which must be filled completely; bytes beyond it are ignored.
bool inflateStore(platform::File* file, uint32_t streamBytes, uint16_t* store, uint32_t storeBytes) {
  uint8_t* stream = new (std::nothrow) uint8_t[streamBytes];
  if (stream == nullptr) return false;
  bool filled = platform::fileRead(stream, 1, streamBytes, file) == streamBytes;
  if (filled) {
    unscrambleStream(stream);
    z_stream inflater{};
    if (inflateInit(&inflater) != Z_OK) {
      filled = false;
    } else {
      inflater.next_in = stream;
      inflater.avail_in = streamBytes;
      inflater.next_out = reinterpret_cast<Bytef*>(store);
      inflater.avail_out = storeBytes;
      const int result = inflate(&inflater, Z_NO_FLUSH);
      filled = (result == Z_OK || result == Z_STREAM_END) && inflater.avail_out == 0;
      inflateEnd(&inflater);
    }
  }
  delete[] stream;
  return filled;
}

// A text of the trailer: up to 100 bytes at offset, ending at the first NUL
// among the bytes read or after 99 characters. Null when there is none.
char* readText(platform::File* file, uint32_t offset, int64_t length) {
  if (offset == 0 || offset >= length) return nullptr;
  if (platform::fileSeek(file, static_cast<int32_t>(offset), platform::kSeekSet) != 0) return nullptr;
  char block[kTextBlockBytes];
  const size_t got = platform::fileRead(block, 1, kTextBlockBytes, file);
  size_t textLength = 0;
  while (textLength < got && textLength < kTextMaxLength && block[textLength] != '\0') ++textLength;
  char* text = new (std::nothrow) char[textLength + 1];
  if (text == nullptr) return nullptr;
  std::memcpy(text, block, textLength);
  text[textLength] = '\0';
  return text;
}

// An overlay bitmap, made only when its size fits the screen and all of its
// pixels lie in the file. Null when there is none.
OverlayBitmap* readOverlay(platform::File* file, uint32_t offset, uint32_t width, uint32_t height, int64_t length) {
  if (offset == 0 || width < 1 || width > kOverlayMaxWidth || height < 1 || height > kOverlayMaxHeight) return nullptr;
  const uint32_t pixelCount = width * height;
  if (static_cast<int64_t>(offset) + static_cast<int64_t>(pixelCount) * 2 > length) return nullptr;
  if (platform::fileSeek(file, static_cast<int32_t>(offset), platform::kSeekSet) != 0) return nullptr;
  uint16_t* pixels = new (std::nothrow) uint16_t[pixelCount];
  if (pixels == nullptr) return nullptr;
  if (platform::fileRead(pixels, 2, pixelCount, file) != pixelCount) {
    delete[] pixels;
    return nullptr;
  }
  decodeLe16InPlace(pixels, pixelCount);
  OverlayBitmap* overlay = new (std::nothrow) OverlayBitmap{width, height, pixelCount, pixels};
  if (overlay == nullptr) delete[] pixels;
  return overlay;
}

void releaseOverlay(OverlayBitmap*& overlay) {
  if (overlay != nullptr) delete[] overlay->pixels;
  delete overlay;
  overlay = nullptr;
}

}  // namespace

void unscrambleStream(uint8_t* buffer) {
  for (size_t i = 0; i < kScrambledBytes; ++i) buffer[i] = static_cast<uint8_t>(buffer[i] ^ kScrambleKey[i]);
}

PanoramaContainer::PanoramaContainer() = default;

PanoramaContainer::~PanoramaContainer() { release(); }

bool PanoramaContainer::loadAppended() {
  char16_t modulePath[kModulePathCapacity];
  if (platform::moduleFileName(modulePath, kModulePathCapacity) == 0) return false;
  platform::File* file = platform::fileOpenWide(modulePath, u"rb");
  if (file == nullptr) return false;

  uint8_t magic[4];
  if (platform::fileSeek(file, -4, platform::kSeekEnd) != 0 || platform::fileRead(magic, 1, 4, file) != 4 ||
      std::memcmp(magic, kTrailerMagic, 4) != 0) {
    platform::fileClose(file);
    return false;
  }
  uint8_t trailerBytes[kContainerTrailerBytes];
  if (platform::fileSeek(file, -static_cast<int32_t>(kContainerTrailerBytes), platform::kSeekEnd) != 0 ||
      platform::fileRead(trailerBytes, 1, kContainerTrailerBytes, file) != kContainerTrailerBytes) {
    platform::fileClose(file);
    return false;
  }
  const ContainerTrailer trailer = decodeContainerTrailer(trailerBytes);
  const int64_t length = fileLength(file);

  // The trailer's extras are taken whether or not its container is sound.
  bool loaded = false;
  if (length >= 0 && trailer.containerOffset < length &&
      platform::fileSeek(file, static_cast<int32_t>(trailer.containerOffset), platform::kSeekSet) == 0) {
    loaded = readPixelStore(file);
  } else {
    releasePixels();
  }

  clearExtras();
  settings = trailer.settings;
  bannerText = readText(file, trailer.bannerOffset, length);
  captionText = readText(file, trailer.captionOffset, length);
  overlay1 = readOverlay(file, trailer.overlay1Offset, settings.overlay1Width, settings.overlay1Height, length);
  overlay2 = readOverlay(file, trailer.overlay2Offset, settings.overlay2Width, settings.overlay2Height, length);

  platform::fileClose(file);
  return loaded;
}

bool PanoramaContainer::loadFile(const char* path) {
  releasePixels();
  platform::File* file = platform::fileOpen(path, "rb");
  if (file == nullptr) return false;
  const bool loaded = readPixelStore(file);
  platform::fileClose(file);
  return loaded;
}

bool PanoramaContainer::readPixelStore(platform::File* file) {
  releasePixels();
  const int32_t start = platform::fileTell(file);
  const int64_t length = fileLength(file);
  if (start < 0 || length < 0) return false;

  uint8_t headerBytes[kContainerHeaderBytes];
  if (platform::fileRead(headerBytes, 1, kContainerHeaderBytes, file) != kContainerHeaderBytes) return false;
  const ContainerHeader read = decodeContainerHeader(headerBytes);
  if (std::memcmp(read.magic, kContainerMagic, 4) != 0) return false;
  if (!isAcceptedGeometry(read.faceSize, read.tileSize)) return false;

  const uint32_t pixelCount = storePixelCount(read.faceSize, read.tileSize);
  const uint32_t storeBytes = pixelCount * 2;
  const int64_t bytesLeft = length - start - static_cast<int64_t>(kContainerHeaderBytes);
  const bool compressed = read.compressedSize != 0;
  if (compressed) {
    if (read.compressedSize > bytesLeft || read.compressedSize < kScrambledBytes) return false;
    if (storeBytes > read.compressedSize * kMaxDeflateRatio) return false;
  } else if (storeBytes > bytesLeft) {
    return false;
  }

  uint16_t* store = new (std::nothrow) uint16_t[pixelCount];
  if (store == nullptr) return false;
  const bool filled = compressed ? inflateStore(file, read.compressedSize, store, storeBytes)
                                 : platform::fileRead(store, 2, pixelCount, file) == pixelCount;
  if (!filled) {
    delete[] store;
    return false;
  }
  decodeLe16InPlace(store, pixelCount);

  header = read;
  pixels = store;
  tilesPerSide = read.faceSize / read.tileSize;
  pixelsPerTile = read.tileSize * read.tileSize;
  pixelsPerFace = pixelsPerTile * tilesPerSide * tilesPerSide;
  totalPixels = pixelCount;
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
