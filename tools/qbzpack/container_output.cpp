#include "qbzpack/container_output.h"

#include <cstring>

#include "panorama/panorama_container.h"
#include "qbzpack/store_compression.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

constexpr size_t kScrambledBytes = sizeof(kScrambleKey);

}  // namespace

std::vector<uint8_t> containerBytes(const PanoramaImage& image, bool compress, int level) {
  if (!isAcceptedGeometry(image.faceSize, image.tileSize) ||
      image.pixels.size() != storePixelCount(image.faceSize, image.tileSize)) {
    throw ToolError("the container writer refused this panorama");
  }
  if (!compress) {
    std::vector<uint8_t> bytes = encodeContainer(image, false);
    if (bytes.empty()) throw ToolError("the container writer refused this panorama");
    return bytes;
  }
  std::vector<uint8_t> stream = deflateStore(image.pixels, level);
  // A compressed stream must hold at least its 18 scrambled bytes; a tiny,
  // plain store can deflate to less, and is then stored raw.
  if (stream.size() < kScrambledBytes) return containerBytes(image, false, level);
  unscrambleStream(stream.data());  // scrambling is the same XOR

  ContainerHeader header{};
  std::memcpy(header.magic, kContainerMagic, 4);
  header.version = 1;
  header.headerSize = kContainerHeaderBytes;
  header.faceSize = image.faceSize;
  header.tileSize = image.tileSize;
  header.drawMode = image.drawMode;
  header.compressedSize = static_cast<uint32_t>(stream.size());
  std::vector<uint8_t> bytes(kContainerHeaderBytes);
  encodeContainerHeader(header, bytes.data());
  bytes.insert(bytes.end(), stream.begin(), stream.end());
  return bytes;
}

std::vector<uint8_t> selfContainedBytes(const std::vector<uint8_t>& viewer, const std::vector<uint8_t>& container,
                                        const AppendedExtras& extras) {
  std::vector<uint8_t> bytes = encodeAppended(viewer, container, extras);
  if (bytes.empty()) throw ToolError("the viewer, panorama and extras do not fit in one file of under 2 GiB");
  return bytes;
}

}  // namespace qbzpack
