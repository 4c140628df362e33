// The on-disk records of a panorama container: the 28-byte header, the
// 108-byte trailer of an appended container and its 80-byte viewer settings.
// Every multi-byte field is little-endian, whatever the host's byte order.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kContainerHeaderBytes = 28;
constexpr size_t kContainerTrailerBytes = 108;
constexpr size_t kViewerSettingsBytes = 80;
constexpr size_t kTextBlockBytes = 100;  // a text is read as one block of this size
constexpr char kContainerMagic[4] = {'Q', 'B', 'Z', 'P'};
constexpr char kTrailerMagic[4] = {'A', 'Q', 'B', 'Z'};
// The key that scrambles the first 18 bytes of a compressed stream, with its NUL.
constexpr char kScrambleKey[18] = "drawn by the cube";

// The tile geometry the viewer accepts. A tile edge is a power of two (the
// fillers wrap texture coordinates with masks of t - 1) and at most 128, since
// from 256 up the textured filler's 32-bit v arithmetic overflows. At most 256
// tiles along a face edge: the scene holds a cell with six meshes per tile
// position, so 2048/2 would take gigabytes (and seconds a frame) from a file
// of a few kilobytes; 2048/8 is the finest grid of the largest face.
constexpr uint32_t kMinTileSize = 2;
constexpr uint32_t kMaxTileSize = 128;
constexpr uint32_t kMaxFaceSize = 2048;
constexpr uint32_t kMaxTilesPerSide = 256;
constexpr bool isAcceptedGeometry(uint32_t faceSize, uint32_t tileSize) {
  return tileSize >= kMinTileSize && tileSize <= kMaxTileSize && (tileSize & (tileSize - 1)) == 0 &&
         faceSize >= tileSize && faceSize <= kMaxFaceSize && faceSize / tileSize <= kMaxTilesPerSide;
}
// Elements of the pixel store: six faces of whole tiles; a remainder strip
// of a face size that is no multiple of the tile size is not stored.
// Defined for accepted geometry (at most 6 * 2048 * 2048).
constexpr uint32_t storePixelCount(uint32_t faceSize, uint32_t tileSize) {
  const uint32_t tilesPerSide = faceSize / tileSize;
  return 6 * tilesPerSide * tilesPerSide * tileSize * tileSize;
}

struct ContainerHeader {
  char magic[4];
  uint32_t version;
  uint32_t headerSize;
  uint32_t faceSize;
  uint32_t tileSize;
  int32_t drawMode;
  uint32_t compressedSize;  // 0: the pixel store is raw
};

// Field order and widths exactly as stored at trailer offsets 20..99.
struct ViewerSettings {
  int32_t pitchMin;
  int32_t pitchMax;
  int32_t bannerColour;
  int32_t bannerFrames;
  int32_t captionColour;
  int32_t captionX;
  int32_t captionY;
  int32_t initialPitch;
  int32_t initialYaw;
  uint32_t initialZoom;
  uint32_t zoomMin;
  uint32_t zoomMax;
  uint32_t overlay1Width;
  uint32_t overlay1Height;
  int32_t overlay1X;
  int32_t overlay1Y;
  uint32_t overlay2Width;
  uint32_t overlay2Height;
  int32_t overlay2X;
  int32_t overlay2Y;
};
static_assert(sizeof(ViewerSettings) == kViewerSettingsBytes);

struct ContainerTrailer {
  uint32_t overlay1Offset;  // 0: none
  uint32_t overlay2Offset;
  uint32_t containerOffset;
  uint32_t bannerOffset;
  uint32_t captionOffset;
  ViewerSettings settings;
  uint32_t trailerSize;
  char magic[4];
};

// Little-endian fields, independent of the host's byte order.
uint32_t loadLe32(const uint8_t* bytes);
void storeLe32(uint32_t value, uint8_t* bytes);
// Turns count 16-bit values, as they lie in the file's byte order, into host values in place.
void decodeLe16InPlace(uint16_t* values, size_t count);
// Writes count host values as little-endian bytes (2 per value).
void encodeLe16(const uint16_t* values, size_t count, uint8_t* bytes);

ContainerHeader decodeContainerHeader(const uint8_t* bytes);
void encodeContainerHeader(const ContainerHeader& header, uint8_t* bytes);
ViewerSettings decodeViewerSettings(const uint8_t* bytes);
void encodeViewerSettings(const ViewerSettings& settings, uint8_t* bytes);
ContainerTrailer decodeContainerTrailer(const uint8_t* bytes);
void encodeContainerTrailer(const ContainerTrailer& trailer, uint8_t* bytes);
// XORs the first 18 bytes of buffer with kScrambleKey; its own inverse.
void unscrambleStream(uint8_t* buffer);
