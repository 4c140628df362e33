#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "display/blitters.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "render/render_context.h"

namespace {

// The headless backend with an OEM string of the test's choosing.
class OemBackend : public platform::HeadlessBackend {
 public:
  OemBackend() : HeadlessBackend(platform::HeadlessOptions{}) {}
  std::u16string oemInfo() override { return oem; }
  std::u16string oem;
};

BlitFunction blitterFor(const std::u16string& oem) {
  OemBackend backend;
  backend.oem = oem;
  platform::installBackend(&backend);
  RenderContext context{};
  const int32_t result = selectBlitter(context);
  platform::installBackend(nullptr);
  EXPECT_EQ(result, 1);
  return context.blitFunction;
}

TEST(BlitterSelection, CompaqModelDigitChoosesDirectOrLinear) {
  EXPECT_EQ(blitterFor(u"Compaq iPAQ H3800"), &blitDirect);
  EXPECT_EQ(blitterFor(u"CompaqXXXXXXXX8"), &blitDirect);
  EXPECT_EQ(blitterFor(u"Compaq iPAQ H3600"), &blitLinear);
  EXPECT_EQ(blitterFor(u"Compaq iPAQ H3788"), &blitLinear);  // '7' at 14, '8' after it
  // Shorter than 15 characters: index 14 of the zeroed buffer is 0.
  EXPECT_EQ(blitterFor(u"Compaq"), &blitLinear);
  EXPECT_EQ(blitterFor(u"Compaq iPAQ 8"), &blitLinear);
}

TEST(BlitterSelection, PalmaxIsLinearWhateverFollows) {
  EXPECT_EQ(blitterFor(u"Palmax"), &blitLinear);
  EXPECT_EQ(blitterFor(u"Palmax PD-1100 88888"), &blitLinear);
}

TEST(BlitterSelection, AnyOtherStringIsGeneric) {
  EXPECT_EQ(blitterFor(u""), &blitGeneric);
  EXPECT_EQ(blitterFor(u"compaq iPAQ H3800"), &blitGeneric);
  EXPECT_EQ(blitterFor(u"Compa"), &blitGeneric);
  EXPECT_EQ(blitterFor(u"HP Compaq iPAQ H3800"), &blitGeneric);
  EXPECT_EQ(blitterFor(std::u16string(150, u'x')), &blitGeneric);
}

TEST(BlitterSelection, EachEmulatedDeviceNamesItsOwnBlitter) {
  const std::pair<const char*, BlitFunction> devices[] = {
      {"generic", &blitGeneric}, {"linear", &blitLinear}, {"direct", &blitDirect}, {"palmax", &blitLinear}};
  for (const auto& [name, blitter] : devices) {
    platform::DeviceClass parsed{};
    ASSERT_TRUE(platform::parseDeviceClass(name, parsed)) << name;
    EXPECT_EQ(blitterFor(platform::EmulatedDisplay(parsed).oemInfo()), blitter) << name;
  }
  platform::DeviceClass untouched = platform::DeviceClass::Direct;
  EXPECT_FALSE(platform::parseDeviceClass("Generic", untouched));
  EXPECT_EQ(untouched, platform::DeviceClass::Direct);
}

}  // namespace
