// Byte layout of the on-disk records: field offsets and little-endian order.
#include <gtest/gtest.h>

#include <cstring>

#include "panorama/container_format.h"
#include "panorama/panorama_container.h"

namespace {

uint32_t bytesAt(const uint8_t* bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

TEST(ContainerFormat, HeaderFieldsSitAtTheirOffsetsLittleEndian) {
  ContainerHeader header{};
  std::memcpy(header.magic, "QBZP", 4);
  header.version = 0x01020304;
  header.headerSize = 28;
  header.faceSize = 512;
  header.tileSize = 32;
  header.drawMode = -2;
  header.compressedSize = 0xA1B2C3D4;
  uint8_t bytes[kContainerHeaderBytes];
  encodeContainerHeader(header, bytes);
  EXPECT_EQ(0, std::memcmp(bytes, "QBZP", 4));
  EXPECT_EQ(bytes[4], 0x04);
  EXPECT_EQ(bytes[7], 0x01);
  EXPECT_EQ(bytesAt(bytes, 8), 28u);
  EXPECT_EQ(bytes[12], 0x00);
  EXPECT_EQ(bytes[13], 0x02);  // 512 = 0x0200
  EXPECT_EQ(bytesAt(bytes, 16), 32u);
  EXPECT_EQ(bytesAt(bytes, 20), 0xFFFFFFFEu);
  EXPECT_EQ(bytes[24], 0xD4);
  EXPECT_EQ(bytes[27], 0xA1);

  const ContainerHeader back = decodeContainerHeader(bytes);
  EXPECT_EQ(back.version, header.version);
  EXPECT_EQ(back.faceSize, 512u);
  EXPECT_EQ(back.drawMode, -2);
  EXPECT_EQ(back.compressedSize, header.compressedSize);
}

TEST(ContainerFormat, TrailerAndSettingsFieldsSitAtTheirOffsets) {
  uint8_t bytes[kContainerTrailerBytes];
  for (size_t k = 0; k < kContainerTrailerBytes; ++k) bytes[k] = static_cast<uint8_t>(k);
  const ContainerTrailer trailer = decodeContainerTrailer(bytes);
  // Each field holds the offsets of its own four bytes.
  EXPECT_EQ(trailer.overlay1Offset, 0x03020100u);
  EXPECT_EQ(trailer.containerOffset, 0x0B0A0908u);
  EXPECT_EQ(trailer.captionOffset, 0x13121110u);
  EXPECT_EQ(trailer.settings.pitchMin, 0x17161514);
  EXPECT_EQ(trailer.settings.bannerColour, 0x1F1E1D1C);
  EXPECT_EQ(trailer.settings.captionY, 0x2F2E2D2C);
  EXPECT_EQ(trailer.settings.initialYaw, 0x37363534);  // trailer offset 52
  EXPECT_EQ(trailer.settings.zoomMin, 0x3F3E3D3Cu);    // 60
  EXPECT_EQ(trailer.settings.overlay1Width, 0x47464544u);
  EXPECT_EQ(trailer.settings.overlay1Y, 0x53525150);   // 80
  EXPECT_EQ(trailer.settings.overlay2Height, 0x5B5A5958u);
  EXPECT_EQ(trailer.settings.overlay2Y, 0x63626160);   // 96
  EXPECT_EQ(trailer.trailerSize, 0x67666564u);          // 100
  EXPECT_EQ(0, std::memcmp(trailer.magic, "hijk", 4));  // 104..107

  uint8_t again[kContainerTrailerBytes];
  encodeContainerTrailer(trailer, again);
  EXPECT_EQ(0, std::memcmp(bytes, again, kContainerTrailerBytes));

  // Settings on their own are the trailer's bytes 20..99.
  const ViewerSettings settings = decodeViewerSettings(bytes + 20);
  EXPECT_EQ(settings.overlay2X, 0x5F5E5D5C);
  uint8_t settingsBytes[kViewerSettingsBytes];
  encodeViewerSettings(settings, settingsBytes);
  EXPECT_EQ(0, std::memcmp(bytes + 20, settingsBytes, kViewerSettingsBytes));
}

TEST(ContainerFormat, PixelValuesAreLittleEndianWhateverTheHost) {
  const uint16_t values[3] = {0x1234, 0x00FF, 0xFF00};
  uint8_t bytes[6];
  encodeLe16(values, 3, bytes);
  const uint8_t expected[6] = {0x34, 0x12, 0xFF, 0x00, 0x00, 0xFF};
  EXPECT_EQ(0, std::memcmp(bytes, expected, 6));

  uint16_t decoded[3];
  std::memcpy(decoded, expected, 6);
  decodeLe16InPlace(decoded, 3);
  EXPECT_EQ(decoded[0], 0x1234);
  EXPECT_EQ(decoded[1], 0x00FF);
  EXPECT_EQ(decoded[2], 0xFF00);
}

TEST(ContainerFormat, GeometryRulesAndStoreSize) {
  EXPECT_TRUE(isAcceptedGeometry(512, 32));
  EXPECT_TRUE(isAcceptedGeometry(2, 2));
  EXPECT_TRUE(isAcceptedGeometry(2048, 128));
  EXPECT_FALSE(isAcceptedGeometry(512, 0));
  EXPECT_FALSE(isAcceptedGeometry(512, 1));
  EXPECT_FALSE(isAcceptedGeometry(512, 24));
  EXPECT_FALSE(isAcceptedGeometry(512, 256));
  EXPECT_FALSE(isAcceptedGeometry(16, 32));
  EXPECT_FALSE(isAcceptedGeometry(2049, 32));

  EXPECT_EQ(storePixelCount(512, 32), 1572864u);           // 3 MiB of store
  EXPECT_EQ(storePixelCount(500, 32), 6u * 15 * 15 * 1024);  // remainder strip not stored
}

TEST(ContainerFormat, ScramblingXorsTheFirst18BytesWithTheKey) {
  uint8_t buffer[20];
  std::memset(buffer, 0, sizeof buffer);
  unscrambleStream(buffer);
  EXPECT_EQ(0, std::memcmp(buffer, "drawn by the cube", 17));
  EXPECT_EQ(buffer[17], 0);  // the key's NUL leaves byte 17 as it was
  EXPECT_EQ(buffer[18], 0);  // beyond the key nothing changes
  buffer[17] = 0x5A;
  unscrambleStream(buffer);
  // Applied twice, the XOR gives back the original bytes.
  for (size_t k = 0; k < 17; ++k) EXPECT_EQ(buffer[k], 0) << k;
  EXPECT_EQ(buffer[17], 0x5A);
}

}  // namespace
