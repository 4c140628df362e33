// Cube orientation, the store order and the equirectangular conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "qbzpack/cube_geometry.h"
#include "qbzpack/equirect_to_cube.h"
#include "qbzpack/store_layout.h"
#include "qbzpack/tool_error.h"

using namespace qbzpack;

namespace {

Vec3 unit(Vec3 v) {
  const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / length, v.y / length, v.z / length};
}

// Colour that encodes a direction: each channel maps one axis from -1..1 to 0..255.
Rgb directionColour(Vec3 d) {
  const Vec3 u = unit(d);
  return {static_cast<uint8_t>(std::lround(127.5 + 127.5 * u.x)), static_cast<uint8_t>(std::lround(127.5 + 127.5 * u.y)),
          static_cast<uint8_t>(std::lround(127.5 + 127.5 * u.z))};
}

// An equirectangular picture whose every pixel shows the colour of its own
// direction: column c is longitude (c + 0.5) / W * 2pi - pi from straight
// ahead (-z) towards the right (+x), row r latitude pi/2 - (r + 0.5) / H * pi.
RgbImage directionPanorama(uint32_t height) {
  RgbImage picture(2 * height, height);
  for (uint32_t r = 0; r < height; ++r) {
    const double latitude = std::numbers::pi / 2 - (r + 0.5) / height * std::numbers::pi;
    for (uint32_t c = 0; c < 2 * height; ++c) {
      const double longitude = (c + 0.5) / (2.0 * height) * 2 * std::numbers::pi - std::numbers::pi;
      const Vec3 d{std::cos(latitude) * std::sin(longitude), std::sin(latitude),
                   -std::cos(latitude) * std::cos(longitude)};
      setPixel(picture, c, r, directionColour(d));
    }
  }
  return picture;
}

void expectColourNear(Rgb actual, Rgb expected, int tolerance, const std::string& where) {
  EXPECT_NEAR(actual.r, expected.r, tolerance) << where;
  EXPECT_NEAR(actual.g, expected.g, tolerance) << where;
  EXPECT_NEAR(actual.b, expected.b, tolerance) << where;
}

}  // namespace

TEST(CubeGeometry, FacesLieWhereTheViewerDrawsThem) {
  // Centre of each face, straight from the face table: front ahead (-z),
  // right +x, back +z, left -x, up +y, down -y.
  const Vec3 centres[kFaceCount] = {{0, 0, -1}, {1, 0, 0}, {0, 0, 1}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
  for (int face = 0; face < kFaceCount; ++face) {
    const Vec3 d = faceDirection(face, 50, 50, 100);
    EXPECT_DOUBLE_EQ(d.x, centres[face].x) << kFaceNames[face];
    EXPECT_DOUBLE_EQ(d.y, centres[face].y) << kFaceNames[face];
    EXPECT_DOUBLE_EQ(d.z, centres[face].z) << kFaceNames[face];
  }
  // Corner (0, 0) of each face, the bottom-left as seen from the centre.
  const Vec3 origins[kFaceCount] = {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}, {-1, 1, -1}, {-1, -1, 1}};
  for (int face = 0; face < kFaceCount; ++face) {
    const Vec3 d = faceDirection(face, 0, 0, 64);
    EXPECT_DOUBLE_EQ(d.x, origins[face].x);
    EXPECT_DOUBLE_EQ(d.y, origins[face].y);
    EXPECT_DOUBLE_EQ(d.z, origins[face].z);
  }
  // Neighbouring edges coincide: right edge of front = left edge of right,
  // top of front = bottom of up, bottom of front = top of down, right of back = left of left.
  for (double t : {0.0, 17.0, 64.0}) {
    auto same = [](Vec3 p, Vec3 q) { return p.x == q.x && p.y == q.y && p.z == q.z; };
    EXPECT_TRUE(same(faceDirection(0, 64, t, 64), faceDirection(1, 0, t, 64)));
    EXPECT_TRUE(same(faceDirection(1, 64, t, 64), faceDirection(2, 0, t, 64)));
    EXPECT_TRUE(same(faceDirection(2, 64, t, 64), faceDirection(3, 0, t, 64)));
    EXPECT_TRUE(same(faceDirection(3, 64, t, 64), faceDirection(0, 0, t, 64)));
    EXPECT_TRUE(same(faceDirection(0, t, 64, 64), faceDirection(4, t, 0, 64)));
    EXPECT_TRUE(same(faceDirection(0, t, 0, 64), faceDirection(5, t, 64, 64)));
  }
}

