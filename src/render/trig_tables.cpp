#include "render/trig_tables.h"

#include <cmath>

int16_t SineTable[kAngleSteps];
int16_t CosineTable[kAngleSteps];

void buildTrigTables() {
  // 2 pi rounded to single precision, then widened: this is why the extreme
  // entries fall one short of 16384.
  const double twoPi = static_cast<double>(6.2831854820251465f);
  for (int32_t i = 0; i < kAngleSteps; ++i) {
    const double a = i * twoPi * (1.0 / 2048.0);
    SineTable[i] = static_cast<int16_t>(std::sin(a) * 16384.0);
    CosineTable[i] = static_cast<int16_t>(std::cos(a) * 16384.0);
  }
}
