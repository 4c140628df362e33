#include "qbzpack/view_settings.h"

#include <cmath>
#include <cstdlib>

#include "qbzpack/colour_index.h"
#include "qbzpack/image_input.h"
#include "qbzpack/overlay.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

// The viewer's pitch limits when the trailer holds 0: straight down to straight up.
constexpr int32_t kQuarterTurn = kAngleUnitsPerTurn / 4;

int32_t checkedPitch(const std::optional<std::string>& text, const char* what, int32_t fallback) {
  if (!text) return fallback;
  const int32_t pitch = parseAngle(*text, what);
  if (pitch < -kQuarterTurn || pitch > kQuarterTurn) {
    throw ToolError(std::string(what) + " " + *text + " is beyond straight up or down (-90..90 degrees)", true);
  }
  return pitch;
}

uint32_t checkedZoom(const std::optional<uint32_t>& value, const char* what, uint32_t fallback) {
  const uint32_t zoom = value.value_or(fallback);
  if (zoom < kZoomLowest || zoom > kZoomHighest) {
    throw ToolError(std::string(what) + " " + std::to_string(zoom) + " is outside 64..1024", true);
  }
  return zoom;
}

std::string checkedText(const std::optional<std::string>& text, const char* what) {
  if (!text) return {};
  if (text->size() > static_cast<size_t>(kLongestText)) {
    throw ToolError(std::string(what) + " is " + std::to_string(text->size()) + " bytes long; at most 99 fit", true);
  }
  if (text->find('\0') != std::string::npos) throw ToolError(std::string(what) + " holds a zero byte", true);
  return *text;
}

void placeOverlay(const std::optional<std::string>& path, std::optional<int32_t> x, std::optional<int32_t> y,
                  const char* what, Rgb background, bool dither, std::vector<uint16_t>& pixels, uint32_t& width,
                  uint32_t& height, int32_t& left, int32_t& top) {
  if (!path) {
    if (x || y) throw ToolError(std::string("a position was given for ") + what + " but no picture", true);
    return;
  }
  OverlayPixels overlay = overlayFromPicture(
      loadPicture(*path, background, [what](uint32_t w, uint32_t h) { checkOverlaySize(w, h, what); }), dither, what);
  left = x.value_or(0);
  top = y.value_or(0);
  if (left < 0 || top < 0 || left + overlay.width > kScreenWidth || top + overlay.height > kScreenHeight) {
    throw ToolError(std::string(what) + " of " + std::to_string(overlay.width) + " x " +
                    std::to_string(overlay.height) + " at (" + std::to_string(left) + ", " + std::to_string(top) +
                    ") does not fit on the 240 x 320 screen", true);
  }
  width = overlay.width;
  height = overlay.height;
  pixels = std::move(overlay.pixels);
}

}  // namespace

bool ViewOptions::any() const {
  return yaw || pitch || pitchMin || pitchMax || zoom || zoomMin || zoomMax || banner || caption || bannerFrames ||
         captionX || captionY || bannerColour || captionColour || overlay1 || overlay2 || overlay1X || overlay1Y ||
         overlay2X || overlay2Y;
}

int32_t parseAngle(const std::string& text, const std::string& what) {
  const bool units = !text.empty() && (text.back() == 'u' || text.back() == 'U');
  const std::string number = units ? text.substr(0, text.size() - 1) : text;
  char* end = nullptr;
  const double value = number.empty() ? NAN : std::strtod(number.c_str(), &end);
  if (number.empty() || end != number.c_str() + number.size() || !std::isfinite(value) || std::fabs(value) > 1e6) {
    throw ToolError(what + ": '" + text + "' is not an angle (degrees like 45 or -12.5, or units like 512u)", true);
  }
  return static_cast<int32_t>(std::lround(units ? value : value * kAngleUnitsPerTurn / 360.0));
}

AppendedExtras buildExtras(const ViewOptions& options, Rgb background, bool dither) {
  AppendedExtras extras;
  ViewerSettings& s = extras.settings;

  if (options.yaw) {
    const int32_t yaw = parseAngle(*options.yaw, "--yaw") % kAngleUnitsPerTurn;
    s.initialYaw = yaw < 0 ? yaw + kAngleUnitsPerTurn : yaw;
  }
  // A stored 0 makes the viewer use its own limit of -90 or +90 degrees.
  s.pitchMin = checkedPitch(options.pitchMin, "--pitch-min", -kQuarterTurn);
  s.pitchMax = checkedPitch(options.pitchMax, "--pitch-max", kQuarterTurn);
  s.initialPitch = checkedPitch(options.pitch, "--pitch", 0);
  const int32_t lowest = s.pitchMin == 0 ? -kQuarterTurn : s.pitchMin;
  const int32_t highest = s.pitchMax == 0 ? kQuarterTurn : s.pitchMax;
  if (lowest > highest) throw ToolError("--pitch-min is above --pitch-max", true);
  if (s.initialPitch < lowest || s.initialPitch > highest) {
    throw ToolError("--pitch lies outside --pitch-min..--pitch-max", true);
  }

  // The trailer replaces the viewer's zoom limits, so they are always written.
  s.zoomMin = checkedZoom(options.zoomMin, "--zoom-min", kDefaultZoomMin);
  s.zoomMax = checkedZoom(options.zoomMax, "--zoom-max", kDefaultZoomMax);
  if (s.zoomMin > s.zoomMax) throw ToolError("--zoom-min is above --zoom-max", true);
  const uint32_t fallbackZoom = kDefaultZoom < s.zoomMin ? s.zoomMin : (kDefaultZoom > s.zoomMax ? s.zoomMax : kDefaultZoom);
  s.initialZoom = checkedZoom(options.zoom, "--zoom", fallbackZoom);
  if (s.initialZoom < s.zoomMin || s.initialZoom > s.zoomMax) {
    throw ToolError("--zoom lies outside --zoom-min..--zoom-max", true);
  }

  extras.banner = checkedText(options.banner, "--banner");
  extras.caption = checkedText(options.caption, "--caption");
  s.bannerColour = textColourOf(parseRgb(options.bannerColour.value_or(kDefaultTextColour), "--banner-colour"));
  s.captionColour = textColourOf(parseRgb(options.captionColour.value_or(kDefaultTextColour), "--caption-colour"));
  s.bannerFrames = options.bannerFrames.value_or(extras.banner.empty() ? 0 : 50);
  if (s.bannerFrames < 0) throw ToolError("--banner-frames must not be negative", true);
  s.captionX = options.captionX.value_or(50);
  s.captionY = options.captionY.value_or(300);
  if (s.captionX < 0 || s.captionX >= static_cast<int32_t>(kScreenWidth) || s.captionY < 0 ||
      s.captionY >= static_cast<int32_t>(kScreenHeight)) {
    throw ToolError("--caption-x/--caption-y must lie on the 240 x 320 screen", true);
  }

  placeOverlay(options.overlay1, options.overlay1X, options.overlay1Y, "--overlay1", background, dither,
               extras.overlay1, s.overlay1Width, s.overlay1Height, s.overlay1X, s.overlay1Y);
  placeOverlay(options.overlay2, options.overlay2X, options.overlay2Y, "--overlay2", background, dither,
               extras.overlay2, s.overlay2Width, s.overlay2Height, s.overlay2X, s.overlay2Y);
  return extras;
}

}  // namespace qbzpack
