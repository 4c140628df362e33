#include "qbzpack/pack_in_memory.h"

#include "qbzpack/equirect_to_cube.h"
#include "qbzpack/image_input.h"
#include "qbzpack/panorama_output.h"

namespace qbzpack {

// The equirectangular branch of runPack with a default OutputRequest, ending
// in the container's bytes rather than writing them.
std::vector<uint8_t> packPictureInMemory(const std::string& picturePath) {
  const OutputRequest request;
  checkGeometry(kDefaultFaceSize, request.tileSize, request.drawMode);
  const RgbImage source = loadPicture(picturePath, request.background);
  const PanoramaImage image =
      panoramaFromFaces(cubeFromEquirect(source, kDefaultFaceSize), request.tileSize, request.drawMode, request.dither);
  return containerBytes(image, !request.raw);
}

}  // namespace qbzpack
