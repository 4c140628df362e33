// Colours as the viewer's screen shows them: the levels, the quantiser and
// the dithering, measured from the headless viewer's screenshots.

#include "platform/atomic_file.h"
#include "platform/host/headless_host.h"
#include "qbzpack/colour_index.h"
#include "qbzpack/image_input.h"
#include "qbzpack/panorama_output.h"
#include "qbzpack/quantise.h"
#include "qbzpack/tool_error.h"
#include "test_files.h"

using namespace qbzpack;

TEST(ColourIndex, NearestShownLevelsAndTextColours) {
  // Shown intensities at full brightness: red and blue reach 0..255, green 4..255.
  EXPECT_EQ(shownColourOfLevels(0, 0, 0), (Rgb{0, 4, 0}));
  EXPECT_EQ(shownColourOfLevels(31, 31, 31), (Rgb{255, 255, 255}));
  for (int channel = 0; channel < 3; ++channel) {
    const auto& shown = shownIntensities(channel);
    for (int v = shown.front(); v <= shown.back(); ++v) {
      EXPECT_LE(std::abs(shown[nearestLevel(channel, v)] - v), 4.5) << channel << ": " << v;
    }
    EXPECT_EQ(nearestLevel(channel, -40), 0);
    EXPECT_EQ(nearestLevel(channel, NAN), 0);
  }
  // Every shown colour packs back to its own index, bit 0 left for the renderer.
  for (uint32_t index = 0; index < 65536; index += 2) EXPECT_EQ(storedIndexOf(colourOfStoredIndex(index)), index);
  // Text colours are full brightness with depth bit set: r 31, g 18, b 0 is the viewer's 0xFC81.
  const std::pair<const char*, uint16_t> texts[] = {{"FF9700", 0xFC81}, {"#FC9403", 0xFC81}, {"0xffffff", 0xFFFF}};
  for (const auto& [text, colour] : texts) EXPECT_EQ(textColourOf(parseRgb(text, "t")), colour) << text;
  for (const char* bad : {"", "FFF", "GG0000", "1234567", "0x", "12 456"}) EXPECT_THROW(parseRgb(bad, ""), ToolError);
}

// Each flat colour quantised and packed into a self-contained viewer zoomed in to 4 screen
// pixels a texel; the mean of its headless screenshot against the source,
// taken within what the screen can show.
TEST(Quantise, TheScreenShowsEachFlatPatchsMean) {
  qbzpack_test::ScratchDirectory dir;
  std::vector<Rgb> patches;
  for (int i = 0; i < 32; ++i) patches.push_back({uint8_t((i * 255 + 15) / 31), uint8_t((i * 255 + 15) / 31), uint8_t((i * 255 + 15) / 31)});
  for (const uint8_t l : {70, 150, 230}) patches.insert(patches.end(), {{l, 0, 0}, {0, l, 0}, {0, 0, l}, {l, l, 0}, {0, l, l}, {l, 0, l}});
  const std::string viewer = dir.path("flat");
  for (const Rgb source : patches) {
    CubeFaces cube;
    cube.faceSize = 256;
    for (RgbImage& face : cube.faces) face = qbzpack_test::flatPicture(256, 256, source);
    for (const bool dither : {true, false}) {
      AppendedExtras extras;
      extras.settings.zoomMin = extras.settings.zoomMax = extras.settings.initialZoom = 520;
      const std::vector<uint8_t> container = encodeContainer(panoramaFromFaces(cube, 32, 0, dither), false);
      ASSERT_TRUE(platform::writeFileAtomically(viewer, encodeAppended(std::vector<uint8_t>(64, 0x90), container, extras)));
      platform::HeadlessRun run;
      run.options.moduleFile = viewer, run.options.standaloneFile = dir.path("none.qbz");
      run.screenshotPath = dir.path("screen.png");
      ASSERT_EQ(platform::runHeadless(run).exitCode, 0);
      const RgbImage screen = loadPicture(run.screenshotPath, {});
      const uint8_t wanted[3] = {source.r, source.g, source.b};
      for (int c = 0; c < 3; ++c) {
        double sum = 0;
        for (size_t i = c; i < screen.samples.size(); i += 3) sum += screen.samples[i];
        const double mean = sum / (screen.samples.size() / 3);
        const auto& shown = shownIntensities(c);
        const double reachable = std::clamp<double>(wanted[c], shown.front(), shown.back());
        EXPECT_LE(std::fabs(mean - reachable), dither ? 1.5 : 4.5)
            << (dither ? "dithered " : "rounded ") << int(source.r) << "," << int(source.g) << "," << int(source.b)
            << " channel " << c << " shows " << mean;
      }
    }
  }
}
