#include "panorama/panorama_container.h"
// placeholder: replaced by the panorama work
PanoramaContainer panoramaContainer;
void unscrambleStream(uint8_t*) {}
PanoramaContainer::PanoramaContainer() = default;
PanoramaContainer::~PanoramaContainer() { release(); }
bool PanoramaContainer::loadAppended() { return false; }
bool PanoramaContainer::loadFile(const char*) { return false; }
bool PanoramaContainer::readPixelStore(platform::File*) { return false; }
uint16_t* PanoramaContainer::tilePixels(int32_t, int32_t, int32_t) const { return nullptr; }
void PanoramaContainer::clearExtras() { bannerText = captionText = nullptr; overlay1 = overlay2 = nullptr; settings = {}; }
void PanoramaContainer::release() { delete[] pixels; pixels = nullptr; totalPixels = 0; }
