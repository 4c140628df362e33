// The container's byte layout, the stream scrambling and the writer: what it
// refuses, the appended tail it writes and replacing files whole.
#include <array>
#include <cstring>
#include <fstream>

#include "panorama_test_files.h"

namespace panorama_test {
namespace {

TEST(ContainerFormat, TrailerFieldsSitAtTheirOffsetsAndScramblingUndoesItself) {
  uint8_t bytes[kContainerTrailerBytes], again[kContainerTrailerBytes];
  for (size_t k = 0; k < kContainerTrailerBytes; ++k) bytes[k] = static_cast<uint8_t>(k);
  const ContainerTrailer trailer = decodeContainerTrailer(bytes);
  // Each field holds the offsets of its own four bytes.
  EXPECT_EQ(trailer.containerOffset, 0x0B0A0908u);
  EXPECT_EQ(trailer.settings.initialYaw, 0x37363534);
  EXPECT_EQ(trailer.settings.overlay2Y, 0x63626160);
  EXPECT_EQ(trailer.trailerSize, 0x67666564u);
  EXPECT_EQ(0, std::memcmp(trailer.magic, "hijk", 4));
  encodeContainerTrailer(trailer, again);
  EXPECT_EQ(0, std::memcmp(bytes, again, kContainerTrailerBytes));

  // Scrambling XORs the first 17 bytes with the key and undoes itself.
  uint8_t buffer[20] = {};
  buffer[17] = 0x5A;
  unscrambleStream(buffer);
  EXPECT_EQ(0, std::memcmp(buffer, "drawn by the cube\x5A\0", 20));  // the key's NUL leaves byte 17 alone
  unscrambleStream(buffer);
  EXPECT_EQ(0, std::memcmp(buffer, "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x5A\0", 20));
}

TEST(ContainerWriter, RefusesWhatTheLoaderWouldReject) {
  PanoramaImage image = patternImage(8, 4);
  image.pixels.pop_back();
  EXPECT_TRUE(encodeContainer(image, false).empty());  // pixel count does not match
  image = patternImage(8, 4);
  image.tileSize = 3;
  EXPECT_TRUE(encodeContainer(image, false).empty());
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

TEST(ContainerWriter, AppendedTailLayoutWithAbsoluteOffsets) {
  const Bytes container = encodeContainer(patternImage(8, 4), true);
  AppendedExtras extras;
  extras.settings.overlay1Width = 2, extras.settings.overlay1Height = 1;
  extras.banner = "web", extras.caption = "place";
  extras.overlay1 = {0x1122, 0x3344};
  const Bytes file = encodeAppended({'M', 'Z', 0x90, 0x00, 0x03}, container, extras);
  ASSERT_EQ(file.size(), 5 + container.size() + 4 + 6 + 4 + 108);
  EXPECT_TRUE(std::equal(container.begin(), container.end(), file.begin() + 5));
  const ContainerTrailer t = trailerOf(file);
  const uint32_t texts = uint32_t(5 + container.size());
  EXPECT_EQ((std::array{t.containerOffset, t.bannerOffset, t.captionOffset, t.overlay1Offset, t.overlay2Offset, t.trailerSize}),
            (std::array{5u, texts, texts + 4, texts + 10, 0u, 108u}));  // an empty overlay is left out
  EXPECT_EQ(0, std::memcmp(file.data() + texts, "web\0place\0\x22\x11\x44\x33", 14));
  EXPECT_EQ(0, std::memcmp(file.data() + file.size() - 4, "AQBZ", 4));
  EXPECT_EQ(trailerOf(encodeAppended({}, container, AppendedExtras{})).bannerOffset, 0u);
}

using WriterFiles = PanoramaFiles;

TEST_F(WriterFiles, FilesAreReplacedWhole) {
  const std::string path = pathIn("out.qbz");
  ASSERT_TRUE(writeFileAtomically(path, Bytes{1, 2, 3}) && writeFileAtomically(path, Bytes{4, 5}));
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), (Bytes{4, 5}));
  EXPECT_FALSE(std::filesystem::exists(path + ".partial"));
  EXPECT_FALSE(writeFileAtomically(pathIn("no/such/dir/out.qbz"), Bytes{1}));
}

}  // namespace
}  // namespace panorama_test
