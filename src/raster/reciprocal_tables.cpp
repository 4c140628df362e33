#include "raster/reciprocal_tables.h"
// placeholder: replaced by the rasterizer work
int32_t ReciprocalTable[kReciprocalEntries];
uint16_t PerspectiveReciprocalTable[kReciprocalEntries];
void buildReciprocalTables() {}
