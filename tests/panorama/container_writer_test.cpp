// The container writer: what it refuses, the layout it writes, and round
// trips through the loader.
#include <zlib.h>

#include <cstring>

#include "panorama_test_files.h"

namespace panorama_test {
namespace {

TEST(ContainerWriter, ContainerHeaderAndStoreLayout) {
  const PanoramaImage image = patternImage(8, 4, 0x0102, 0x0101, 1);
  const Bytes raw = encodeContainer(image, false);
  ASSERT_EQ(raw.size(), 28u + 384 * 2);
  EXPECT_EQ(0, std::memcmp(raw.data(), "QBZP", 4));
  const ContainerHeader header = headerOf(raw);
  EXPECT_EQ(header.version, 1u);
  EXPECT_EQ(header.headerSize, 28u);
  EXPECT_EQ(header.faceSize, 8u);
  EXPECT_EQ(header.tileSize, 4u);
  EXPECT_EQ(header.drawMode, 1);
  EXPECT_EQ(header.compressedSize, 0u);
  EXPECT_EQ(raw[28], 0x02);  // pixel 0 = 0x0102, low byte first
  EXPECT_EQ(raw[29], 0x01);
  EXPECT_EQ(raw[30], 0x03);  // pixel 1 = 0x0203
  EXPECT_EQ(raw[31], 0x02);

  const Bytes compressed = encodeContainer(image, true);
  ASSERT_GT(compressed.size(), 28u + 18);
  EXPECT_EQ(headerOf(compressed).compressedSize, compressed.size() - 28);
  // Unscrambled, the stream is plain zlib holding the raw store's bytes.
  Bytes stream(compressed.begin() + 28, compressed.end());
  unscrambleStream(stream.data());
  Bytes store(384 * 2);
  uLongf storeBytes = store.size();
  ASSERT_EQ(uncompress(store.data(), &storeBytes, stream.data(), stream.size()), Z_OK);
  EXPECT_EQ(storeBytes, store.size());
  EXPECT_TRUE(std::equal(store.begin(), store.end(), raw.begin() + 28));
}

TEST(ContainerWriter, RefusesWhatTheLoaderWouldReject) {
  EXPECT_TRUE(encodeContainer(patternImage(8, 4), false).size() > 0);
  PanoramaImage image = patternImage(8, 4);
  image.pixels.pop_back();
  EXPECT_TRUE(encodeContainer(image, false).empty());  // pixel count does not match
  image = patternImage(8, 4);
  image.tileSize = 3;
  EXPECT_TRUE(encodeContainer(image, false).empty());
  image.tileSize = 256;
  image.faceSize = 512;
  EXPECT_TRUE(encodeContainer(image, false).empty());

  // A plain panorama of 2-pixel faces deflates below the 18 scrambled bytes:
  // refused compressed, fine raw.
  PanoramaImage tiny = patternImage(2, 2, 0, 0);
  EXPECT_TRUE(encodeContainer(tiny, true).empty());
  EXPECT_EQ(encodeContainer(tiny, false).size(), 28u + 48);

  AppendedExtras extras;
  const Bytes container = encodeContainer(patternImage(8, 4), false);
  EXPECT_FALSE(encodeAppended({}, container, extras).empty());
  extras.banner = std::string(100, 'a');
  EXPECT_TRUE(encodeAppended({}, container, extras).empty());
  extras.banner = std::string("a\0b", 3);
  EXPECT_TRUE(encodeAppended({}, container, extras).empty());
  extras.banner.clear();
  extras.caption = std::string(100, 'c');
  EXPECT_TRUE(encodeAppended({}, container, extras).empty());
  extras.caption.clear();
  extras.overlay1 = {1, 2, 3};
  extras.settings.overlay1Width = 2;
  extras.settings.overlay1Height = 2;
  EXPECT_TRUE(encodeAppended({}, container, extras).empty());  // 3 pixels for 2 x 2
  extras.overlay1.assign(241, 0);
  extras.settings.overlay1Width = 241;
  extras.settings.overlay1Height = 1;
  EXPECT_TRUE(encodeAppended({}, container, extras).empty());
  extras.overlay1.clear();
  extras.overlay2 = {5};
  extras.settings.overlay2Width = 1;
  extras.settings.overlay2Height = 1;
  EXPECT_FALSE(encodeAppended({}, container, extras).empty());
}

TEST(ContainerWriter, AppendedTailLayoutWithAbsoluteOffsets) {
  const Bytes prefix = {'M', 'Z', 0x90, 0x00, 0x03};
  const Bytes container = encodeContainer(patternImage(8, 4), true);
  AppendedExtras extras;
  extras.settings.initialYaw = 1327;
  extras.settings.overlay1Width = 2;
  extras.settings.overlay1Height = 1;
  extras.banner = "web";
  extras.caption = "place";
  extras.overlay1 = {0x1122, 0x3344};
  const Bytes file = encodeAppended(prefix, container, extras);
  ASSERT_EQ(file.size(), 5 + container.size() + 4 + 6 + 4 + 108);

  EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), file.begin()));
  EXPECT_TRUE(std::equal(container.begin(), container.end(), file.begin() + 5));
  const ContainerTrailer trailer = trailerOf(file);
  EXPECT_EQ(trailer.containerOffset, 5u);
  EXPECT_EQ(trailer.bannerOffset, 5 + container.size());
  EXPECT_EQ(0, std::memcmp(file.data() + trailer.bannerOffset, "web\0place\0", 10));
  EXPECT_EQ(trailer.captionOffset, trailer.bannerOffset + 4);
  EXPECT_EQ(trailer.overlay1Offset, trailer.captionOffset + 6);
  EXPECT_EQ(file[trailer.overlay1Offset], 0x22);
  EXPECT_EQ(file[trailer.overlay1Offset + 3], 0x33);
  EXPECT_EQ(trailer.overlay2Offset, 0u);  // empty overlay: left out
  EXPECT_EQ(trailer.settings.initialYaw, 1327);
  EXPECT_EQ(trailer.trailerSize, 108u);
  EXPECT_EQ(0, std::memcmp(file.data() + file.size() - 4, "AQBZ", 4));

  AppendedExtras bare;
  const ContainerTrailer empty = trailerOf(encodeAppended({}, container, bare));
  EXPECT_EQ(empty.containerOffset, 0u);
  EXPECT_EQ(empty.bannerOffset, 0u);
  EXPECT_EQ(empty.captionOffset, 0u);
  EXPECT_EQ(empty.overlay1Offset, 0u);
}

using WriterFiles = PanoramaFiles;

TEST_F(WriterFiles, FilesAreReplacedWhole) {
  const std::string path = pathIn("out.qbz");
  ASSERT_TRUE(writeFileAtomically(path, Bytes{1, 2, 3}));
  ASSERT_TRUE(writeFileAtomically(path, Bytes{4, 5}));
  std::ifstream in(path, std::ios::binary);
  const Bytes back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(back, (Bytes{4, 5}));
  EXPECT_FALSE(std::filesystem::exists(path + ".partial"));

  const std::string nowhere = pathIn("no/such/dir/out.qbz");
  EXPECT_FALSE(writeFileAtomically(nowhere, Bytes{1}));
  EXPECT_FALSE(std::filesystem::exists(nowhere));
}

}  // namespace
}  // namespace panorama_test
