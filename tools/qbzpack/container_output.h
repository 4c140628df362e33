// What the tool hands to the panorama library's container writer: the
// panorama in store order and, for a self-contained viewer, the trailer's
// extras. The only file of the tool that knows how the writer is called.
#pragma once

#include <cstdint>
#include <vector>

#include "panorama/container_writer.h"

namespace qbzpack {

using ::AppendedExtras;
using ::PanoramaImage;

// A stand-alone container: header and pixel store, deflated at level (zlib's
// 1..9) when compress (stores too small to compress that way are written
// raw). The header and the raw store come from the panorama library's
// writer; the deflating is the tool's own, spread over the cores. Throws
// ToolError when the writer refuses the image.
std::vector<uint8_t> containerBytes(const PanoramaImage& image, bool compress, int level);
// The viewer executable followed by the container, texts, overlays and trailer.
std::vector<uint8_t> selfContainedBytes(const std::vector<uint8_t>& viewer, const std::vector<uint8_t>& container,
                                        const AppendedExtras& extras);

}  // namespace qbzpack
