#include "panorama/container_format.h"
// placeholder: replaced by the panorama work
ContainerHeader decodeContainerHeader(const uint8_t*) { return {}; }
void encodeContainerHeader(const ContainerHeader&, uint8_t*) {}
ViewerSettings decodeViewerSettings(const uint8_t*) { return {}; }
void encodeViewerSettings(const ViewerSettings&, uint8_t*) {}
ContainerTrailer decodeContainerTrailer(const uint8_t*) { return {}; }
void encodeContainerTrailer(const ContainerTrailer&, uint8_t*) {}