TEST(StoreLayout, TilesAndTexelsRunBottomUp) {
  // Face 1, tile column 2, row 3 of a 512/32 panorama starts at element 313344.
  EXPECT_EQ(storePosition(1, 64, 96, 512, 32), 313344u);
  EXPECT_EQ(storePosition(1, 64 + 5, 96 + 7, 512, 32), 313344u + 7 * 32 + 5);
  EXPECT_EQ(storePosition(0, 0, 0, 512, 32), 0u);
  EXPECT_EQ(storePosition(5, 511, 511, 512, 32), 6u * 512 * 512 - 1);

  // Every face pixel has its own place, and the two directions invert each other.
  const uint32_t faceSize = 8, tileSize = 4;
  std::array<FaceIndices, kFaceCount> faces;
  std::set<size_t> positions;
  for (int face = 0; face < kFaceCount; ++face) {
    faces[face].resize(faceSize * faceSize);
    for (uint32_t i = 0; i < faceSize * faceSize; ++i) faces[face][i] = static_cast<uint16_t>(face * 1000 + i);
    for (uint32_t a = 0; a < faceSize; ++a) {
      for (uint32_t b = 0; b < faceSize; ++b) positions.insert(storePosition(face, a, b, faceSize, tileSize));
    }
  }
  EXPECT_EQ(positions.size(), size_t{kFaceCount} * faceSize * faceSize);
  const std::vector<uint16_t> store = storeFromFaces(faces, faceSize, tileSize);
  // Picture row 0 is the top face row: the last texel row of the top tile row.
  EXPECT_EQ(store[0], faces[0][7 * faceSize + 0]);  // bottom-left pixel comes first
  EXPECT_EQ(store[1], faces[0][7 * faceSize + 1]);
  EXPECT_EQ(store[4], faces[0][6 * faceSize + 0]);  // second texel row of tile (0, 0)
  EXPECT_EQ(store[16], faces[0][7 * faceSize + 4]);  // tile (1, 0) follows tile (0, 0)
  EXPECT_EQ(store[32], faces[0][3 * faceSize + 0]);  // tile row 1 is the upper half
  EXPECT_EQ(facesFromStore(store.data(), faceSize, tileSize), faces);
}

TEST(EquirectConversion, SupersamplingFollowsTheSourceResolution) {
  EXPECT_EQ(supersampleFactor(2048, 512), 1u);
  EXPECT_EQ(supersampleFactor(8192, 512), 4u);
  EXPECT_EQ(supersampleFactor(8193, 512), 5u);
  EXPECT_EQ(supersampleFactor(100, 512), 1u);
  EXPECT_EQ(supersampleFactor(4096, 64), 16u);
}

