#include "qbzpack/pack_in_memory.h"

#include "qbzpack/pack_command.h"
#include "qbzpack/store_compression.h"

namespace qbzpack {

// The equirectangular branch of runPack with a default OutputRequest, ending
// in the container's bytes rather than writing them.
std::vector<uint8_t> packPictureInMemory(const std::string& picturePath) {
  const OutputRequest request;
  checkGeometry(kDefaultFaceSize, request.tileSize, request.drawMode);
  return containerBytes(panoramaFromEquirect(picturePath, kDefaultFaceSize, request), !request.raw,
                        kDefaultDeflateLevel);
}

}  // namespace qbzpack
