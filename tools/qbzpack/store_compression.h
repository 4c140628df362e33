// Deflates the pixel store on all cores into one zlib stream, as the viewer's
// loader inflates it in a single call.
#pragma once

#include <cstdint>
#include <vector>

namespace qbzpack {

// zlib levels: 6 is the default (fast, a few per cent larger than 9).
constexpr int kDefaultDeflateLevel = 6;
constexpr int kBestDeflateLevel = 9;

// The store's values as little-endian bytes, deflated at level. The store is
// cut into fixed pieces, deflated side by side; each piece after the first is
// primed with the 32 KiB before it (so matches reach back as in one stream)
// and all but the last end on a byte boundary with an empty stored block, so
// the joined pieces are one valid stream. The pieces do not depend on the
// number of threads, so neither do the bytes.
std::vector<uint8_t> deflateStore(const std::vector<uint16_t>& store, int level);

}  // namespace qbzpack
