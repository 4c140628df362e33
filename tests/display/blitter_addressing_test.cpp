#include <algorithm>
#include <cstddef>

#include "display_fixture.h"

namespace {

using platform::DeviceClass;

struct Placement {
  int32_t cell;
  ptrdiff_t offset;  // bytes from GXBeginDraw's pointer, or from 0xAC050020 for the direct device
};

struct BlitCase {
  DeviceClass device;
  int32_t variant;
  int32_t clearValue;
  size_t gapiCalls;  // GXBeginDraw and GXEndDraw, each
  std::vector<Placement> placements;
};

constexpr ptrdiff_t direct(uint32_t address) { return static_cast<ptrdiff_t>(address - kDirectDisplayStart); }

class BlitterAddressing : public DisplayFixture {};

TEST_F(BlitterAddressing, CellsLandAtTheirAddressesAndAreCleared) {
  const BlitCase cases[] = {
      // Cells (0, 0) and (1, 0) share the word at P + 153120; (0, 1) is a screen row higher.
      {DeviceClass::Generic, 0, 0x10000000, 1, {{0, 153120}, {320, 153122}, {1, 152640}, {76479, 476}, {76799, 478}}},
      // Cell (0, 0) in the high half of the word at P + 476.
      {DeviceClass::Generic, 1, 0x0BB80000, 1, {{0, 478}, {320, 476}, {319, 153598}, {76799, 153120}}},
      {DeviceClass::Linear, 0, 0x10000000, 1, {{0, -638}, {1, -636}, {76799, 152960}}},
      {DeviceClass::Linear, 1, 0x10000000, 1, {{0, 152960}, {1, 152958}, {76799, -638}}},
      {DeviceClass::Palmax, 0, 0x10000000, 1, {{0, -638}, {76799, 152960}}},
      {DeviceClass::Direct, 0, 0x10000000, 0, {{0, direct(0xAC07581E)}, {1, direct(0xAC07581C)}, {76799, direct(0xAC050020)}}},
      {DeviceClass::Direct, 1, 0x10000000, 0, {{0, direct(0xAC050020)}, {1, direct(0xAC050022)}, {76799, direct(0xAC07581E)}}},
  };
  for (const BlitCase& test : cases) {
    SCOPED_TRACE(::testing::Message() << "device " << static_cast<int>(test.device) << " variant " << test.variant);
    platform::EmulatedDisplay& display = useDevice(test.device, test.variant);
    const std::vector<int32_t> frame = fillRandomFrame(7);
    const bool direct = test.device == DeviceClass::Direct;
    const auto* base = static_cast<const uint8_t*>(direct ? display.directMemory() : display.beginDraw());
    // The 32-bit stores need word-aligned display memory.
    const bool linear = test.device == DeviceClass::Linear || test.device == DeviceClass::Palmax;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(base - (linear ? 638 : 0)) % 4, 0u);

    EXPECT_EQ(renderContext.blitFunction(), 1);
    for (const Placement& placement : test.placements) {
      EXPECT_EQ(pixelAt(base + placement.offset), pixelOfCell(frame[static_cast<size_t>(placement.cell)]))
          << "cell " << placement.cell;
    }
    EXPECT_TRUE(display.guardsIntact());
    EXPECT_TRUE(std::all_of(FrameBuffer, FrameBuffer + kFrameCells, [&](int32_t c) { return c == test.clearValue; }));
    EXPECT_EQ(platform::countCalls(platform::Call::GXBeginDraw), test.gapiCalls);
    EXPECT_EQ(platform::countCalls(platform::Call::GXEndDraw), test.gapiCalls);
  }
}

}  // namespace
