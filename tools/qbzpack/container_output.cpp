#include "qbzpack/container_output.h"

#include <zlib.h>

#include <cstring>

#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

// Interim encoder until the panorama library offers its writer.
void putU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

constexpr char kKey[18] = "drawn by the cube";

}  // namespace

std::vector<uint8_t> containerBytes(const PanoramaImage& image, bool compress) {
  std::vector<uint8_t> raw;
  raw.reserve(image.pixels.size() * 2);
  for (uint16_t p : image.pixels) {
    raw.push_back(static_cast<uint8_t>(p));
    raw.push_back(static_cast<uint8_t>(p >> 8));
  }
  std::vector<uint8_t> body;
  if (compress) {
    uLongf size = compressBound(raw.size());
    body.resize(size);
    if (compress2(body.data(), &size, raw.data(), raw.size(), 9) != Z_OK) throw ToolError("compression failed");
    body.resize(size);
    for (int i = 0; i < 18 && i < static_cast<int>(body.size()); ++i) body[i] ^= static_cast<uint8_t>(kKey[i]);
  } else {
    body = std::move(raw);
  }
  std::vector<uint8_t> out;
  out.reserve(kContainerHeaderBytes + body.size());
  for (char c : kContainerMagic) out.push_back(static_cast<uint8_t>(c));
  putU32(out, 1);
  putU32(out, kContainerHeaderBytes);
  putU32(out, image.faceSize);
  putU32(out, image.tileSize);
  putU32(out, static_cast<uint32_t>(image.drawMode));
  putU32(out, compress ? static_cast<uint32_t>(body.size()) : 0);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<uint8_t> selfContainedBytes(const std::vector<uint8_t>& viewer, const std::vector<uint8_t>& container,
                                        const AppendedExtras& extras) {
  std::vector<uint8_t> out = viewer;
  const uint32_t containerOffset = static_cast<uint32_t>(out.size());
  out.insert(out.end(), container.begin(), container.end());
  auto appendText = [&out](const std::string& text) -> uint32_t {
    if (text.empty()) return 0;
    const uint32_t offset = static_cast<uint32_t>(out.size());
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
    return offset;
  };
  auto appendPixels = [&out](const std::vector<uint16_t>& pixels) -> uint32_t {
    if (pixels.empty()) return 0;
    const uint32_t offset = static_cast<uint32_t>(out.size());
    for (uint16_t p : pixels) {
      out.push_back(static_cast<uint8_t>(p));
      out.push_back(static_cast<uint8_t>(p >> 8));
    }
    return offset;
  };
  const uint32_t banner = appendText(extras.banner);
  const uint32_t caption = appendText(extras.caption);
  const uint32_t overlay1 = appendPixels(extras.overlay1);
  const uint32_t overlay2 = appendPixels(extras.overlay2);
  putU32(out, overlay1);
  putU32(out, overlay2);
  putU32(out, containerOffset);
  putU32(out, banner);
  putU32(out, caption);
  const ViewerSettings& s = extras.settings;
  for (uint32_t v : {uint32_t(s.pitchMin), uint32_t(s.pitchMax), uint32_t(s.bannerColour), uint32_t(s.bannerFrames),
                     uint32_t(s.captionColour), uint32_t(s.captionX), uint32_t(s.captionY), uint32_t(s.initialPitch),
                     uint32_t(s.initialYaw), s.initialZoom, s.zoomMin, s.zoomMax, s.overlay1Width, s.overlay1Height,
                     uint32_t(s.overlay1X), uint32_t(s.overlay1Y), s.overlay2Width, s.overlay2Height,
                     uint32_t(s.overlay2X), uint32_t(s.overlay2Y)}) {
    putU32(out, v);
  }
  putU32(out, kContainerTrailerBytes);
  for (char c : kTrailerMagic) out.push_back(static_cast<uint8_t>(c));
  return out;
}

}  // namespace qbzpack
