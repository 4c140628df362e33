// Runs the blitters against one emulated device of the headless backend, with
// the real colour lookup and a fresh frame buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "display/blitters.h"
#include "display/colour_lookup.h"
#include "display/frame_buffer.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "render/render_context.h"

class DisplayFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { buildColourLookup(); }

  void TearDown() override {
    platform::installBackend(nullptr);
    frameBufferReset();
    renderContext.displayVariant = 0;
  }

  // Installs a fresh backend with the device's display and picks its blitter.
  platform::EmulatedDisplay& useDevice(platform::DeviceClass device, int32_t variant) {
    platform::HeadlessOptions options;
    options.device = device;
    backend_ = std::make_unique<platform::HeadlessBackend>(options);
    platform::installBackend(backend_.get());
    platform::resetWindowManager();
    frameBufferReset();
    renderContext = RenderContext{};
    renderContext.displayVariant = variant;
    selectBlitter(renderContext);
    return backend_->display();
  }

  // Random cells (depth bits included); returns a copy of the frame.
  static std::vector<int32_t> fillRandomFrame(uint32_t seed) {
    std::mt19937 random(seed);
    for (int32_t& cell : FrameBuffer) cell = static_cast<int32_t>(random());
    return std::vector<int32_t>(FrameBuffer, FrameBuffer + kFrameCells);
  }

  static uint16_t pixelOfCell(int32_t cell) { return ColourLookup[static_cast<uint16_t>(cell)]; }

  static uint16_t pixelAt(const uint8_t* address) {
    uint16_t pixel;
    std::memcpy(&pixel, address, sizeof pixel);
    return pixel;
  }

  std::unique_ptr<platform::HeadlessBackend> backend_;
};
