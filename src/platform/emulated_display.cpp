#include "platform/emulated_display.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr size_t kDisplayBytes = kScreenBytes;
// Space on both sides of the display memory, filled with a pattern, so that a
// write at a wrong address is seen by guardsIntact() instead of hitting the heap.
constexpr size_t kGuardBytes = 4096;
constexpr uint8_t kGuardByte = 0xA5;
constexpr size_t kGenericRowBytes = kScreenRowBytes;
constexpr size_t kLinearPointerOffset = 638;  // GXBeginDraw's pointer lies this far into the memory

// The pixel index in each layout's memory that shows screen pixel (x, y). The
// linear memory holds the landscape frame buffer with its rows as screen
// columns; the direct memory holds it the other way round.
size_t pixelIndex(DeviceClass device, int32_t x, int32_t y) {
  switch (device) {
    case DeviceClass::Linear:
    case DeviceClass::Palmax:
      return static_cast<size_t>(kScreenHeight * x + kScreenHeight - 1 - y);
    case DeviceClass::Direct:
      return static_cast<size_t>(kScreenHeight * (kScreenWidth - 1 - x) + y);
    case DeviceClass::Generic:
      break;
  }
  return static_cast<size_t>(y) * (kGenericRowBytes / 2) + static_cast<size_t>(x);
}

}  // namespace

bool parseDeviceClass(const std::string& name, DeviceClass& device) {
  const auto found = std::find(kDeviceClassNames.begin(), kDeviceClassNames.end(), name);
  if (found == kDeviceClassNames.end()) return false;
  device = static_cast<DeviceClass>(found - kDeviceClassNames.begin());
  return true;
}

EmulatedDisplay::EmulatedDisplay(DeviceClass device)
    : device_(device), memory_(kGuardBytes + 4 + kDisplayBytes + kGuardBytes, kGuardByte) {
  // Display memory starts word-aligned, as every blitter's 32-bit stores need.
  const auto address = reinterpret_cast<uintptr_t>(memory_.data() + kGuardBytes);
  origin_ = kGuardBytes + static_cast<size_t>((4 - address % 4) % 4);
  std::memset(memory_.data() + origin_, 0, kDisplayBytes);
}

EmulatedDisplay::~EmulatedDisplay() = default;

std::u16string EmulatedDisplay::oemInfo() const {
  switch (device_) {
    case DeviceClass::Linear:
      return std::u16string(kOemMakerCompaq) + u" iPAQ H3600";  // '6' at index 14
    case DeviceClass::Direct:
      return std::u16string(kOemMakerCompaq) + u" iPAQ H3800";  // '8' at index 14
    case DeviceClass::Palmax:
      return std::u16string(kOemMakerPalmax) + u" PD-1100";
    case DeviceClass::Generic:
      break;
  }
  return u"qbzview headless handheld";
}

void* EmulatedDisplay::beginDraw() {
  if (failBeginDraw_) return nullptr;
  uint8_t* start = memory_.data() + origin_;
  if (device_ == DeviceClass::Linear || device_ == DeviceClass::Palmax) return start + kLinearPointerOffset;
  return start;
}

int EmulatedDisplay::endDraw() { return 1; }

uint8_t* EmulatedDisplay::directMemory() { return memory_.data() + origin_; }

bool EmulatedDisplay::guardsIntact() const {
  for (size_t i = 0; i < memory_.size(); ++i) {
    const bool inside = i >= origin_ && i < origin_ + kDisplayBytes;
    if (!inside && memory_[i] != kGuardByte) return false;
  }
  return true;
}

std::vector<uint16_t> EmulatedDisplay::screen() const {
  std::vector<uint16_t> screen(kScreenPixels);
  const uint8_t* start = memory_.data() + origin_;
  for (int32_t y = 0; y < kScreenHeight; ++y) {
    for (int32_t x = 0; x < kScreenWidth; ++x) {
      uint16_t pixel;
      std::memcpy(&pixel, start + 2 * pixelIndex(device_, x, y), sizeof pixel);
      screen[static_cast<size_t>(y) * kScreenWidth + static_cast<size_t>(x)] = pixel;
    }
  }
  return screen;
}

}  // namespace platform
