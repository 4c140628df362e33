// Small panorama containers written byte by byte from the container layout,
// for the ARM checks: the frame-path test on the target and the screen
// comparison's input maker on the host. Independent of the viewer's own
// writer, so a fault there cannot hide in both the input and the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "panorama/container_format.h"

namespace test_containers {

using Bytes = std::vector<uint8_t>;

inline void put32(Bytes& bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
}

inline void put16(Bytes& bytes, uint16_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

// Pixels of a panorama in store order (faces, tiles row by row, texels
// row-major). Each tile gets its own colour ramp, so that a misplaced tile,
// a mirrored texture or a wrong row order all change the screen.
inline std::vector<uint16_t> patternStore(uint32_t faceSize, uint32_t tileSize, uint32_t seed) {
  const uint32_t tilesPerSide = faceSize / tileSize;
  const uint32_t tiles = 6 * tilesPerSide * tilesPerSide;
  std::vector<uint16_t> pixels;
  pixels.reserve(size_t{tiles} * tileSize * tileSize);
  for (uint32_t tile = 0; tile < tiles; ++tile) {
    const uint32_t base = (tile * 2654435761u + seed) & 0x7FFF;
    for (uint32_t v = 0; v < tileSize; ++v) {
      for (uint32_t u = 0; u < tileSize; ++u) {
        const bool border = u == 0 || v == 0;
        pixels.push_back(static_cast<uint16_t>(border ? 0xFFFE : (base + u * 33 + v * 1057) & 0xFFFF));
      }
    }
  }
  return pixels;
}

// The 28-byte header; compressedSize 0 means the store follows raw.
inline Bytes containerHeader(uint32_t faceSize, uint32_t tileSize, int32_t drawMode, uint32_t compressedSize) {
  Bytes bytes(kContainerMagic, kContainerMagic + 4);
  put32(bytes, 1);  // version
  put32(bytes, static_cast<uint32_t>(kContainerHeaderBytes));
  put32(bytes, faceSize);
  put32(bytes, tileSize);
  put32(bytes, static_cast<uint32_t>(drawMode));
  put32(bytes, compressedSize);
  return bytes;
}

inline Bytes rawContainer(uint32_t faceSize, uint32_t tileSize, int32_t drawMode,
                          const std::vector<uint16_t>& pixels) {
  Bytes bytes = containerHeader(faceSize, tileSize, drawMode, 0);
  for (uint16_t pixel : pixels) put16(bytes, pixel);
  return bytes;
}

// What an appended container's trailer carries besides the container.
struct Extras {
  ViewerSettings settings{};
  std::string banner;   // empty: none
  std::string caption;  // empty: none
  std::vector<uint16_t> overlay1;  // overlay1Width x overlay1Height pixels, bottom-up rows; empty: none
};

// Everything that follows an executable of prefixBytes bytes: the container,
// the texts with their NULs, the overlay and the 108-byte trailer, whose
// offsets count from the start of the executable.
inline Bytes appendedTail(size_t prefixBytes, const Bytes& container, const Extras& extras) {
  Bytes tail = container;
  auto here = [&] { return static_cast<uint32_t>(prefixBytes + tail.size()); };
  auto text = [&](const std::string& value) -> uint32_t {
    if (value.empty()) return 0;
    const uint32_t offset = here();
    tail.insert(tail.end(), value.begin(), value.end());
    tail.push_back(0);
    return offset;
  };
  const uint32_t bannerOffset = text(extras.banner);
  const uint32_t captionOffset = text(extras.caption);
  uint32_t overlayOffset = 0;
  if (!extras.overlay1.empty()) {
    overlayOffset = here();
    for (uint16_t pixel : extras.overlay1) put16(tail, pixel);
  }
  put32(tail, overlayOffset);
  put32(tail, 0);  // no overlay 2
  put32(tail, static_cast<uint32_t>(prefixBytes));
  put32(tail, bannerOffset);
  put32(tail, captionOffset);
  uint32_t words[kViewerSettingsBytes / 4];
  std::memcpy(words, &extras.settings, sizeof words);
  for (uint32_t word : words) put32(tail, word);
  put32(tail, static_cast<uint32_t>(kContainerTrailerBytes));
  tail.insert(tail.end(), kTrailerMagic, kTrailerMagic + 4);
  return tail;
}

}  // namespace test_containers
