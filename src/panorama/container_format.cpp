#include "panorama/container_format.h"

#include <cstring>

uint32_t loadLe32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void storeLe32(uint32_t value, uint8_t* bytes) {
  bytes[0] = static_cast<uint8_t>(value);
  bytes[1] = static_cast<uint8_t>(value >> 8);
  bytes[2] = static_cast<uint8_t>(value >> 16);
  bytes[3] = static_cast<uint8_t>(value >> 24);
}

void decodeLe16InPlace(uint16_t* values, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    uint8_t bytes[2];
    std::memcpy(bytes, &values[k], 2);
    values[k] = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
  }
}

void encodeLe16(const uint16_t* values, size_t count, uint8_t* bytes) {
  for (size_t k = 0; k < count; ++k) {
    bytes[2 * k] = static_cast<uint8_t>(values[k]);
    bytes[2 * k + 1] = static_cast<uint8_t>(values[k] >> 8);
  }
}

namespace {

int32_t loadLeSigned32(const uint8_t* bytes) { return static_cast<int32_t>(loadLe32(bytes)); }
void storeLeSigned32(int32_t value, uint8_t* bytes) { storeLe32(static_cast<uint32_t>(value), bytes); }

}  // namespace

ContainerHeader decodeContainerHeader(const uint8_t* bytes) {
  ContainerHeader header{};
  std::memcpy(header.magic, bytes, 4);
  header.version = loadLe32(bytes + 4);
  header.headerSize = loadLe32(bytes + 8);
  header.faceSize = loadLe32(bytes + 12);
  header.tileSize = loadLe32(bytes + 16);
  header.drawMode = loadLeSigned32(bytes + 20);
  header.compressedSize = loadLe32(bytes + 24);
  return header;
}

void encodeContainerHeader(const ContainerHeader& header, uint8_t* bytes) {
  std::memcpy(bytes, header.magic, 4);
  storeLe32(header.version, bytes + 4);
  storeLe32(header.headerSize, bytes + 8);
  storeLe32(header.faceSize, bytes + 12);
  storeLe32(header.tileSize, bytes + 16);
  storeLeSigned32(header.drawMode, bytes + 20);
  storeLe32(header.compressedSize, bytes + 24);
}

ViewerSettings decodeViewerSettings(const uint8_t* bytes) {
  ViewerSettings s{};
  s.pitchMin = loadLeSigned32(bytes + 0);
  s.pitchMax = loadLeSigned32(bytes + 4);
  s.bannerColour = loadLeSigned32(bytes + 8);
  s.bannerFrames = loadLeSigned32(bytes + 12);
  s.captionColour = loadLeSigned32(bytes + 16);
  s.captionX = loadLeSigned32(bytes + 20);
  s.captionY = loadLeSigned32(bytes + 24);
  s.initialPitch = loadLeSigned32(bytes + 28);
  s.initialYaw = loadLeSigned32(bytes + 32);
  s.initialZoom = loadLe32(bytes + 36);
  s.zoomMin = loadLe32(bytes + 40);
  s.zoomMax = loadLe32(bytes + 44);
  s.overlay1Width = loadLe32(bytes + 48);
  s.overlay1Height = loadLe32(bytes + 52);
  s.overlay1X = loadLeSigned32(bytes + 56);
  s.overlay1Y = loadLeSigned32(bytes + 60);
  s.overlay2Width = loadLe32(bytes + 64);
  s.overlay2Height = loadLe32(bytes + 68);
  s.overlay2X = loadLeSigned32(bytes + 72);
  s.overlay2Y = loadLeSigned32(bytes + 76);
  return s;
}

void encodeViewerSettings(const ViewerSettings& s, uint8_t* bytes) {
  storeLeSigned32(s.pitchMin, bytes + 0);
  storeLeSigned32(s.pitchMax, bytes + 4);
  storeLeSigned32(s.bannerColour, bytes + 8);
  storeLeSigned32(s.bannerFrames, bytes + 12);
  storeLeSigned32(s.captionColour, bytes + 16);
  storeLeSigned32(s.captionX, bytes + 20);
  storeLeSigned32(s.captionY, bytes + 24);
  storeLeSigned32(s.initialPitch, bytes + 28);
  storeLeSigned32(s.initialYaw, bytes + 32);
  storeLe32(s.initialZoom, bytes + 36);
  storeLe32(s.zoomMin, bytes + 40);
  storeLe32(s.zoomMax, bytes + 44);
  storeLe32(s.overlay1Width, bytes + 48);
  storeLe32(s.overlay1Height, bytes + 52);
  storeLeSigned32(s.overlay1X, bytes + 56);
  storeLeSigned32(s.overlay1Y, bytes + 60);
  storeLe32(s.overlay2Width, bytes + 64);
  storeLe32(s.overlay2Height, bytes + 68);
  storeLeSigned32(s.overlay2X, bytes + 72);
  storeLeSigned32(s.overlay2Y, bytes + 76);
}

ContainerTrailer decodeContainerTrailer(const uint8_t* bytes) {
  ContainerTrailer trailer{};
  trailer.overlay1Offset = loadLe32(bytes + 0);
  trailer.overlay2Offset = loadLe32(bytes + 4);
  trailer.containerOffset = loadLe32(bytes + 8);
  trailer.bannerOffset = loadLe32(bytes + 12);
  trailer.captionOffset = loadLe32(bytes + 16);
  trailer.settings = decodeViewerSettings(bytes + 20);
  trailer.trailerSize = loadLe32(bytes + 100);
  std::memcpy(trailer.magic, bytes + 104, 4);
  return trailer;
}

void encodeContainerTrailer(const ContainerTrailer& trailer, uint8_t* bytes) {
  storeLe32(trailer.overlay1Offset, bytes + 0);
  storeLe32(trailer.overlay2Offset, bytes + 4);
  storeLe32(trailer.containerOffset, bytes + 8);
  storeLe32(trailer.bannerOffset, bytes + 12);
  storeLe32(trailer.captionOffset, bytes + 16);
  encodeViewerSettings(trailer.settings, bytes + 20);
  storeLe32(trailer.trailerSize, bytes + 100);
  std::memcpy(bytes + 104, trailer.magic, 4);
}

void unscrambleStream(uint8_t* buffer) {
  for (size_t i = 0; i < sizeof kScrambleKey; ++i) buffer[i] = static_cast<uint8_t>(buffer[i] ^ kScrambleKey[i]);
}
