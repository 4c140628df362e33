// The blitters against each emulated device of the headless backend, with the
// real colour lookup and a fresh frame buffer: where cells land, what the
// buffer is cleared to, the whole screen, and a failing GXBeginDraw; and which
// blitter each OEM string selects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/frame_buffer.h"
#include "core/render_context.h"
#include "display/blitters.h"
#include "display/colour_lookup.h"
#include "platform/headless/headless_backend.h"
#include "support/headless_fixture.h"

namespace {

using platform::DeviceClass;

// The headless backend with an OEM string of the test's choosing.
struct OemBackend : platform::HeadlessBackend {
  explicit OemBackend(std::u16string info) : HeadlessBackend(platform::HeadlessOptions{}), oem(std::move(info)) {}
  std::u16string oemInfo() override { return oem; }
  std::u16string oem;
};

TEST(BlitterSelection, TheOemStringChoosesTheBlitter) {
  const std::pair<std::u16string, BlitFunction> cases[] = {
      {u"Compaq iPAQ H3800", &blitDirect},  {u"CompaqXXXXXXXX8", &blitDirect},
      {u"Compaq iPAQ H3600", &blitLinear},  {u"Compaq iPAQ H3788", &blitLinear},  // '7' at 14, '8' after it
      {u"Compaq", &blitLinear},             {u"Compaq iPAQ 8", &blitLinear},      // index 14 of the zeroed buffer is 0
      {u"Palmax", &blitLinear},             {u"Palmax PD-1100 88888", &blitLinear},
      {u"", &blitGeneric},                  {u"compaq iPAQ H3800", &blitGeneric},
      {u"Compa", &blitGeneric},             {u"HP Compaq iPAQ H3800", &blitGeneric},
      {std::u16string(150, u'x'), &blitGeneric},
  };
  for (const auto& [oem, blitter] : cases) {
    OemBackend backend(oem);
    platform::installBackend(&backend);
    RenderContext context{};
    EXPECT_EQ(selectBlitter(context), 1);
    EXPECT_EQ(context.blitFunction, blitter) << std::string(oem.begin(), oem.end());
    platform::installBackend(nullptr);
  }
}

class Blitters : public HeadlessTest {
 protected:
  static void SetUpTestSuite() { buildColourLookup(); }

  // Installs a fresh backend with the device's display and picks its blitter.
  platform::EmulatedDisplay& useDevice(platform::DeviceClass device, int32_t variant) {
    platform::HeadlessOptions options;
    options.device = device;
    useBackend(options);  // also a fresh frame buffer and render context
    renderContext.displayVariant = variant;
    selectBlitter(renderContext);
    return headless().display();
  }

  // Random cells (depth bits included); returns a copy of the frame.
  static std::vector<int32_t> fillRandomFrame(uint32_t seed) {
    std::mt19937 random(seed);
    for (int32_t& cell : FrameBuffer) cell = static_cast<int32_t>(random());
    return std::vector<int32_t>(FrameBuffer, FrameBuffer + kFrameCells);
  }

  static bool clearedTo(int32_t value) {
    return std::all_of(FrameBuffer, FrameBuffer + kFrameCells, [value](int32_t cell) { return cell == value; });
  }
};

// Cell (r, k) shows at (r, 319 - k), or turned by half a turn at (239 - r, k).
std::vector<uint16_t> predictedScreen(const std::vector<int32_t>& frame, int32_t variant) {
  std::vector<uint16_t> screen(platform::kScreenPixels);
  for (int32_t i = 0; i < kFrameCells; ++i) {
    const int32_t r = i / kFrameColumns, k = i % kFrameColumns;
    screen[static_cast<size_t>(variant == 0 ? (319 - k) * 240 + r : k * 240 + 239 - r)] =
        ColourLookup[static_cast<uint16_t>(frame[static_cast<size_t>(i)])];
  }
  return screen;
}

// Every device and variant: cell (0, 0) lands at its address, the whole screen
// shows the frame as the mapping predicts, the guards hold and the buffer is
// cleared. Where GXBeginDraw returns null, the display keeps its last picture,
// the buffer is cleared as the drawing path would have left it, and the next
// frame draws.
TEST_F(Blitters, TheScreenShowsTheFrameTheBufferIsClearedAndANullDisplayPointerSkipsOneFrame) {
  // Cell (0, 0): bytes from GXBeginDraw's pointer, or from 0xAC050020 for the direct device.
  constexpr ptrdiff_t kDirectLast = 0xAC07581E - kDirectDisplayStart, kUnchecked = 1;  // odd: no pixel starts there
  const struct { DeviceClass device; int32_t variant, clearValue; ptrdiff_t firstCell; } cases[] = {
      {DeviceClass::Generic, 0, 0x10000000, 153120}, {DeviceClass::Generic, 1, 0x0BB80000, 478},
      {DeviceClass::Linear, 0, 0x10000000, -638},    {DeviceClass::Linear, 1, 0x10000000, 152960},
      {DeviceClass::Palmax, 0, 0x10000000, -638},    {DeviceClass::Palmax, 1, 0x10000000, kUnchecked},
      {DeviceClass::Direct, 0, 0x10000000, kDirectLast}, {DeviceClass::Direct, 1, 0x10000000, 0},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(::testing::Message() << "device " << static_cast<int>(test.device) << " variant " << test.variant);
    platform::EmulatedDisplay& display = useDevice(test.device, test.variant);
    const std::vector<int32_t> frame = fillRandomFrame(7 + static_cast<uint32_t>(test.variant));
    const bool direct = test.device == DeviceClass::Direct;
    const auto* base = static_cast<const uint8_t*>(direct ? display.directMemory() : display.beginDraw());
    // The 32-bit stores need word-aligned display memory.
    const bool linear = test.device == DeviceClass::Linear || test.device == DeviceClass::Palmax;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(base - (linear ? 638 : 0)) % 4, 0u);

    EXPECT_EQ(renderContext.blitFunction(), 1);
    uint16_t first = ColourLookup[static_cast<uint16_t>(frame[0])];
    if (test.firstCell != kUnchecked) std::memcpy(&first, base + test.firstCell, sizeof first);
    EXPECT_EQ(first, ColourLookup[static_cast<uint16_t>(frame[0])]) << "cell (0, 0)";
    EXPECT_TRUE(display.screen() == predictedScreen(frame, test.variant));
    EXPECT_TRUE(display.guardsIntact());
    EXPECT_TRUE(clearedTo(test.clearValue));
    EXPECT_EQ(platform::countCalls(platform::Call::GXBeginDraw), direct ? 0u : 1u);
    EXPECT_EQ(platform::countCalls(platform::Call::GXEndDraw), direct ? 0u : 1u);
    if (direct) continue;  // no GAPI calls to fail

    display.setBeginDrawFails(true);
    fillRandomFrame(2);
    EXPECT_EQ(renderContext.blitFunction(), 0);
    EXPECT_TRUE(display.screen() == predictedScreen(frame, test.variant));
    EXPECT_TRUE(clearedTo(test.clearValue));
    EXPECT_EQ(platform::countCalls(platform::Call::GXBeginDraw), 2u);
    EXPECT_EQ(platform::countCalls(platform::Call::GXEndDraw), 1u);  // end pairs only with a successful begin
    display.setBeginDrawFails(false);
    const std::vector<int32_t> next = fillRandomFrame(3);
    EXPECT_EQ(renderContext.blitFunction(), 1);
    EXPECT_TRUE(display.screen() == predictedScreen(next, test.variant));
  }
}

}  // namespace
