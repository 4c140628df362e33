// The settings a self-contained viewer carries in its trailer, as given on the
// command line, checked and turned into the trailer's extras.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "qbzpack/container_output.h"
#include "qbzpack/image.h"

namespace qbzpack {

struct ViewOptions {
  std::optional<std::string> yaw, pitch, pitchMin, pitchMax;  // angles, see parseAngle
  std::optional<uint32_t> zoom, zoomMin, zoomMax;
  std::optional<std::string> banner, caption;
  std::optional<int32_t> bannerFrames, captionX, captionY;
  std::optional<std::string> bannerColour, captionColour;
  std::optional<std::string> overlay1, overlay2;  // picture paths
  std::optional<int32_t> overlay1X, overlay1Y, overlay2X, overlay2Y;

  // True when any of the above was given.
  bool any() const;
};

constexpr int32_t kAngleUnitsPerTurn = 2048;
constexpr int32_t kLongestText = 99;
// Zooms the renderer accepts, and the viewer's own defaults.
constexpr uint32_t kZoomLowest = 64, kZoomHighest = 1024;
constexpr uint32_t kDefaultZoom = 130, kDefaultZoomMin = 130, kDefaultZoomMax = 240;
// The text colour of the viewer's own sample: 0xFC81, an orange.
constexpr const char* kDefaultTextColour = "FF9700";

// Degrees ("90", "-12.5") or the viewer's 2048ths of a turn with a "u" suffix
// ("512u"), rounded to the nearest unit.
int32_t parseAngle(const std::string& text, const std::string& what);

// Loads the overlays and checks every value; throws ToolError.
AppendedExtras buildExtras(const ViewOptions& options, Rgb background, bool dither);

}  // namespace qbzpack
