#include "panorama/container_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "core/screen.h"

namespace {

constexpr size_t kScrambledBytes = sizeof(kScrambleKey);
constexpr size_t kTextMaxLength = kTextBlockBytes - 1;
constexpr uint32_t kOverlayMaxWidth = kScreenWidth;
constexpr uint32_t kOverlayMaxHeight = kScreenHeight;
// Deflate never expands data by more than 1032:1 (a 258-byte match in two
// bits), so a store larger than that many times its stream cannot be filled
// and is refused before it is allocated.
constexpr uint64_t kMaxDeflateRatio = 1032;

// Inflates a compressed stream into the store, which must be filled
// completely; bytes beyond it are ignored. The stream is copied, since its
// head is unscrambled in place.
bool inflateStore(const uint8_t* source, uint32_t streamBytes, uint16_t* store, uint32_t storeBytes) {
  uint8_t* stream = new (std::nothrow) uint8_t[streamBytes];
  if (stream == nullptr) return false;
  std::memcpy(stream, source, streamBytes);
  unscrambleStream(stream);
  bool filled = false;
  z_stream inflater{};
  if (inflateInit(&inflater) == Z_OK) {
    inflater.next_in = stream;
    inflater.avail_in = streamBytes;
    inflater.next_out = reinterpret_cast<Bytef*>(store);
    inflater.avail_out = storeBytes;
    const int result = inflate(&inflater, Z_NO_FLUSH);
    filled = (result == Z_OK || result == Z_STREAM_END) && inflater.avail_out == 0;
    inflateEnd(&inflater);
  }
  delete[] stream;
  return filled;
}

// The header and pixel store of a container starting at byte start.
void parseStore(const uint8_t* bytes, size_t size, size_t start, ParsedContainer& out) {
  if (size - start < kContainerHeaderBytes) return;
  const ContainerHeader header = decodeContainerHeader(bytes + start);
  out.header = header;
  if (std::memcmp(header.magic, kContainerMagic, 4) != 0) return;
  if (!isAcceptedGeometry(header.faceSize, header.tileSize)) return;

  const uint32_t pixelCount = storePixelCount(header.faceSize, header.tileSize);
  const uint32_t storeBytes = pixelCount * 2;
  const uint64_t bytesLeft = size - start - kContainerHeaderBytes;
  const uint8_t* storeStart = bytes + start + kContainerHeaderBytes;
  const bool compressed = header.compressedSize != 0;
  if (compressed) {
    if (header.compressedSize > bytesLeft || header.compressedSize < kScrambledBytes) return;
    if (storeBytes > header.compressedSize * kMaxDeflateRatio) return;
  } else if (storeBytes > bytesLeft) {
    return;
  }

  std::unique_ptr<uint16_t[]> store(new (std::nothrow) uint16_t[pixelCount]);
  if (!store) return;
  if (compressed) {
    if (!inflateStore(storeStart, header.compressedSize, store.get(), storeBytes)) return;
  } else {
    std::memcpy(store.get(), storeStart, storeBytes);
  }
  decodeLe16InPlace(store.get(), pixelCount);
  out.pixels = std::move(store);
  out.pixelCount = pixelCount;
  out.storeLoaded = true;
}

// A text of the trailer: the block of up to 100 bytes at offset, ending at
// its first NUL or after 99 characters. Null when there is none.
std::unique_ptr<char[]> parseText(const uint8_t* bytes, size_t size, uint32_t offset) {
  if (offset == 0 || offset >= size) return nullptr;
  const size_t got = std::min(kTextBlockBytes, size - offset);
  const uint8_t* block = bytes + offset;
  size_t length = 0;
  while (length < got && length < kTextMaxLength && block[length] != 0) ++length;
  std::unique_ptr<char[]> text(new (std::nothrow) char[length + 1]);
  if (!text) return nullptr;
  std::memcpy(text.get(), block, length);
  text[length] = '\0';
  return text;
}

// An overlay bitmap, made only when its size fits the screen and all of its
// pixels lie in the bytes.
ParsedOverlay parseOverlay(const uint8_t* bytes, size_t size, uint32_t offset, uint32_t width, uint32_t height) {
  ParsedOverlay overlay;
  if (offset == 0 || width < 1 || width > kOverlayMaxWidth || height < 1 || height > kOverlayMaxHeight) {
    return overlay;
  }
  const uint32_t pixelCount = width * height;
  if (uint64_t{offset} + uint64_t{pixelCount} * 2 > size) return overlay;
  overlay.pixels.reset(new (std::nothrow) uint16_t[pixelCount]);
  if (!overlay.pixels) return overlay;
  std::memcpy(overlay.pixels.get(), bytes + offset, size_t{pixelCount} * 2);
  decodeLe16InPlace(overlay.pixels.get(), pixelCount);
  overlay.width = width;
  overlay.height = height;
  return overlay;
}

}  // namespace

ParsedContainer parseContainer(const uint8_t* bytes, size_t size, ContainerPlacement placement) {
  ParsedContainer out;
  if (placement == ContainerPlacement::Standalone) {
    parseStore(bytes, size, 0, out);
    return out;
  }
  out.trailerMagic = size >= 4 && std::memcmp(bytes + size - 4, kTrailerMagic, 4) == 0;
  if (!out.trailerMagic || size < kContainerTrailerBytes) return out;
  const ContainerTrailer trailer = decodeContainerTrailer(bytes + size - kContainerTrailerBytes);
  out.trailer = trailer;
  if (trailer.containerOffset < size) parseStore(bytes, size, trailer.containerOffset, out);
  out.banner = parseText(bytes, size, trailer.bannerOffset);
  out.caption = parseText(bytes, size, trailer.captionOffset);
  const ViewerSettings& s = trailer.settings;
  out.overlay1 = parseOverlay(bytes, size, trailer.overlay1Offset, s.overlay1Width, s.overlay1Height);
  out.overlay2 = parseOverlay(bytes, size, trailer.overlay2Offset, s.overlay2Width, s.overlay2Height);
  return out;
}
