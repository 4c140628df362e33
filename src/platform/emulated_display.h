// The display memory of the three handheld classes, emulated, and the one
// portrait screen each decodes its memory into.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/screen.h"

namespace platform {

using ::kScreenHeight;
using ::kScreenPixels;
using ::kScreenWidth;

enum class DeviceClass {
  Generic,  // GXBeginDraw gives memory of 480-byte rows
  Linear,   // 76800 contiguous pixels from 638 bytes before GXBeginDraw's pointer
  Direct,   // fixed display memory; no GXBeginDraw
  Palmax,   // the linear memory, under another maker's OEM string
};

// The command-line names of the device classes, in the order of DeviceClass.
inline const std::vector<std::string> kDeviceClassNames = {"generic", "linear", "direct", "palmax"};

// One of kDeviceClassNames; false for any other name.
bool parseDeviceClass(const std::string& name, DeviceClass& device);

class EmulatedDisplay {
 public:
  explicit EmulatedDisplay(DeviceClass device);
  ~EmulatedDisplay();
  EmulatedDisplay(const EmulatedDisplay&) = delete;
  EmulatedDisplay& operator=(const EmulatedDisplay&) = delete;

  DeviceClass device() const { return device_; }
  // The OEM information string that makes the viewer pick this device's blitter.
  std::u16string oemInfo() const;
  // The pointer GXBeginDraw returns (null when failBeginDraw is set).
  void* beginDraw();
  int endDraw();
  // The memory standing for address 0xAC050020 (the direct class).
  uint8_t* directMemory();
  // Makes the next beginDraw calls return null, for tests of that case.
  void setBeginDrawFails(bool fails) { failBeginDraw_ = fails; }
  // True while nothing was written outside the display memory proper.
  bool guardsIntact() const;

  // The portrait screen the memory shows: 320 rows of 240 5-6-5 pixels, top
  // row first.
  std::vector<uint16_t> screen() const;

 private:
  DeviceClass device_;
  bool failBeginDraw_ = false;
  std::vector<uint8_t> memory_;  // the device's display memory, with guard space
  size_t origin_ = 0;            // offset in memory_ of the first pixel
};

}  // namespace platform
