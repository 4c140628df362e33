// Loading containers: raw and compressed stores, the rejection rules, the
// appended trailer with its texts and overlays, and which source wins.
#include <zlib.h>

#include <cstring>

#include "panorama_test_files.h"

namespace panorama_test {
namespace {

// A container built byte by byte, without the writer: faces of one 2x2 tile.
Bytes handBuiltRawContainer() {
  Bytes file = {'Q', 'B', 'Z', 'P', 1, 0, 0, 0, 28, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0};
  for (uint8_t k = 0; k < 24; ++k) {
    file.push_back(k);
    file.push_back(0x80);
  }
  return file;
}

// A plain 2x2 panorama deflates to fewer bytes than the scrambled 18; such a
// stream cannot be unscrambled and is refused.
Bytes shortStreamContainer() {
  Bytes file = handBuiltRawContainer();
  const Bytes store(48, 0);
  uLongf streamBytes = compressBound(48);
  Bytes stream(streamBytes);
  EXPECT_EQ(compress2(stream.data(), &streamBytes, store.data(), 48, Z_BEST_COMPRESSION), Z_OK);
  EXPECT_LT(streamBytes, 18u);
  stream.resize(streamBytes);
  file.resize(28);
  ContainerHeader header = headerOf(file);
  header.compressedSize = static_cast<uint32_t>(streamBytes);
  setHeader(file, header);
  file.insert(file.end(), stream.begin(), stream.end());
  file.insert(file.end(), 40, 0);  // room behind it, so only the stream's length is at fault
  return file;
}

struct NamedFile {
  const char* what;
  Bytes file;
};
void addCase(std::vector<NamedFile>& cases, const char* what, Bytes file) {
  cases.push_back(NamedFile{what, std::move(file)});
}

void expectNoStore() {
  EXPECT_EQ(panoramaContainer.pixels, nullptr);
  EXPECT_EQ(panoramaContainer.totalPixels, 0u);
  EXPECT_EQ(panoramaContainer.faceSize(), 0u);
  EXPECT_EQ(panoramaContainer.tilePixels(0, 0, 0), nullptr);
}

using ContainerLoading = PanoramaFiles;

TEST_F(ContainerLoading, RawStoreIsTakenAsStoredLittleEndian) {
  startUpExtras();
  ASSERT_TRUE(loadStandalone(handBuiltRawContainer()));
  const PanoramaContainer& c = panoramaContainer;
  EXPECT_EQ(c.faceSize(), 2u);
  EXPECT_EQ(c.tileSize(), 2u);
  EXPECT_EQ(c.drawMode(), 3);
  EXPECT_EQ(c.header.compressedSize, 0u);
  EXPECT_EQ(c.tilesPerSide, 1u);
  EXPECT_EQ(c.pixelsPerTile, 4u);
  EXPECT_EQ(c.pixelsPerFace, 4u);
  ASSERT_EQ(c.totalPixels, 24u);
  for (uint16_t k = 0; k < 24; ++k) EXPECT_EQ(c.pixels[k], 0x8000 | k) << k;
  EXPECT_EQ(c.tilePixels(5, 0, 0), c.pixels + 20);
  // A stand-alone file has no trailer: the start-up extras stay.
  EXPECT_EQ(c.settings.zoomMin, 130u);
  EXPECT_EQ(c.settings.zoomMax, 240u);
  EXPECT_EQ(c.bannerText, nullptr);
}

TEST_F(ContainerLoading, RawAndCompressedGiveTheSameStore) {
  const PanoramaImage image = patternImage(64, 16, 5, 3, 2);
  const Bytes raw = encodeContainer(image, false);
  const Bytes compressed = encodeContainer(image, true);
  ASSERT_FALSE(compressed.empty());
  ASSERT_LT(compressed.size(), raw.size());

  ASSERT_TRUE(loadStandalone(raw));
  EXPECT_EQ(storeOf(panoramaContainer), image.pixels);
  ASSERT_TRUE(loadStandalone(compressed));
  EXPECT_EQ(storeOf(panoramaContainer), image.pixels);
  EXPECT_EQ(panoramaContainer.header.compressedSize, compressed.size() - 28);
  EXPECT_EQ(panoramaContainer.drawMode(), 2);
}

TEST_F(ContainerLoading, ScrambledStreamInflatesAndDoublyUnscrambledFails) {
  const PanoramaImage image = patternImage(32, 8, 11, 7);
  Bytes file = encodeContainer(image, true);
  ASSERT_FALSE(file.empty());
  // The stored stream starts with zlib's header byte 0x78 XORed with 'd'.
  EXPECT_EQ(file[28], 0x78 ^ 'd');
  ASSERT_TRUE(loadStandalone(file));
  EXPECT_EQ(storeOf(panoramaContainer), image.pixels);

  unscrambleStream(file.data() + 28);  // now plain, so the loader's XOR spoils it
  EXPECT_FALSE(loadStandalone(file));
  expectNoStore();
}

TEST_F(ContainerLoading, TileGeometryOfTheShippedSizeAndOfARemainder) {
  ASSERT_TRUE(loadStandalone(encodeContainer(patternImage(512, 32), false)));
  const PanoramaContainer& c = panoramaContainer;
  EXPECT_EQ(c.tilesPerSide, 16u);
  EXPECT_EQ(c.pixelsPerTile, 1024u);
  EXPECT_EQ(c.pixelsPerFace, 262144u);
  EXPECT_EQ(c.totalPixels, 1572864u);
  EXPECT_EQ(c.tilePixels(0, 0, 0), c.pixels);
  EXPECT_EQ(c.tilePixels(1, 2, 3) - c.pixels, 313344);
  EXPECT_EQ(*c.tilePixels(1, 2, 3), static_cast<uint16_t>(313344));

  ASSERT_TRUE(loadStandalone(encodeContainer(patternImage(500, 32), false)));
  EXPECT_EQ(c.tilesPerSide, 15u);
  EXPECT_EQ(c.totalPixels, 6u * 15 * 15 * 1024);
  // The last tile ends exactly at the end of the store.
  EXPECT_EQ(c.tilePixels(5, 14, 14) + 1024, c.pixels + c.totalPixels);
}

TEST_F(ContainerLoading, EveryRejectionLeavesNothingAllocated) {
  const PanoramaImage image = patternImage(64, 16, 1, 5);
  const Bytes raw = encodeContainer(image, false);
  const Bytes compressed = encodeContainer(image, true);
  ASSERT_FALSE(compressed.empty());
  const uint32_t streamBytes = headerOf(compressed).compressedSize;

  auto withHeader = [](Bytes file, auto change) {
    ContainerHeader header = headerOf(file);
    change(header);
    setHeader(file, header);
    return file;
  };
  std::vector<NamedFile> cases;
  cases.reserve(24);
  addCase(cases, "bad magic", withHeader(raw, [](ContainerHeader& h) { h.magic[3] = 'Q'; }));
  for (uint32_t tile : {0u, 1u, 3u, 24u, 256u}) {
    addCase(cases, "tile size", withHeader(raw, [tile](ContainerHeader& h) { h.tileSize = tile; }));
  }
  addCase(cases, "face below tile", withHeader(raw, [](ContainerHeader& h) { h.faceSize = 8; }));
  addCase(cases, "face above 2048", withHeader(compressed, [](ContainerHeader& h) { h.faceSize = 2049; }));
  addCase(cases, "stream beyond file",
                     withHeader(compressed, [streamBytes](ContainerHeader& h) { h.compressedSize = streamBytes + 1; }));
  addCase(cases, "stream under 18 bytes", shortStreamContainer());
  addCase(cases, "short raw store", Bytes(raw.begin(), raw.end() - 1));
  addCase(cases, "header only", Bytes(raw.begin(), raw.begin() + 28));
  addCase(cases, "short header", Bytes(raw.begin(), raw.begin() + 27));
  addCase(cases, "empty file", Bytes());
  // A stream cut in half inflates to less than the store.
  Bytes cut = withHeader(compressed, [streamBytes](ContainerHeader& h) { h.compressedSize = streamBytes / 2; });
  cut.resize(28 + streamBytes / 2);
  addCase(cases, "cut stream", cut);
  // A whole stream of a smaller panorama also falls short of the store.
  Bytes smaller = encodeContainer(patternImage(32, 16, 1, 5), true);
  addCase(cases, "smaller stream", withHeader(smaller, [](ContainerHeader& h) { h.faceSize = 64; }));
  // A spoilt check value is an inflate error, even though the store is full.
  Bytes badCheck = compressed;
  badCheck.back() ^= 0x01;
  addCase(cases, "bad check value", badCheck);
  // A store far larger than any deflate stream of this length could fill.
  addCase(cases, "store beyond deflate's reach",
                     withHeader(compressed, [](ContainerHeader& h) { h.faceSize = 2048; }));

  for (const auto& [what, file] : cases) {
    ASSERT_TRUE(loadStandalone(raw)) << what;  // a store is held before each attempt
    EXPECT_FALSE(loadStandalone(file)) << what;
    expectNoStore();
  }
  EXPECT_FALSE(panoramaContainer.loadFile(pathIn("missing.qbz").c_str()));
  expectNoStore();
}

TEST_F(ContainerLoading, AcceptedBoundsAndAStreamLongerThanTheStore) {
  // The largest geometry: 2048 faces of 128-pixel tiles, 48 MiB of store.
  PanoramaImage largest = patternImage(2048, 128, 0x1234, 0);
  ASSERT_TRUE(loadStandalone(encodeContainer(largest, true)));
  EXPECT_EQ(panoramaContainer.totalPixels, 6u * 2048 * 2048);
  EXPECT_EQ(panoramaContainer.pixels[panoramaContainer.totalPixels - 1], 0x1234);
  largest.pixels.clear();

  ASSERT_TRUE(loadStandalone(handBuiltRawContainer()));  // tile size 2, the smallest

  // Output beyond the store is ignored: a 32-pixel header over a 64-pixel stream.
  const PanoramaImage image = patternImage(64, 16, 9, 1);
  Bytes file = encodeContainer(image, true);
  ContainerHeader header = headerOf(file);
  header.faceSize = 32;
  setHeader(file, header);
  ASSERT_TRUE(loadStandalone(file));
  ASSERT_EQ(panoramaContainer.totalPixels, storePixelCount(32, 16));
  EXPECT_TRUE(std::equal(panoramaContainer.pixels, panoramaContainer.pixels + panoramaContainer.totalPixels,
                         image.pixels.begin()));
}

// --- Appended containers -------------------------------------------------

AppendedExtras sampleExtras() {
  AppendedExtras extras;
  extras.settings.pitchMin = -300;
  extras.settings.pitchMax = 400;
  extras.settings.bannerColour = 0xFC81;
  extras.settings.bannerFrames = 50;
  extras.settings.initialYaw = 1327;
  extras.settings.initialZoom = 100;
  extras.settings.zoomMin = 75;
  extras.settings.zoomMax = 350;
  extras.settings.overlay1Width = 3;
  extras.settings.overlay1Height = 2;
  extras.settings.overlay1X = 10;
  extras.settings.overlay2Width = 1;
  extras.settings.overlay2Height = 1;
  extras.banner = "www.example.org";
  extras.caption = "Harbour at dusk";
  extras.overlay1 = {1, 2, 3, 4, 5, 0xFFFF};
  extras.overlay2 = {0xBEEF};
  return extras;
}

void expectSampleExtras() {
  const PanoramaContainer& c = panoramaContainer;
  EXPECT_EQ(c.settings.pitchMin, -300);
  EXPECT_EQ(c.settings.initialYaw, 1327);
  EXPECT_EQ(c.settings.zoomMin, 75u);
  EXPECT_EQ(c.settings.zoomMax, 350u);
  ASSERT_NE(c.bannerText, nullptr);
  EXPECT_STREQ(c.bannerText, "www.example.org");
  ASSERT_NE(c.captionText, nullptr);
  EXPECT_STREQ(c.captionText, "Harbour at dusk");
  ASSERT_NE(c.overlay1, nullptr);
  EXPECT_EQ(c.overlay1->width, 3u);
  EXPECT_EQ(c.overlay1->height, 2u);
  EXPECT_EQ(c.overlay1->pixelCount, 6u);
  EXPECT_EQ(std::vector<uint16_t>(c.overlay1->pixels, c.overlay1->pixels + 6),
            (std::vector<uint16_t>{1, 2, 3, 4, 5, 0xFFFF}));
  ASSERT_NE(c.overlay2, nullptr);
  EXPECT_EQ(c.overlay2->pixels[0], 0xBEEF);
}

using AppendedLoading = PanoramaFiles;

TEST_F(AppendedLoading, AppendedContainerWinsOverTheFile) {
  const PanoramaImage appended = patternImage(64, 16, 100, 3);
  const PanoramaImage standalone = patternImage(64, 16, 200, 3);
  writeModule(encodeAppended(executablePrefix(), encodeContainer(appended, true), sampleExtras()));
  writeStandalone(encodeContainer(standalone, false));
  startUpExtras();
  ASSERT_TRUE(panoramaContainer.loadAppended());
  EXPECT_EQ(storeOf(panoramaContainer), appended.pixels);
  expectSampleExtras();
  const ViewerSettings written = sampleExtras().settings;
  EXPECT_EQ(0, std::memcmp(&panoramaContainer.settings, &written, sizeof written));

  ASSERT_TRUE(buildCubeScene());
  EXPECT_EQ(storeOf(panoramaContainer), appended.pixels);
  expectSampleExtras();
}

TEST_F(AppendedLoading, WithoutTheTrailerMagicTheFileIsUsedAndExtrasStay) {
  const PanoramaImage standalone = patternImage(32, 16, 7);
  writeModule(executablePrefix());
  writeStandalone(encodeContainer(standalone, true));
  startUpExtras();
  EXPECT_FALSE(panoramaContainer.loadAppended());
  ASSERT_TRUE(buildCubeScene());
  EXPECT_EQ(storeOf(panoramaContainer), standalone.pixels);
  ViewerSettings expected{};
  expected.zoomMin = 130;
  expected.zoomMax = 240;
  EXPECT_EQ(0, std::memcmp(&panoramaContainer.settings, &expected, sizeof expected));
  EXPECT_EQ(panoramaContainer.bannerText, nullptr);
  EXPECT_EQ(panoramaContainer.overlay1, nullptr);
}

TEST_F(AppendedLoading, UnreadableExecutablesLeaveTheExtrasUntouched) {
  startUpExtras();
  panoramaContainer.settings.initialYaw = 77;
  EXPECT_FALSE(panoramaContainer.loadAppended());  // no executable file at all

  Bytes tiny = {'x', 'A', 'Q', 'B', 'Z'};  // the magic, but no room for a trailer
  writeModule(tiny);
  EXPECT_FALSE(panoramaContainer.loadAppended());
  writeModule(Bytes{'Q', 'B'});
  EXPECT_FALSE(panoramaContainer.loadAppended());
  EXPECT_EQ(panoramaContainer.settings.initialYaw, 77);
  EXPECT_EQ(panoramaContainer.settings.zoomMin, 130u);
  expectNoStore();
}

TEST_F(AppendedLoading, BadAppendedContainerKeepsItsExtrasWhileTheFileSuppliesPixels) {
  const PanoramaImage standalone = patternImage(32, 8, 3);
  writeStandalone(encodeContainer(standalone, false));
  const Bytes good = encodeAppended(executablePrefix(), encodeContainer(patternImage(32, 8, 9), true), sampleExtras());

  std::vector<NamedFile> cases;
  cases.reserve(24);
  Bytes notAContainer = good;  // points into the executable image
  ContainerTrailer trailer = trailerOf(notAContainer);
  trailer.containerOffset = 10;
  setTrailer(notAContainer, trailer);
  addCase(cases, "offset at other bytes", notAContainer);
  Bytes beyond = good;
  trailer = trailerOf(beyond);
  trailer.containerOffset = static_cast<uint32_t>(beyond.size() + 50);
  setTrailer(beyond, trailer);
  addCase(cases, "offset beyond the end", beyond);
  trailer.containerOffset = 0xFFFFFFF0u;
  setTrailer(beyond, trailer);
  addCase(cases, "offset beyond 2 GiB", beyond);
  // A raw container whose store runs into the texts and trailer and past the end.
  PanoramaImage big = patternImage(64, 16);
  Bytes rawContainer = encodeContainer(big, false);
  rawContainer.resize(rawContainer.size() / 2);
  addCase(cases, "short raw store", encodeAppended(executablePrefix(), rawContainer, sampleExtras()));

  for (const auto& [what, module] : cases) {
    SCOPED_TRACE(what);
    releaseCubeScene();
    panoramaContainer.release();
    writeModule(module);
    startUpExtras();
    EXPECT_FALSE(panoramaContainer.loadAppended());
    expectNoStore();
    expectSampleExtras();

    startUpExtras();
    ASSERT_TRUE(buildCubeScene());
    EXPECT_EQ(storeOf(panoramaContainer), standalone.pixels);
    expectSampleExtras();
  }
}

TEST_F(AppendedLoading, TextRules) {
  Bytes prefix(300, 'x');
  AppendedExtras extras;
  extras.banner = std::string(99, 'b');
  const Bytes good = encodeAppended(prefix, encodeContainer(patternImage(8, 4), false), extras);
  const uint32_t length = static_cast<uint32_t>(good.size());

  writeModule(good);
  ASSERT_TRUE(panoramaContainer.loadAppended());
  EXPECT_EQ(std::string(panoramaContainer.bannerText), std::string(99, 'b'));  // the longest text
  EXPECT_EQ(panoramaContainer.captionText, nullptr);                           // offset 0: none

  auto textsAt = [&](uint32_t bannerOffset, uint32_t captionOffset) {
    Bytes module = good;
    ContainerTrailer trailer = trailerOf(module);
    trailer.bannerOffset = bannerOffset;
    trailer.captionOffset = captionOffset;
    setTrailer(module, trailer);
    writeModule(module);
    EXPECT_TRUE(panoramaContainer.loadAppended());
  };
  // No NUL in the 100 bytes read: the text ends after 99 characters.
  textsAt(5, 200);
  EXPECT_EQ(std::string(panoramaContainer.bannerText), std::string(99, 'x'));
  EXPECT_EQ(std::string(panoramaContainer.captionText), std::string(99, 'x'));
  // Fewer than 100 bytes left and no NUL among them: the text is what was read.
  textsAt(length - 4, length - 5);
  EXPECT_STREQ(panoramaContainer.bannerText, "AQBZ");
  EXPECT_STREQ(panoramaContainer.captionText, "");  // the trailer size's high byte is a NUL
  // At or beyond the end of the file: no text.
  textsAt(length, length + 1000);
  EXPECT_EQ(panoramaContainer.bannerText, nullptr);
  EXPECT_EQ(panoramaContainer.captionText, nullptr);
  textsAt(0xFFFFFFFFu, 0);
  EXPECT_EQ(panoramaContainer.bannerText, nullptr);
}

TEST_F(AppendedLoading, OverlayRules) {
  // A long executable image gives the overlays something to point into.
  const Bytes prefix = executablePrefix(160000);
  AppendedExtras extras = sampleExtras();
  const Bytes good = encodeAppended(prefix, encodeContainer(patternImage(8, 4), false), extras);
  const uint32_t length = static_cast<uint32_t>(good.size());

  auto overlayWith = [&](uint32_t offset, uint32_t width, uint32_t height) {
    Bytes module = good;
    ContainerTrailer trailer = trailerOf(module);
    trailer.overlay1Offset = offset;
    trailer.settings.overlay1Width = width;
    trailer.settings.overlay1Height = height;
    setTrailer(module, trailer);
    writeModule(module);
    EXPECT_TRUE(panoramaContainer.loadAppended());
    return panoramaContainer.overlay1;
  };
  EXPECT_EQ(overlayWith(0, 3, 2), nullptr);  // sizes without an offset
  EXPECT_EQ(overlayWith(4, 0, 2), nullptr);
  EXPECT_EQ(overlayWith(4, 3, 0), nullptr);
  EXPECT_EQ(overlayWith(4, 241, 1), nullptr);
  EXPECT_EQ(overlayWith(4, 1, 321), nullptr);
  EXPECT_EQ(overlayWith(4, 0x10000, 0x10000), nullptr);
  EXPECT_EQ(overlayWith(length - 2, 2, 1), nullptr);     // pixels run past the end
  EXPECT_EQ(overlayWith(0xFFFFFFFEu, 1, 1), nullptr);
  const OverlayBitmap* exact = overlayWith(length - 4, 2, 1);  // the trailer's magic as pixels
  ASSERT_NE(exact, nullptr);
  EXPECT_EQ(exact->pixels[0], 'A' | 'Q' << 8);
  EXPECT_EQ(exact->pixels[1], 'B' | 'Z' << 8);
  const OverlayBitmap* screen = overlayWith(2, 240, 320);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->pixelCount, 240u * 320);
  EXPECT_EQ(screen->pixels[0], prefix[2] | prefix[3] << 8);
  EXPECT_EQ(screen->pixels[76800 - 1], prefix[153600] | prefix[153601] << 8);
  ASSERT_NE(panoramaContainer.overlay2, nullptr);  // the other overlay is untouched
  EXPECT_EQ(panoramaContainer.overlay2->pixels[0], 0xBEEF);
}

TEST_F(AppendedLoading, ReleaseAndClearExtrasFreeWhatIsHeld) {
  writeModule(encodeAppended(executablePrefix(), encodeContainer(patternImage(16, 8), true), sampleExtras()));
  ASSERT_TRUE(panoramaContainer.loadAppended());
  panoramaContainer.clearExtras();
  EXPECT_EQ(panoramaContainer.bannerText, nullptr);
  EXPECT_EQ(panoramaContainer.overlay1, nullptr);
  EXPECT_EQ(panoramaContainer.settings.zoomMax, 0u);
  EXPECT_NE(panoramaContainer.pixels, nullptr);  // the store is not an extra

  ASSERT_TRUE(panoramaContainer.loadAppended());  // loading again replaces, never leaks
  ASSERT_TRUE(panoramaContainer.loadAppended());
  panoramaContainer.release();
  expectNoStore();
  EXPECT_EQ(panoramaContainer.captionText, nullptr);
  EXPECT_EQ(panoramaContainer.overlay2, nullptr);
}

}  // namespace
}  // namespace panorama_test
