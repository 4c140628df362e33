// Settings of a self-contained viewer: angles and overlays. Refused values
// are checked through the command line.
#include "qbzpack/tool_error.h"
#include "qbzpack/view_settings.h"
#include "test_files.h"

using namespace qbzpack;

TEST(ViewSettings, AnglesInDegreesOrUnits) {
  const std::pair<const char*, int> good[] = {{"90", 512}, {"-45", -256}, {"1327u", 1327}, {"233.3", 1327}, {"0", 0}};
  for (const auto& [text, units] : good) EXPECT_EQ(parseAngle(text, "a"), units) << text;
  for (const char* bad : {"", "u", "ninety", "12deg", "1e9", "nan", "inf", "5uu"}) {
    EXPECT_THROW(parseAngle(bad, "--yaw"), ToolError) << bad;
  }
}

TEST(ViewSettings, OverlaysAreStoredBottomUpAndMayTouchTheScreenCorner) {
  qbzpack_test::ScratchDirectory dir;
  RgbImage picture(2, 3);
  const Rgb rows[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};  // top, middle, bottom
  for (uint32_t i = 0; i < 6; ++i) setPixel(picture, i % 2, i / 2, rows[i / 2]);
  qbzpack_test::writePng(dir.path("logo.png"), picture);
  ViewOptions o;
  o.overlay1 = dir.path("logo.png");
  o.overlay1X = 238, o.overlay1Y = 317;  // touching the bottom-right corner
  const AppendedExtras extras = buildExtras(o, {}, false);
  EXPECT_TRUE(extras.settings.overlay1Width == 2u && extras.settings.overlay1Height == 3u);
  EXPECT_EQ(extras.overlay1, (std::vector<uint16_t>{0x003E, 0x003E, 0x07C0, 0x07C0, 0xF800, 0xF800}));
}
