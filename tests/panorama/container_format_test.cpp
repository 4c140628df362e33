// Field offsets of the trailer and its settings, and the scrambling key.
#include <gtest/gtest.h>

#include <cstring>

#include "panorama/container_format.h"
#include "panorama/panorama_container.h"

namespace {

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
