// The trailer's byte layout, the stream scrambling and what the writer
// refuses. The loader tests read back what it writes.
#include <cstring>

#include "panorama_test_files.h"

namespace panorama_test {
namespace {

TEST(ContainerFormat, TrailerFieldsSitAtTheirOffsetsAndScramblingXorsTheKey) {
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

  // Scrambling XORs the first 17 bytes with the key (the loader's round trips show it undoes itself).
  uint8_t buffer[20] = {};
  buffer[17] = 0x5A;
  unscrambleStream(buffer);
  EXPECT_EQ(0, std::memcmp(buffer, "drawn by the cube\x5A\0", 20));  // the key's NUL leaves byte 17 alone
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

}  // namespace
}  // namespace panorama_test
