// Random triangles of every kind through every filler of the triangleFiller
// slot. Run under the sanitizers, this shows that no input reads or writes out
// of bounds or reaches undefined behaviour.
#include <gtest/gtest.h>

#include "filler_fixture.h"
#include "raster/lines.h"

namespace {

struct Random {
  uint64_t state;
  uint32_t next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state >> 32);
  }
  int32_t in(int32_t lo, int32_t hi) { return lo + static_cast<int32_t>(next() % static_cast<uint32_t>(hi - lo + 1)); }
  int16_t any() { return static_cast<int16_t>(next()); }
};

int16_t coordinate(Random& random, int32_t kind) {
  switch (kind) {
    case 0: return static_cast<int16_t>(random.in(-40, 360));     // on the frame
    case 1: return static_cast<int16_t>(random.in(-6000, 6000));  // large
    case 2: return random.any();                                  // anything
    default: return static_cast<int16_t>(random.in(100, 103));    // near-degenerate
  }
}

TEST_F(FillerTest, RandomTrianglesStayInBounds) {
  Random random{20260101};
  // Textures of the sizes the scene uses, with their own masks.
  std::vector<TestTexture> textures;
  for (int32_t size : {1, 2, 16, 32, 128}) textures.emplace_back(size, size);
  textures.emplace_back(128, 4);
  const TriangleFiller fillers[] = {fillTriangleAffine, fillTrianglePerspective, fillTriangleFlat, drawTriangleWire};
  int32_t drawingCalls = 0;
  for (int32_t n = 0; n < 100000; ++n) {
    if (n % 5000 == 0) clearFrame(n % 10000 == 0 ? kClearCell : 0x7FFFFFFF);
    const int32_t kind = random.in(0, 3);
    Corner c[3];
    for (Corner& corner : c) {
      corner.vertex = screenVertex(coordinate(random, kind), coordinate(random, kind),
                                   kind == 2 ? random.any() : static_cast<int16_t>(random.in(0, 4200)),
                                   kind == 2 ? random.any() : static_cast<int16_t>(random.in(-8, 8)));
      corner.u = kind >= 2 ? random.any() : static_cast<int16_t>(random.in(-3000, 3000));
      corner.v = kind >= 2 ? random.any() : static_cast<int16_t>(random.in(-3000, 3000));
    }
    if (random.in(0, 4) != 0) {  // mostly in row order, as the pipeline hands them over
      std::sort(std::begin(c), std::end(c),
                [](const Corner& a, const Corner& b) { return a.vertex.screenY < b.vertex.screenY; });
    }
    TestTexture& texture = textures[random.next() % textures.size()];
    texture.surface.blendMode = random.in(-2, 5);
    texture.surface.flatColour = static_cast<uint16_t>(random.next());
    const int32_t before = FrameBuffer[random.next() % kFrameCells];
    fill(fillers[n % 4], c[0], c[1], c[2], texture.surface);
    drawingCalls += before != FrameBuffer[0] || touchedColumns(120, before).size() > 0;
  }
  EXPECT_GT(drawingCalls, 0);
}

}  // namespace
