// The container: the trailer's byte layout, the stream scrambling, what the
// writer refuses, and loading raw and compressed stores, the rejection rules,
// the appended trailer with its texts and overlays, and which source wins.
#include <zlib.h>

#include <cstring>

#include "panorama_test_files.h"

namespace panorama_test {
namespace {

TEST(ContainerFormat, TrailerFieldsSitAtTheirOffsetsAndScramblingXorsTheKey) {
  uint8_t bytes[kContainerTrailerBytes], again[kContainerTrailerBytes];
  for (size_t k = 0; k < kContainerTrailerBytes; ++k) bytes[k] = static_cast<uint8_t>(k);
  const ContainerTrailer trailer = decodeContainerTrailer(bytes);
  // Each field holds the offsets of its own four bytes.
  EXPECT_EQ((std::array<int64_t, 4>{trailer.containerOffset, trailer.settings.initialYaw, trailer.settings.overlay2Y,
                                    trailer.trailerSize}),
            (std::array<int64_t, 4>{0x0B0A0908, 0x37363534, 0x63626160, 0x67666564}));
  EXPECT_EQ(0, std::memcmp(trailer.magic, "hijk", 4));
  encodeContainerTrailer(trailer, again);
  EXPECT_EQ(0, std::memcmp(bytes, again, kContainerTrailerBytes));

  // Scrambling XORs the first 17 bytes with the key (the loader's round trips show it undoes itself).
  uint8_t buffer[20] = {};
  buffer[17] = 0x5A;
  unscrambleStream(buffer);
  EXPECT_EQ(0, std::memcmp(buffer, "drawn by the cube\x5A\0", 20));  // the key's NUL leaves byte 17 alone
}

TEST(ContainerWriter, RefusesWhatTheLoaderWouldReject) {
  PanoramaImage shortStore = patternImage(8, 4), oddTile = patternImage(8, 4);
  shortStore.pixels.pop_back(), oddTile.tileSize = 3;
  EXPECT_TRUE(encodeContainer(shortStore, false).empty()) << "pixel count does not match";
  EXPECT_TRUE(encodeContainer(oddTile, false).empty());
  // Flat 2-pixel faces deflate below the 18 scrambled bytes: refused compressed, fine raw.
  EXPECT_TRUE(encodeContainer(patternImage(2, 2, 0, 0), true).empty());
  EXPECT_EQ(encodeContainer(patternImage(2, 2, 0, 0), false).size(), 28u + 48);

  auto refused = [container = encodeContainer(patternImage(8, 4), false)](auto change) {
    AppendedExtras extras;
    change(extras);
    return encodeAppended({}, container, extras).empty();
  };
  EXPECT_FALSE(refused([](AppendedExtras&) {}));
  EXPECT_TRUE(refused([](AppendedExtras& e) { e.banner = std::string(100, 'a'); }));
  EXPECT_TRUE(refused([](AppendedExtras& e) { e.banner = std::string("a\0b", 3); }));
  EXPECT_TRUE(refused([](AppendedExtras& e) { e.caption = std::string(100, 'c'); }));
  EXPECT_TRUE(refused([](AppendedExtras& e) { e.overlay1 = {1, 2, 3}, e.settings.overlay1Width = e.settings.overlay1Height = 2; }));
  EXPECT_TRUE(refused([](AppendedExtras& e) { e.overlay1.assign(241, 0), e.settings.overlay1Width = 241, e.settings.overlay1Height = 1; }));
}

// A container built byte by byte, without the writer: faces of one 2x2 tile, draw mode 3.
Bytes handBuiltRawContainer() {
  Bytes file = {'Q', 'B', 'Z', 'P', 1, 0, 0, 0, 28, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0};
  for (uint8_t k = 0; k < 24; ++k) file.insert(file.end(), {k, 0x80});
  return file;
}

void expectNoStore() {
  EXPECT_TRUE(panoramaContainer.pixels == nullptr && panoramaContainer.totalPixels == 0 &&
              panoramaContainer.tilePixels(0, 0, 0) == nullptr);
}

using ContainerLoading = PanoramaFiles;

TEST_F(ContainerLoading, RawAndCompressedStoresTheirGeometryAndTheAcceptedBounds) {
  const PanoramaContainer& c = panoramaContainer;
  PanoramaImage handBuilt = patternImage(2, 2, 0x8000);
  handBuilt.drawMode = 3;
  EXPECT_EQ(encodeContainer(handBuilt, false), handBuiltRawContainer());  // the writer's layout
  ASSERT_TRUE(loadStandalone(handBuiltRawContainer()));
  EXPECT_EQ(c.drawMode(), 3);
  ASSERT_EQ(c.totalPixels, 24u);
  for (uint16_t k = 0; k < 24; ++k) EXPECT_EQ(c.pixels[k], 0x8000 | k) << k;  // little-endian
  EXPECT_EQ(c.settings.zoomMin, 130u);  // a stand-alone file has no trailer: the start-up extras stay

  ASSERT_TRUE(loadStandalone(encodeContainer(patternImage(500, 32), false)));  // a remainder strip
  EXPECT_EQ(c.tilesPerSide, 15u);
  EXPECT_EQ(c.tilePixels(5, 14, 14) + 1024, c.pixels + c.totalPixels);  // the last tile ends the store
  ASSERT_TRUE(loadStandalone(encodeContainer(patternImage(256, 128), false)));  // the largest tile
  // The largest store (48 MiB) on the finest grid: 256 tiles along an edge.
  ASSERT_TRUE(loadStandalone(encodeContainer(patternImage(2048, 8, 0x1234, 0), true)));
  EXPECT_EQ(c.tilesPerSide, 256u);
  EXPECT_EQ(c.pixels[6u * 2048 * 2048 - 1], 0x1234);
  // Output beyond the store is ignored: a 32-pixel header over a 64-pixel stream.
  const PanoramaImage longer = patternImage(64, 16, 9);
  ASSERT_TRUE(loadStandalone(withHeader(encodeContainer(longer, true), [](ContainerHeader& h) { h.faceSize = 32; })));
  ASSERT_EQ(c.totalPixels, storePixelCount(32, 16));
  EXPECT_TRUE(std::equal(c.pixels, c.pixels + c.totalPixels, longer.pixels.begin()));
}

TEST_F(ContainerLoading, EveryRejectionLeavesNothingAllocated) {
  const Bytes raw = encodeContainer(patternImage(64, 16, 1, 5), false);
  const Bytes compressed = encodeContainer(patternImage(64, 16, 1, 5), true);
  const uint32_t streamBytes = decodeContainerHeader(compressed.data()).compressedSize;
  auto rawWith = [&](auto change) { return withHeader(raw, change); };
  auto compressedWith = [&](auto change) { return withHeader(compressed, change); };
  auto tile = [&](uint32_t size) { return rawWith([size](ContainerHeader& h) { h.tileSize = size; }); };
  // A flat 2x2 panorama deflates to fewer than the 18 scrambled bytes; the old store's room follows.
  Bytes shortStream = handBuiltRawContainer();
  uLongf shortBytes = 48;
  ASSERT_EQ(compress2(shortStream.data() + 28, &shortBytes, Bytes(48, 0).data(), 48, 9), Z_OK);
  ASSERT_LT(shortBytes, 18u);
  auto changed = [](Bytes file, auto change) { return change(file), file; };

  const std::pair<const char*, Bytes> cases[] = {
      {"bad magic", rawWith([](ContainerHeader& h) { h.magic[3] = 'Q'; })},
      {"tile 0", tile(0)}, {"tile 1", tile(1)}, {"tile 24", tile(24)}, {"tile 256", tile(256)},
      {"face below tile", rawWith([](ContainerHeader& h) { h.faceSize = 8; })},
      {"face above 2048", compressedWith([](ContainerHeader& h) { h.faceSize = 2049; })},
      {"512 tiles along an edge", rawWith([](ContainerHeader& h) { h.faceSize = 2048, h.tileSize = 4; })},
      {"257 tiles along an edge", rawWith([](ContainerHeader& h) { h.faceSize = 514, h.tileSize = 2; })},
      {"stream beyond file", compressedWith([&](ContainerHeader& h) { h.compressedSize = streamBytes + 1; })},
      {"stream under 18 bytes", withHeader(shortStream, [&](ContainerHeader& h) { h.compressedSize = uint32_t(shortBytes); })},
      {"short raw store", Bytes(raw.begin(), raw.end() - 1)},
      {"header only", Bytes(raw.begin(), raw.begin() + 28)}, {"short header", Bytes(raw.begin(), raw.begin() + 27)},
      {"empty file", Bytes()},
      {"cut stream", withHeader(Bytes(compressed.begin(), compressed.begin() + 28 + streamBytes / 2),
                                [&](ContainerHeader& h) { h.compressedSize = streamBytes / 2; })},
      {"smaller stream", withHeader(encodeContainer(patternImage(32, 16), true), [](ContainerHeader& h) { h.faceSize = 64; })},
      {"bad check value", changed(compressed, [](Bytes& b) { b.back() ^= 0x01; })},  // though the store is full
      {"stream left plain", changed(compressed, [](Bytes& b) { unscrambleStream(b.data() + 28); })},  // the XOR spoils it
      {"store beyond deflate's reach", compressedWith([](ContainerHeader& h) { h.faceSize = 2048; })},
  };
  for (const auto& [what, file] : cases) {
    ASSERT_TRUE(loadStandalone(raw)) << what;  // a store is held before each attempt
    EXPECT_FALSE(loadStandalone(file)) << what;
    expectNoStore();
  }
}

// --- Appended containers -------------------------------------------------

AppendedExtras sampleExtras() {
  ViewerSettings settings{};
  settings.initialYaw = 1327, settings.zoomMin = 75;
  settings.overlay1Width = 3, settings.overlay1Height = 2, settings.overlay2Width = settings.overlay2Height = 1;
  return {settings, "www.example.org", "Harbour at dusk", {1, 2, 3, 4, 5, 0xFFFF}, {0xBEEF}};
}

void expectSampleExtras() {
  const PanoramaContainer& c = panoramaContainer;
  const AppendedExtras written = sampleExtras();
  EXPECT_EQ(0, std::memcmp(&c.settings, &written.settings, sizeof c.settings));
  ASSERT_TRUE(c.bannerText != nullptr && c.captionText != nullptr && c.overlay1 != nullptr && c.overlay2 != nullptr);
  EXPECT_EQ(std::string(c.bannerText) + "|" + c.captionText, "www.example.org|Harbour at dusk");
  EXPECT_EQ(std::vector<uint16_t>(c.overlay1->pixels, c.overlay1->pixels + c.overlay1->pixelCount), written.overlay1);
  EXPECT_EQ(c.overlay2->pixels[0], 0xBEEF);
}

using AppendedLoading = PanoramaFiles;

TEST_F(AppendedLoading, TheAppendedContainerWinsAndABadTrailerStillGivesItsExtras) {
  const PanoramaImage appended = patternImage(64, 16, 100, 3), standalone = patternImage(64, 16, 200, 3);
  const Bytes good = encodeAppended(executablePrefix(), encodeContainer(appended, true), sampleExtras());
  writeStandalone(encodeContainer(standalone, false));
  // A trailer whose container is not there: no store, yet the trailer's extras. No executable, one too
  // short for a trailer, one without the magic: the start-up extras stay. The file gives the pixels.
  auto offset = [&](uint32_t at) { return withTrailer(good, [at](ContainerTrailer& t) { t.containerOffset = at; }); };
  Bytes halfRaw = encodeContainer(patternImage(64, 16), false);
  halfRaw.resize(halfRaw.size() / 2);  // the store runs into the texts, the trailer and past the end
  const std::pair<Bytes, bool> cases[] = {
      {good, true}, {offset(10), true}, {offset(uint32_t(good.size() + 50)), true}, {offset(0xFFFFFFF0u), true},
      {encodeAppended(executablePrefix(), halfRaw, sampleExtras()), true},
      {Bytes{}, false}, {Bytes{'x', 'A', 'Q', 'B', 'Z'}, false}, {executablePrefix(), false}};
  for (const auto& [module, trailerRead] : cases) {
    if (module.empty()) std::filesystem::remove(pathIn("viewer.exe"));
    else writeModule(module);
    const bool wins = &module == &cases[0].first;
    startUp();
    EXPECT_EQ(panoramaContainer.loadAppended(), wins);
    if (!wins) expectNoStore();
    ASSERT_TRUE(buildCubeScene());
    const PanoramaContainer& c = panoramaContainer;
    EXPECT_EQ(std::vector<uint16_t>(c.pixels, c.pixels + c.totalPixels), wins ? appended.pixels : standalone.pixels);
    if (trailerRead) expectSampleExtras();
    else EXPECT_TRUE(panoramaContainer.settings.zoomMin == 130 && panoramaContainer.bannerText == nullptr);
  }
}

TEST_F(AppendedLoading, TextAndOverlayRules) {
  const Bytes prefix = executablePrefix(160000);  // no NULs, and long enough for a screen-sized overlay
  AppendedExtras extras;
  extras.banner = std::string(99, 'b');
  extras.overlay2 = {0xBEEF};
  extras.settings.overlay2Width = extras.settings.overlay2Height = 1;
  const Bytes good = encodeAppended(prefix, encodeContainer(patternImage(8, 4), false), extras);
  const uint32_t length = static_cast<uint32_t>(good.size());
  auto load = [&](auto change) {
    writeModule(withTrailer(good, change));
    EXPECT_TRUE(panoramaContainer.loadAppended());
  };
  auto textsAt = [&](uint32_t bannerOffset, uint32_t captionOffset) {
    load([&](ContainerTrailer& t) { t.bannerOffset = bannerOffset, t.captionOffset = captionOffset; });
    const char *banner = panoramaContainer.bannerText, *caption = panoramaContainer.captionText;
    return std::string(banner ? banner : "<none>") + "|" + (caption ? caption : "<none>");
  };
  EXPECT_EQ(textsAt(trailerOf(good).bannerOffset, 0), std::string(99, 'b') + "|<none>");  // the longest; 0 is none
  // No NUL in the 100 bytes read: the text ends after 99 characters.
  EXPECT_EQ(textsAt(5, 200), std::string(&prefix[5], &prefix[104]) + "|" + std::string(&prefix[200], &prefix[299]));
  // Fewer than 100 bytes left and no NUL: the text is what was read; the trailer size's high byte is a NUL.
  EXPECT_EQ(textsAt(length - 4, length - 5), "AQBZ|");
  EXPECT_EQ(textsAt(length, 0xFFFFFFFFu), "<none>|<none>");  // at or beyond the end, wrapping or not: no text

  auto overlayWith = [&](uint32_t offset, uint32_t width, uint32_t height) {
    load([&](ContainerTrailer& t) { t.overlay1Offset = offset, t.settings.overlay1Width = width, t.settings.overlay1Height = height; });
    return panoramaContainer.overlay1;
  };
  const uint32_t refused[][3] = {{0, 3, 2},   {4, 0, 2},             {4, 3, 0},          {4, 241, 1},
                                 {4, 1, 321}, {4, 0x10000, 0x10000}, {length - 2, 2, 1}, {0xFFFFFFFEu, 1, 1}};
  for (const auto& [offset, width, height] : refused) EXPECT_EQ(overlayWith(offset, width, height), nullptr) << offset;
  const OverlayBitmap* exact = overlayWith(length - 4, 2, 1);  // the trailer's magic as pixels
  EXPECT_TRUE(exact != nullptr && exact->pixels[1] == ('B' | 'Z' << 8));
  const OverlayBitmap* screen = overlayWith(2, 240, 320);
  EXPECT_TRUE(screen != nullptr && screen->pixels[76800 - 1] == (prefix[153600] | prefix[153601] << 8));
  EXPECT_EQ(panoramaContainer.overlay2->pixels[0], 0xBEEF);  // the other overlay is untouched
}

}  // namespace
}  // namespace panorama_test
