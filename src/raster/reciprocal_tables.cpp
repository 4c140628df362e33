#include "raster/reciprocal_tables.h"
#include "raster/raster_stage.h"

int32_t ReciprocalTable[kReciprocalEntries];
uint16_t PerspectiveReciprocalTable[kReciprocalEntries];

void buildReciprocalTables() {
  for (int32_t i = 1; i < kReciprocalEntries; ++i) ReciprocalTable[i] = 262144 / i;
  ReciprocalTable[0] = ReciprocalTable[1];
  PerspectiveReciprocalTable[0] = 0;
  for (int32_t k = 1; k < kReciprocalEntries; ++k) {
    const int32_t q = 4194304 / k;
    PerspectiveReciprocalTable[k] = q < 65536 ? static_cast<uint16_t>(q) : q == 65536 ? 65535 : 0;
  }
}
