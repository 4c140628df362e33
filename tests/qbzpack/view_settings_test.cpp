// Settings of a self-contained viewer: angles, limits, texts, colours and overlays.
#include <gtest/gtest.h>

#include "qbzpack/overlay.h"
#include "qbzpack/tool_error.h"
#include "qbzpack/view_settings.h"
#include "test_files.h"

using namespace qbzpack;
using qbzpack_test::ScratchDirectory;

namespace {

bool refused(const ViewOptions& options) {
  try {
    buildExtras(options, {}, false);
  } catch (const ToolError&) {
    return true;
  }
  return false;
}

}  // namespace

TEST(ViewSettings, AnglesInDegreesOrUnits) {
  EXPECT_EQ(parseAngle("90", "a"), 512);
  EXPECT_EQ(parseAngle("-45", "a"), -256);
  EXPECT_EQ(parseAngle("512u", "a"), 512);
  EXPECT_EQ(parseAngle("1327u", "a"), 1327);
  EXPECT_EQ(parseAngle("233.3", "a"), 1327);  // 233.3 * 2048 / 360 = 1327.2
  EXPECT_EQ(parseAngle("0", "a"), 0);
  for (const char* bad : {"", "u", "ninety", "12deg", "1e9", "nan", "inf", "5uu"}) {
    EXPECT_THROW(parseAngle(bad, "--yaw"), ToolError) << bad;
  }
}

TEST(ViewSettings, DefaultsAreTheViewersOwn) {
  const AppendedExtras extras = buildExtras({}, {}, false);
  const ViewerSettings& s = extras.settings;
  EXPECT_EQ(s.zoomMin, 130u);
  EXPECT_EQ(s.zoomMax, 240u);
  EXPECT_EQ(s.initialZoom, 130u);
  EXPECT_EQ(s.pitchMin, -512);
  EXPECT_EQ(s.pitchMax, 512);
  EXPECT_EQ(s.initialYaw, 0);
  EXPECT_EQ(s.bannerColour, 0xFC81);
  EXPECT_EQ(s.captionColour, 0xFC81);
  EXPECT_EQ(s.bannerFrames, 0);  // no banner, nothing to show
  EXPECT_TRUE(extras.banner.empty());
  EXPECT_TRUE(extras.overlay1.empty());
  EXPECT_EQ(s.overlay1Width, 0u);
}

TEST(ViewSettings, GivenValuesLandInTheirFields) {
  ViewOptions o;
  o.yaw = "-90";
  o.pitch = "10u";
  o.pitchMin = "-30";
  o.pitchMax = "45";
  o.zoom = 200;
  o.zoomMin = 75;
  o.zoomMax = 350;
  o.banner = "hello";
  o.caption = "Husband Hill";
  o.captionX = 20;
  o.captionY = 310;
  o.captionColour = "FFFFFF";
  const AppendedExtras extras = buildExtras(o, {}, false);
  const ViewerSettings& s = extras.settings;
  EXPECT_EQ(s.initialYaw, 1536);  // -90 degrees, as a heading within one turn
  EXPECT_EQ(s.initialPitch, 10);
  EXPECT_EQ(s.pitchMin, -171);
  EXPECT_EQ(s.pitchMax, 256);
  EXPECT_EQ(s.initialZoom, 200u);
  EXPECT_EQ(s.zoomMin, 75u);
  EXPECT_EQ(s.zoomMax, 350u);
  EXPECT_EQ(extras.banner, "hello");
  EXPECT_EQ(s.bannerFrames, 50);
  EXPECT_EQ(extras.caption, "Husband Hill");
  EXPECT_EQ(s.captionX, 20);
  EXPECT_EQ(s.captionY, 310);
  EXPECT_EQ(s.captionColour, 0xFFFF);

  ViewOptions narrow;
  narrow.zoomMin = 150;
  narrow.zoomMax = 300;
  EXPECT_EQ(buildExtras(narrow, {}, false).settings.initialZoom, 150u);  // default zoom moved into the limits
}

TEST(ViewSettings, OutOfRangeValuesAreRefused) {
  auto with = [](auto set) {
    ViewOptions o;
    set(o);
    return o;
  };
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.pitch = "91"; })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.pitchMin = "-600u"; })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.pitchMin = "20", o.pitchMax = "10"; })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.pitch = "50", o.pitchMax = "40"; })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.zoom = 63; })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.zoomMax = 2000; })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.zoomMin = 300; })));  // above the default maximum 240
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.zoom = 100; })));     // below the default minimum 130
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.banner = std::string(100, 'x'); })));
  EXPECT_FALSE(refused(with([](ViewOptions& o) { o.banner = std::string(99, 'x'); })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.caption = std::string(120, 'y'); })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.bannerFrames = -1; })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.captionX = 240; })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.captionY = -1; })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.bannerColour = "orange"; })));
  EXPECT_TRUE(refused(with([](ViewOptions& o) { o.overlay1X = 10; })));  // a position without a picture
}

TEST(ViewSettings, OverlaysAreStoredBottomUpAndMustFitTheScreen) {
  ScratchDirectory dir;
  RgbImage picture(2, 3);
  const Rgb rows[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};  // top, middle, bottom
  for (uint32_t y = 0; y < 3; ++y) {
    for (uint32_t x = 0; x < 2; ++x) setPixel(picture, x, y, rows[y]);
  }
  qbzpack_test::writeRgbPng(dir.path("logo.png"), picture);
  ViewOptions o;
  o.overlay1 = dir.path("logo.png");
  o.overlay1X = 238;
  o.overlay1Y = 317;
  const AppendedExtras extras = buildExtras(o, {}, false);
  EXPECT_EQ(extras.settings.overlay1Width, 2u);
  EXPECT_EQ(extras.settings.overlay1Height, 3u);
  EXPECT_EQ(extras.settings.overlay1X, 238);
  EXPECT_EQ(extras.settings.overlay1Y, 317);
  const std::vector<uint16_t> expected = {0x003E, 0x003E, 0x07C0, 0x07C0, 0xF800, 0xF800};  // blue row first
  EXPECT_EQ(extras.overlay1, expected);
  EXPECT_TRUE(extras.overlay2.empty());

  o.overlay1X = 239;  // one column too far right
  EXPECT_TRUE(refused(o));
  o.overlay1X = -1;
  EXPECT_TRUE(refused(o));
  o.overlay1X = 0;
  o.overlay1Y = 318;
  EXPECT_TRUE(refused(o));

  qbzpack_test::writeRgbPng(dir.path("wide.png"), qbzpack_test::flatPicture(241, 10, {}));
  EXPECT_THROW(overlayFromPicture(qbzpack_test::flatPicture(241, 10, {}), false, "--overlay2"), ToolError);
  EXPECT_THROW(overlayFromPicture(qbzpack_test::flatPicture(10, 321, {}), false, "--overlay2"), ToolError);
  EXPECT_NO_THROW(overlayFromPicture(qbzpack_test::flatPicture(240, 320, {}), false, "--overlay2"));
  ViewOptions wide;
  wide.overlay2 = dir.path("wide.png");
  EXPECT_TRUE(refused(wide));
}
