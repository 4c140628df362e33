#include "qbzpack/cube_faces.h"

#include "qbzpack/image_input.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

CubeFaces loadFacePictures(const std::array<std::string, kFaceCount>& paths, Rgb background) {
  CubeFaces cube;
  for (int face = 0; face < kFaceCount; ++face) {
    RgbImage picture = loadPicture(paths[face], background);
    if (picture.width != picture.height) {
      throw ToolError(paths[face] + ": the " + kFaceNames[face] + " face is " + std::to_string(picture.width) + " x " +
                      std::to_string(picture.height) + " pixels; faces must be square");
    }
    if (face > 0 && picture.width != cube.faceSize) {
      throw ToolError(paths[face] + ": the " + kFaceNames[face] + " face is " + std::to_string(picture.width) +
                      " pixels wide but the front face is " + std::to_string(cube.faceSize) +
                      "; all faces must be the same size");
    }
    cube.faceSize = picture.width;
    cube.faces[face] = std::move(picture);
  }
  return cube;
}

}  // namespace qbzpack
