// Shared set-up of the filler tests: tables, a cleared frame, vertices and textures.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "display/frame_buffer.h"
#include "raster/fillers.h"
#include "raster/reciprocal_tables.h"
#include "raster/surface.h"
#include "render/mesh.h"
#include "render/render_context.h"

inline MeshVertex screenVertex(int16_t x, int16_t y, int16_t depth = 100, int16_t shade = 0) {
  MeshVertex v{};
  v.screenX = x;
  v.screenY = y;
  v.depth = depth;
  v.shade = shade;
  return v;
}

// A W x H texture (powers of two) with the masks the scene would give it.
struct TestTexture {
  std::vector<uint16_t> texels;
  SurfaceDescriptor surface{};
  TestTexture(int32_t width, int32_t height, int32_t blendMode = BlendOpaque) : texels(width * height) {
    for (int32_t i = 0; i < width * height; ++i) texels[i] = static_cast<uint16_t>(i + 1);
    surface.vScale = width;
    surface.vExtent = height - 1;
    surface.blendMode = blendMode;
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

inline int32_t& cellAt(int32_t row, int32_t column) { return FrameBuffer[row * kFrameColumns + column]; }
inline uint16_t colourAt(int32_t row, int32_t column) { return cellColour(cellAt(row, column)); }

inline void clearFrame(int32_t value = kClearCell) { std::fill(FrameBuffer, FrameBuffer + kFrameCells, value); }

// The columns of one row whose cell differs from value.
inline std::vector<int32_t> touchedColumns(int32_t row, int32_t value = kClearCell) {
  std::vector<int32_t> columns;
  for (int32_t k = 0; k < kFrameColumns; ++k)
    if (cellAt(row, k) != value) columns.push_back(k);
  return columns;
}

inline int32_t touchedCells(int32_t value = kClearCell) {
  return static_cast<int32_t>(std::count_if(FrameBuffer, FrameBuffer + kFrameCells,
                                            [value](int32_t c) { return c != value; }));
}

class FillerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    buildReciprocalTables();
    clearFrame();
  }
};
