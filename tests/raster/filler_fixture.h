// Shared set-up of the filler tests: tables, a cleared frame, vertices,
// textures, and the plain model the fillers are compared against.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "core/frame_buffer.h"
#include "core/mesh.h"
#include "core/render_context.h"
#include "core/surface.h"
#include "raster/raster_stage.h"
#include "raster/reciprocal_tables.h"

inline MeshVertex screenVertex(int16_t x, int16_t y, int16_t depth = 100, int16_t shade = 0) {
  MeshVertex v{};
  v.screenX = x, v.screenY = y, v.depth = depth, v.shade = shade;
  return v;
}

// A W x H texture (powers of two) whose texel i has colour i + 1, with the scene's masks.
struct TestTexture {
  std::vector<uint16_t> texels;
  SurfaceDescriptor surface{};
  TestTexture(int32_t width, int32_t height) : texels(width * height) {
    for (int32_t i = 0; i < width * height; ++i) texels[i] = static_cast<uint16_t>(i + 1);
    surface.vScale = width;
    surface.uMask = (width - 1) << 16;
    surface.vMask = ((height - 1) * width) << 16;
    surface.texels = texels.data();
    surface.flatColour = 0x1234;
  }
};

struct Corner {
  MeshVertex vertex;
  int16_t u = 0, v = 0;
};

inline void fill(TriangleFiller filler, const Corner& top, const Corner& middle, const Corner& bottom,
                 const SurfaceDescriptor& surface) {
  filler(&top.vertex, top.u, top.v, &middle.vertex, middle.u, middle.v, &bottom.vertex, bottom.u, bottom.v,
         &surface);
}

// A deliberately plain model of the affine (flat false) and flat fillers: 64-bit
// arithmetic, every value computed from its edge start rather than stepped.
// Valid only for triangles whose values never leave 32 bits.
void referenceFill(int32_t* cells, const Corner& top, const Corner& middle, const Corner& bottom,
                   const SurfaceDescriptor& surface, bool flat);

// Whether the frame equals `before` with the triangle drawn by the model.
inline bool matchesModel(const Corner& a, const Corner& b, const Corner& c, const SurfaceDescriptor& surface,
                         bool flat, std::vector<int32_t> before = std::vector<int32_t>(kFrameCells, kClearCell)) {
  referenceFill(before.data(), a, b, c, surface, flat);
  return std::equal(before.begin(), before.end(), FrameBuffer);
}

inline int32_t& cellAt(int32_t row, int32_t column) { return FrameBuffer[row * kFrameColumns + column]; }
inline uint16_t colourAt(int32_t row, int32_t column) { return cellColour(cellAt(row, column)); }
inline void clearFrame(int32_t value = kClearCell) { std::fill(FrameBuffer, FrameBuffer + kFrameCells, value); }
// How many cells of the frame, or of one row, differ from value.
inline int32_t touchedCells(int32_t value = kClearCell, int32_t first = 0, int32_t count = kFrameCells) {
  return count - static_cast<int32_t>(std::count(FrameBuffer + first, FrameBuffer + first + count, value));
}
inline int32_t touchedInRow(int32_t row) { return touchedCells(kClearCell, row * kFrameColumns, kFrameColumns); }

class FillerTest : public ::testing::Test {
 protected:
  std::mt19937 generator{20260101};
  int16_t in(int32_t lo, int32_t hi) { return static_cast<int16_t>(std::uniform_int_distribution<int32_t>(lo, hi)(generator)); }
  void SetUp() override {
    buildReciprocalTables();
    clearFrame();
  }
};
