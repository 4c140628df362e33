#include "qbzpack/container_output.h"

#include "qbzpack/tool_error.h"

namespace qbzpack {

std::vector<uint8_t> containerBytes(const PanoramaImage& image, bool compress) {
  std::vector<uint8_t> bytes = encodeContainer(image, compress);
  // A compressed stream must hold at least its 18 scrambled bytes; a tiny,
  // plain store can deflate to less, and is then stored raw.
  if (bytes.empty() && compress) bytes = encodeContainer(image, false);
  if (bytes.empty()) throw ToolError("the container writer refused this panorama");
  return bytes;
}

std::vector<uint8_t> selfContainedBytes(const std::vector<uint8_t>& viewer, const std::vector<uint8_t>& container,
                                        const AppendedExtras& extras) {
  std::vector<uint8_t> bytes = encodeAppended(viewer, container, extras);
  if (bytes.empty()) throw ToolError("the viewer, panorama and extras do not fit in one file of under 2 GiB");
  return bytes;
}

}  // namespace qbzpack
