#include "display/colour_lookup.h"
// placeholder: replaced by the display work
uint16_t ColourLookup[65536];
void buildColourLookup() {}
