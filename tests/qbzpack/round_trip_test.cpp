// Packing and reading back through the viewer's own loader: extract gives
// the packed indices again, and info judges files as the viewer does.
#include "panorama/container_writer.h"
#include "qbzpack/colour_index.h"
#include "qbzpack/image_input.h"
#include "qbzpack/inspect_commands.h"
#include "qbzpack/tool_error.h"
#include "test_files.h"

#include <fstream>

using namespace qbzpack;
using qbzpack_test::runTool;
using qbzpack_test::ScratchDirectory;

namespace {

void expectRuns(const std::vector<std::string>& arguments) {
  std::string errors;
  ASSERT_EQ(runTool(arguments, &errors), kExitOk) << errors;
}

void expectSamePictures(const std::string& first, const std::string& second) {
  for (const std::string name : kFaceNames) {
    EXPECT_EQ(loadPicture(first + name + ".png", {}).samples, loadPicture(second + name + ".png", {}).samples) << name;
  }
}

}  // namespace

TEST(RoundTrip, PackedFacesExtractAndRepackUnchanged) {
  ScratchDirectory dir;
  for (const std::string storage : {"--raw", "--no-dither"}) {  // raw, then compressed
    const std::string out = dir.path("card" + storage + ".qbz");
    expectRuns({"testcard", "--face-size", "96", "--tile-size", "32", "--faces", dir.path("drawn"), "-o", out,
                storage, "--allow-holes"});
    expectRuns({"extract", out, dir.path("extracted")});
    expectSamePictures(dir.path("drawn/"), dir.path("extracted/"));
    const ParsedContainer loaded = readPanoramaFile(out);
    ASSERT_TRUE(loaded.storeLoaded);
    EXPECT_EQ(loaded.header->faceSize / loaded.header->tileSize, 3u);  // an odd number of tiles per side is fine for the viewer
    EXPECT_EQ(loaded.header->compressedSize == 0, storage == "--raw");
  }
  // A dithered panorama, extracted and repacked with another tile size, gives the same faces.
  qbzpack_test::writePng(dir.path("pano.png"), qbzpack_test::directionPanorama(64));
  expectRuns({"pack", dir.path("pano.png"), "--face-size", "32", "--tile-size", "4", "--allow-holes", "-o",
              dir.path("a.qbz")});
  expectRuns({"extract", dir.path("a.qbz"), dir.path("faces")});
  using qbzpack_test::operator+;
  expectRuns(qbzpack_test::Arguments{"pack", "--no-dither", "--tile-size", "16", "--allow-holes", "-o", dir.path("b.qbz")} +
             qbzpack_test::faceArguments([&](const std::string& name) { return dir.path("faces/" + name + ".png"); }));
  expectRuns({"extract", dir.path("b.qbz"), dir.path("again")});
  expectSamePictures(dir.path("faces/"), dir.path("again/"));

  // One flat 2-pixel tile per face deflates below what a compressed stream needs: stored raw.
  const uint16_t grey = packLevels(12, 12, 12, 0);
  qbzpack_test::writePng(dir.path("flat.png"), qbzpack_test::flatPicture(16, 8, colourOfStoredIndex(grey)));
  expectRuns({"pack", dir.path("flat.png"), "--face-size", "2", "--tile-size", "2", "--allow-holes", "-o",
              dir.path("tiny.qbz")});
  const ParsedContainer tiny = readPanoramaFile(dir.path("tiny.qbz"));
  ASSERT_TRUE(tiny.storeLoaded);
  EXPECT_EQ(tiny.header->compressedSize, 0u);
  EXPECT_EQ(std::vector<uint16_t>(tiny.pixels.get(), tiny.pixels.get() + tiny.pixelCount), std::vector<uint16_t>(24, grey));
}

