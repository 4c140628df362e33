#include "platform/emulated_display.h"
// placeholder: replaced by the display work (generic class only here)
namespace platform {
bool parseDeviceClass(const std::string& name, DeviceClass& device) {
  if (name == "generic") { device = DeviceClass::Generic; return true; }
  return false;
}
EmulatedDisplay::EmulatedDisplay(DeviceClass device) : device_(device), memory_(kScreenPixels * 2 + 64, 0), origin_(0) {}
EmulatedDisplay::~EmulatedDisplay() = default;
std::u16string EmulatedDisplay::oemInfo() const { return u"qbzview headless"; }
void* EmulatedDisplay::beginDraw() { return failBeginDraw_ ? nullptr : memory_.data() + origin_; }
int EmulatedDisplay::endDraw() { return 1; }
uint8_t* EmulatedDisplay::directMemory() { return memory_.data(); }
std::vector<uint16_t> EmulatedDisplay::screen() const { return std::vector<uint16_t>(kScreenPixels, 0); }
}  // namespace platform
