// Colour index (r 5 bits, g 5, b 5, brightness 1) to 5-6-5 display pixel.
#pragma once

#include <cstdint>

extern uint16_t ColourLookup[65536];

void buildColourLookup();
