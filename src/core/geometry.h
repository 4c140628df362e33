// The points and affine matrices every stage shares: three int16 coordinates,
// a rotation in 1.14 with a translation in point units.
#pragma once

#include <cstdint>

struct Vec3s {
  int16_t x, y, z;
};

// Row-vector convention: row 0 (m[0..2]) is where the x axis goes, row 1 the
// y axis, row 2 the z axis. 16384 stands for 1.0.
struct Matrix {
  int16_t m[9];
  int16_t tx, ty, tz;
};

// An axis-aligned box of model points: every coordinate of every point inside
// lies between low's and high's.
struct ModelBounds {
  Vec3s low, high;
};
