#include <algorithm>

#include "display_fixture.h"

namespace {

using platform::DeviceClass;

constexpr DeviceClass kDevices[] = {DeviceClass::Generic, DeviceClass::Linear, DeviceClass::Palmax, DeviceClass::Direct};

// Cell (r, k) shows at (r, 319 - k), or turned by half a turn at (239 - r, k).
std::vector<uint16_t> predictedScreen(const std::vector<int32_t>& frame, int32_t variant) {
  std::vector<uint16_t> screen(platform::kScreenPixels);
  for (int32_t r = 0; r < kFrameRows; ++r) {
    for (int32_t k = 0; k < kFrameColumns; ++k) {
      const int32_t x = variant == 0 ? r : 239 - r;
      const int32_t y = variant == 0 ? 319 - k : k;
      screen[static_cast<size_t>(y * 240 + x)] = ColourLookup[static_cast<uint16_t>(frame[static_cast<size_t>(r * 320 + k)])];
    }
  }
  return screen;
}

class ScreenMapping : public DisplayFixture {};

TEST_F(ScreenMapping, EveryDeviceShowsTheFrameAsTheMappingPredicts) {
  for (int32_t variant : {0, 1}) {
    const std::vector<int32_t> frame = fillRandomFrame(100 + static_cast<uint32_t>(variant));
    const std::vector<uint16_t> expected = predictedScreen(frame, variant);
    for (DeviceClass device : kDevices) {
      SCOPED_TRACE(::testing::Message() << "device " << static_cast<int>(device) << " variant " << variant);
      platform::EmulatedDisplay& display = useDevice(device, variant);
      std::copy(frame.begin(), frame.end(), FrameBuffer);
      renderContext.blitFunction();
      EXPECT_TRUE(display.screen() == expected);
      EXPECT_TRUE(display.guardsIntact());
    }
  }
}

// GXBeginDraw returning null: the display keeps its last picture, the buffer
// is cleared as the drawing path would have left it, and the next frame draws.
TEST_F(ScreenMapping, NullDisplayPointerSkipsOneFrameOnly) {
  const struct {
    DeviceClass device;
    int32_t variant;
    int32_t clearValue;
  } cases[] = {{DeviceClass::Generic, 0, 0x10000000},
               {DeviceClass::Generic, 1, 0x0BB80000},
               {DeviceClass::Linear, 0, 0x10000000},
               {DeviceClass::Linear, 1, 0x10000000}};
  for (const auto& test : cases) {
    SCOPED_TRACE(::testing::Message() << "device " << static_cast<int>(test.device) << " variant " << test.variant);
    platform::EmulatedDisplay& display = useDevice(test.device, test.variant);
    fillRandomFrame(1);
    renderContext.blitFunction();
    const std::vector<uint16_t> shownBefore = display.screen();

    display.setBeginDrawFails(true);
    fillRandomFrame(2);
    EXPECT_EQ(renderContext.blitFunction(), 0);
    EXPECT_TRUE(display.screen() == shownBefore);
    EXPECT_TRUE(std::all_of(FrameBuffer, FrameBuffer + kFrameCells, [&](int32_t c) { return c == test.clearValue; }));
    EXPECT_EQ(platform::countCalls(platform::Call::GXBeginDraw), 2u);
    EXPECT_EQ(platform::countCalls(platform::Call::GXEndDraw), 1u);  // end pairs only with a successful begin

    display.setBeginDrawFails(false);
    const std::vector<int32_t> frame = fillRandomFrame(3);
    EXPECT_EQ(renderContext.blitFunction(), 1);
    EXPECT_TRUE(display.screen() == predictedScreen(frame, test.variant));
    EXPECT_TRUE(display.guardsIntact());
  }
}

}  // namespace