TEST(RoundTrip, SelfContainedViewerLoadsWithItsSettings) {
  ScratchDirectory dir;
  qbzpack_test::writePng(dir.path("pano.png"), qbzpack_test::directionPanorama(64));
  qbzpack_test::writeBytes(dir.path("viewer"), std::vector<uint8_t>(1000, 0x90));
  // A logo whose left half is transparent: laid over the background, with a warning.
  std::vector<uint8_t> logo(20 * 10 * 4, 255);
  for (size_t i = 0; i < 200; ++i) logo[i * 4 + 3] = i % 20 < 10 ? 0 : 255;
  qbzpack_test::writePng(dir.path("logo.png"), 20, 10, PNG_FORMAT_RGBA, logo.data());
  const std::string out = dir.path("viewer-with-panorama");
  std::string warnings;
  ASSERT_EQ(runTool({"pack", dir.path("pano.png"), "--face-size", "32", "--tile-size", "8", "--allow-holes",
                     "--viewer", dir.path("viewer"), "-o", out, "--yaw", "-90", "--pitch", "-20", "--pitch-min", "-30",
                     "--pitch-max", "0", "--zoom-min", "150", "--zoom-max", "300", "--banner", "(©) example.org/mars",
                     "--caption", "Husband Hill", "--caption-colour", "FFFFFF", "--background", "0000FF", "--overlay1",
                     dir.path("logo.png"), "--overlay1-x", "5", "--overlay1-y", "7"}, &warnings),
            kExitOk) << warnings;
  EXPECT_EQ(warnings,
            "qbzpack: warning: --banner: the viewer's font has no '(', '©', ')', '/'; the viewer shows them as spaces\n"
            "qbzpack: warning: --overlay1: 100 of its pixels are transparent; the viewer draws overlays opaque, so "
            "they are laid over --background 0000FF\n");
  const std::vector<uint8_t> bytes = qbzpack_test::readBytes(out);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 1000), std::vector<uint8_t>(1000, 0x90));
  EXPECT_EQ(std::filesystem::status(out).permissions() & std::filesystem::perms::all,
            static_cast<std::filesystem::perms>(0755)) << "the viewer can be run";
  const ParsedContainer p = readPanoramaFile(out);
  ASSERT_TRUE(p.storeLoaded);
  // Yaw -90 degrees as a heading within one turn (1536). Elevations, positive up, stored with the
  // viewer's sign (its pitch grows downwards); the horizon as highest elevation is stored one unit
  // up (-1), as 0 would mean straight up. The default zoom moved into the limits (150).
  const ViewerSettings& s = p.trailer->settings;
  EXPECT_EQ(std::tuple(s.initialYaw, s.initialPitch, s.pitchMax, s.pitchMin, s.initialZoom, s.captionColour),
            std::tuple(1536, 114, 171, -1, 150u, 0xFFFF));
  EXPECT_EQ(std::string(p.banner.get()) + "|" + p.caption.get(), "(©) example.org/mars|Husband Hill");
  EXPECT_EQ(p.overlay1.width * p.overlay1.height, 200u);
  std::string shown;
  EXPECT_EQ(runTool({"info", out}, nullptr, &shown), kExitOk);
  for (const char* wanted : {"self-contained viewer", "\"Husband Hill\"", "150 to 300", "20 x 10 at (5, 7)",
                             "pitch -20.0 degrees (stored 114u)", "pitch limits:   -30.1 degrees to 0.2 degrees",
                             "shows whole:    no (32-pixel faces with 8-pixel tiles would show holes at zoom 150"}) {
    EXPECT_NE(shown.find(wanted), std::string::npos) << wanted << " in\n" << shown;
  }
}

TEST(RoundTrip, InfoAndExtractRefuseWhatTheViewerRefuses) {
  ScratchDirectory dir;
  expectRuns({"testcard", "--face-size", "32", "--tile-size", "8", "--allow-holes", "-o", dir.path("card.qbz")});
  const std::vector<uint8_t> whole = qbzpack_test::readBytes(dir.path("card.qbz"));
  std::vector<uint8_t> wrong = whole, odd(whole.begin(), whole.begin() + 28);
  wrong[0] = 'X';
  odd[16] = 3;
  std::filesystem::create_directory(dir.path("folder.qbz"));
  std::ofstream(dir.path("huge.qbz")) << "QBZP";
  std::filesystem::resize_file(dir.path("huge.qbz"), (uint64_t{1} << 31) + 8);  // sparse: costs no disk
  // Damaged containers are described on stdout; what is no container at all
  // gets one line on stderr.
  const std::tuple<std::string, std::vector<uint8_t>, const char*, const char*> cases[] = {
      {"short.qbz", std::vector<uint8_t>(whole.begin(), whole.end() - 10), "viewer loads:   no", "would not load"},
      {"odd.qbz", odd, "no (it needs a power-of-two tile size", "would not load"},
      {"trailer.qbz", {1, 2, 3, 'A', 'Q', 'B', 'Z'}, "viewer loads:   no", "would not load"},
      {"wrong.qbz", wrong, "", "not a QBZ container"},
      {"photo.jpg", qbzpack_test::readBytes(qbzpack_test::fixture("colour.jpg")), "", "not a QBZ container"},
      {"folder.qbz", {}, "", "is a directory"},
      {"huge.qbz", {}, "", "too large"}};
  // Texts reach the terminal escaped: a trailer text cannot drive it. Pitches of -2^31 are described,
  // not negated out of range.
  AppendedExtras extras;
  extras.banner = "\x1b]0;title\x07\"q\"\\ \xC2\xA9";
  extras.settings.initialPitch = extras.settings.pitchMax = INT32_MIN;
  qbzpack_test::writeBytes(dir.path("texts"), encodeAppended({}, whole, extras));
  std::string shown;
  EXPECT_EQ(runTool({"info", dir.path("texts")}, nullptr, &shown), kExitOk);
  EXPECT_NE(shown.find(R"(banner:         "\x1B]0;title\x07\"q\"\\ \xC2\xA9",)"), std::string::npos) << shown;
  EXPECT_NE(shown.find("pitch 377487360.0 degrees (stored -2147483648u)"), std::string::npos) << shown;

  for (const auto& [name, bytes, shownWhy, errorWhy] : cases) {
    if (!bytes.empty()) qbzpack_test::writeBytes(dir.path(name), bytes);
    std::string errors, shown;
    EXPECT_EQ(runTool({"info", dir.path(name)}, &errors, &shown), kExitFailure) << name;
    EXPECT_NE((*shownWhy ? shown : errors).find(*shownWhy ? shownWhy : errorWhy), std::string::npos)
        << name << "\n" << shown << errors;
    EXPECT_EQ(runTool({"extract", dir.path(name), dir.path("out_" + name)}, &errors), kExitFailure);
    EXPECT_NE(errors.find(errorWhy), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(dir.path("out_" + name)));
  }
}
