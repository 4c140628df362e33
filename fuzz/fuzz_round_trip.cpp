// The writer and the loader are inverses: whatever settings, texts, overlays
// and pixels the writer accepts (here on small geometry, raw or compressed,
// after an executable prefix) the loader reads back unchanged.
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "panorama/container_writer.h"
#include "panorama/panorama_container.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

std::vector<uint16_t> pixelsFrom(fuzz::Reader& in, size_t count) {
  std::vector<uint16_t> pixels(count);
  for (uint16_t& p : pixels) p = in.u16();
  return pixels;
}

void checkOverlay(const OverlayBitmap* loaded, const std::vector<uint16_t>& written, uint32_t width, uint32_t height) {
  check(written.empty() ? loaded == nullptr : loaded != nullptr && loaded->width == width && loaded->height == height &&
        loaded->pixelCount == written.size() &&
        std::memcmp(loaded->pixels, written.data(), written.size() * 2) == 0);
}

void checkText(const char* loaded, const std::string& written) {
  check(written.empty() ? loaded == nullptr : loaded != nullptr && written == loaded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = fuzz::fileBackend("round_trip.bin");

  fuzz::Reader in{data, size};
  const uint8_t shape = in.byte();
  PanoramaImage image;
  image.tileSize = 2u << (shape & 3);                                     // 2..16
  image.faceSize = image.tileSize * (1 + (shape >> 2 & 3)) + (shape >> 4 & 1);  // a remainder strip at times
  image.drawMode = static_cast<int32_t>(in.u32());
  const bool compress = shape & 0x80, appended = shape & 0x40;
  image.pixels = pixelsFrom(in, storePixelCount(image.faceSize, image.tileSize));

  AppendedExtras extras;
  const std::string_view settingsBytes = in.take(kViewerSettingsBytes);
  uint8_t settings[kViewerSettingsBytes] = {};
  std::memcpy(settings, settingsBytes.data(), settingsBytes.size());
  extras.settings = decodeViewerSettings(settings);
  ViewerSettings& s = extras.settings;
  s.overlay1Width %= 9, s.overlay1Height %= 9, s.overlay2Width %= 9, s.overlay2Height %= 9;
  extras.overlay1 = pixelsFrom(in, size_t{s.overlay1Width} * s.overlay1Height);
  extras.overlay2 = pixelsFrom(in, size_t{s.overlay2Width} * s.overlay2Height);
  extras.banner = std::string(in.take(in.byte() % 110));
  extras.caption = std::string(in.take(in.byte() % 110));
  const std::string_view prefix = in.take(in.byte());

  const std::vector<uint8_t> container = encodeContainer(image, compress);
  if (container.empty()) return 0;  // refused: a compressed stream under 18 bytes
  std::vector<uint8_t> file = container;
  if (appended) {
    file = encodeAppended(std::vector<uint8_t>(prefix.begin(), prefix.end()), container, extras);
    if (file.empty()) return 0;  // refused texts or overlays
  }
  if (!fuzz::writeFile(path, file.data(), file.size())) return 0;

  PanoramaContainer& c = panoramaContainer;
  c.release();
  check(appended ? c.loadAppended() : c.loadFile(path.c_str()));
  check(c.faceSize() == image.faceSize && c.tileSize() == image.tileSize && c.drawMode() == image.drawMode);
  check(c.totalPixels == image.pixels.size() &&
        std::memcmp(c.pixels, image.pixels.data(), image.pixels.size() * 2) == 0);
  if (appended) {
    uint8_t loaded[kViewerSettingsBytes], written[kViewerSettingsBytes];
    encodeViewerSettings(c.settings, loaded);
    encodeViewerSettings(extras.settings, written);
    check(std::memcmp(loaded, written, kViewerSettingsBytes) == 0);
    checkText(c.bannerText, extras.banner);
    checkText(c.captionText, extras.caption);
    checkOverlay(c.overlay1, extras.overlay1, s.overlay1Width, s.overlay1Height);
    checkOverlay(c.overlay2, extras.overlay2, s.overlay2Width, s.overlay2Height);
  }
  c.release();
  return 0;
}