TEST(EquirectConversion, FacesSampleTheirOwnDirections) {
  const RgbImage source = directionPanorama(256);
  const uint32_t f = 32;
  const CubeFaces cube = cubeFromEquirect(source, f);
  ASSERT_EQ(cube.faceSize, f);
  for (int face = 0; face < kFaceCount; ++face) {
    const RgbImage& picture = cube.faces[face];
    ASSERT_EQ(picture.width, f);
    ASSERT_EQ(picture.height, f);
    // Every pixel, including those on the edges and corners, shows the colour
    // of the direction through its centre (picture row y is face row f-1-y).
    for (uint32_t y = 0; y < f; ++y) {
      for (uint32_t x = 0; x < f; ++x) {
        const Vec3 d = faceDirection(face, x + 0.5, (f - 1 - y) + 0.5, f);
        const int tolerance = (face >= 4 && x > 12 && x < 19 && y > 12 && y < 19) ? 6 : 3;  // near the poles
        expectColourNear(pixelAt(picture, x, y), directionColour(d), tolerance,
                         std::string(kFaceNames[face]) + " " + std::to_string(x) + "," + std::to_string(y));
      }
    }
  }
  // Centres by hand: ahead is -z (blue 0), right +x (red 255), up +y (green 255).
  expectColourNear(pixelAt(cube.faces[0], f / 2, f / 2), {128, 128, 0}, 6, "front centre");
  expectColourNear(pixelAt(cube.faces[1], f / 2, f / 2), {255, 128, 128}, 6, "right centre");
  expectColourNear(pixelAt(cube.faces[2], f / 2, f / 2), {128, 128, 255}, 6, "back centre (source seam)");
  expectColourNear(pixelAt(cube.faces[3], f / 2, f / 2), {0, 128, 128}, 6, "left centre");
  expectColourNear(pixelAt(cube.faces[4], f / 2, f / 2), {128, 255, 128}, 6, "up centre");
  expectColourNear(pixelAt(cube.faces[5], f / 2, f / 2), {128, 0, 128}, 6, "down centre");
}

TEST(EquirectConversion, SeamsBetweenFacesMeet) {
  const RgbImage source = directionPanorama(128);
  const uint32_t f = 24;
  const CubeFaces cube = cubeFromEquirect(source, f);
  // Pixels facing each other across a seam differ by one pixel step at most.
  for (uint32_t t = 0; t < f; ++t) {
    expectColourNear(pixelAt(cube.faces[0], f - 1, t), pixelAt(cube.faces[1], 0, t), 12, "front|right");
    expectColourNear(pixelAt(cube.faces[1], f - 1, t), pixelAt(cube.faces[2], 0, t), 12, "right|back");
    expectColourNear(pixelAt(cube.faces[2], f - 1, t), pixelAt(cube.faces[3], 0, t), 12, "back|left");
    expectColourNear(pixelAt(cube.faces[3], f - 1, t), pixelAt(cube.faces[0], 0, t), 12, "left|front");
    expectColourNear(pixelAt(cube.faces[0], t, 0), pixelAt(cube.faces[4], t, f - 1), 12, "front|up");
    expectColourNear(pixelAt(cube.faces[0], t, f - 1), pixelAt(cube.faces[5], t, 0), 12, "front|down");
  }
}

TEST(EquirectConversion, LeftAndRightHalvesLandOnTheirSides) {
  // Left half of the source red, right half blue: the front face is red left
  // of its centre line and blue right of it; the left face red, the right blue.
  RgbImage source(256, 128);
  for (uint32_t y = 0; y < 128; ++y) {
    for (uint32_t x = 0; x < 256; ++x) setPixel(source, x, y, x < 128 ? Rgb{255, 0, 0} : Rgb{0, 0, 255});
  }
  const CubeFaces cube = cubeFromEquirect(source, 16);
  EXPECT_EQ(pixelAt(cube.faces[0], 3, 8), (Rgb{255, 0, 0}));
  EXPECT_EQ(pixelAt(cube.faces[0], 12, 8), (Rgb{0, 0, 255}));
  EXPECT_EQ(pixelAt(cube.faces[3], 8, 8), (Rgb{255, 0, 0}));
  EXPECT_EQ(pixelAt(cube.faces[1], 8, 8), (Rgb{0, 0, 255}));
  // The back face straddles the wrap: its left half is right of the viewer
  // turned around, the source's right end (blue); the wrap blends only there.
  EXPECT_EQ(pixelAt(cube.faces[2], 3, 8), (Rgb{0, 0, 255}));
  EXPECT_EQ(pixelAt(cube.faces[2], 12, 8), (Rgb{255, 0, 0}));
}

TEST(EquirectConversion, RefusesWrongAspect) {
  EXPECT_THROW(cubeFromEquirect(RgbImage(300, 100), 16), ToolError);
  EXPECT_THROW(cubeFromEquirect(RgbImage(100, 100), 16), ToolError);
  EXPECT_NO_THROW(cubeFromEquirect(RgbImage(32, 16), 4));
}
