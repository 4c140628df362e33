#include "panorama/container_writer.h"

#include "core/screen.h"

#include <zlib.h>

#include <cstring>
#include <limits>


namespace {

constexpr size_t kScrambledBytes = sizeof(kScrambleKey);
constexpr size_t kTextMaxLength = kTextBlockBytes - 1;
constexpr size_t kMaxFileBytes = static_cast<size_t>(std::numeric_limits<int32_t>::max());

std::vector<uint8_t> deflateStore(const std::vector<uint8_t>& store) {
  uLongf streamBytes = compressBound(static_cast<uLong>(store.size()));
  std::vector<uint8_t> stream(streamBytes);
  if (compress2(stream.data(), &streamBytes, store.data(), static_cast<uLong>(store.size()), Z_BEST_COMPRESSION) !=
      Z_OK) {
    return {};
  }
  stream.resize(streamBytes);
  return stream;
}

bool acceptedText(const std::string& text) {
  return text.size() <= kTextMaxLength && text.find('\0') == std::string::npos;
}

bool acceptedOverlay(const std::vector<uint16_t>& pixels, uint32_t width, uint32_t height) {
  if (pixels.empty()) return true;
  return width >= 1 && width <= uint32_t{kScreenWidth} && height >= 1 && height <= uint32_t{kScreenHeight} &&
         pixels.size() == static_cast<size_t>(width) * height;
}

// Appends the text and its NUL; its offset, or 0 for an empty text.
uint32_t appendText(std::vector<uint8_t>& file, const std::string& text) {
  if (text.empty()) return 0;
  const uint32_t offset = static_cast<uint32_t>(file.size());
  file.insert(file.end(), text.begin(), text.end());
  file.push_back(0);
  return offset;
}

uint32_t appendPixels(std::vector<uint8_t>& file, const std::vector<uint16_t>& pixels) {
  if (pixels.empty()) return 0;
  const size_t offset = file.size();
  file.resize(offset + pixels.size() * 2);
  encodeLe16(pixels.data(), pixels.size(), file.data() + offset);
  return static_cast<uint32_t>(offset);
}

}  // namespace

std::vector<uint8_t> encodeContainer(const PanoramaImage& image, bool compress) {
  if (!isAcceptedGeometry(image.faceSize, image.tileSize)) return {};
  if (image.pixels.size() != storePixelCount(image.faceSize, image.tileSize)) return {};

  std::vector<uint8_t> store(image.pixels.size() * 2);
  encodeLe16(image.pixels.data(), image.pixels.size(), store.data());
  std::vector<uint8_t> payload;
  if (compress) {
    payload = deflateStore(store);
    if (payload.size() < kScrambledBytes) return {};
    unscrambleStream(payload.data());  // scrambling is the same XOR
  } else {
    payload = std::move(store);
  }

  ContainerHeader header{};
  std::memcpy(header.magic, kContainerMagic, 4);
  header.version = 1;
  header.headerSize = kContainerHeaderBytes;
  header.faceSize = image.faceSize;
  header.tileSize = image.tileSize;
  header.drawMode = image.drawMode;
  header.compressedSize = compress ? static_cast<uint32_t>(payload.size()) : 0;

  std::vector<uint8_t> container(kContainerHeaderBytes + payload.size());
  encodeContainerHeader(header, container.data());
  std::memcpy(container.data() + kContainerHeaderBytes, payload.data(), payload.size());
  return container;
}

std::vector<uint8_t> encodeAppended(const std::vector<uint8_t>& prefix, const std::vector<uint8_t>& container,
                                    const AppendedExtras& extras) {
  const ViewerSettings& settings = extras.settings;
  if (!acceptedText(extras.banner) || !acceptedText(extras.caption)) return {};
  if (!acceptedOverlay(extras.overlay1, settings.overlay1Width, settings.overlay1Height) ||
      !acceptedOverlay(extras.overlay2, settings.overlay2Width, settings.overlay2Height)) {
    return {};
  }
  const size_t totalBytes = prefix.size() + container.size() + extras.banner.size() + 1 + extras.caption.size() + 1 +
                            2 * (extras.overlay1.size() + extras.overlay2.size()) + kContainerTrailerBytes;
  if (totalBytes > kMaxFileBytes) return {};

  std::vector<uint8_t> file;
  file.reserve(totalBytes);
  file.insert(file.end(), prefix.begin(), prefix.end());
  ContainerTrailer trailer{};
  trailer.containerOffset = static_cast<uint32_t>(file.size());
  file.insert(file.end(), container.begin(), container.end());
  trailer.bannerOffset = appendText(file, extras.banner);
  trailer.captionOffset = appendText(file, extras.caption);
  trailer.overlay1Offset = appendPixels(file, extras.overlay1);
  trailer.overlay2Offset = appendPixels(file, extras.overlay2);
  trailer.settings = settings;
  trailer.trailerSize = kContainerTrailerBytes;
  std::memcpy(trailer.magic, kTrailerMagic, 4);

  const size_t trailerAt = file.size();
  file.resize(trailerAt + kContainerTrailerBytes);
  encodeContainerTrailer(trailer, file.data() + trailerAt);
  return file;
}
