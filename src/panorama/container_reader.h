// The one reader of the container format: parses the bytes of a file into
// its records, its pixel store and, for a container appended to a viewer, the
// trailer's texts and overlays. Pure: it reads only the bytes it is given and
// judges them exactly as the viewer's loader does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "panorama/container_format.h"

// Where the container lies in the bytes.
enum class ContainerPlacement {
  Standalone,  // the header at byte 0
  Appended,    // the header where the trailer at the end says
};

struct ParsedOverlay {
  uint32_t width = 0;
  uint32_t height = 0;
  std::unique_ptr<uint16_t[]> pixels;  // width * height, bottom-up rows; null: none
};

struct ParsedContainer {
  bool trailerMagic = false;               // the bytes end in the trailer magic
  std::optional<ContainerTrailer> trailer;  // a whole trailer is there (appended only)
  std::optional<ContainerHeader> header;    // the header bytes are there
  bool storeLoaded = false;                 // header, geometry and pixel store accepted
  std::unique_ptr<uint16_t[]> pixels;       // the store, host values, when loaded
  uint32_t pixelCount = 0;
  std::unique_ptr<char[]> banner;           // NUL-terminated texts; null: none
  std::unique_ptr<char[]> caption;
  ParsedOverlay overlay1, overlay2;
};

// Appended: without the trailer magic or a whole trailer only trailerMagic
// may be set; otherwise the trailer's extras are read whether or not its
// container is sound. Allocations are bounded by the size of the bytes (a
// compressed store by 1032 times its stream); a failed one rejects the part.
ParsedContainer parseContainer(const uint8_t* bytes, size_t size, ContainerPlacement placement);
