#include "render/trig_tables.h"
// placeholder: replaced by the fixed-point math work
int16_t SineTable[kAngleSteps];
int16_t CosineTable[kAngleSteps];
void buildTrigTables() {}
