// Fixed-point affine matrices (rotation in 1.14, translation in point units),
// the matrix stack and the transforms of the vertex pipeline.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "core/geometry.h"

struct MatrixStack {
  Matrix* top;
  Matrix* base;
  int32_t capacity;
  int32_t index;
};

// The system's one matrix stack, created by initApplication with capacity 4.
extern MatrixStack matrixStack;

void matrixIdentity(Matrix& m);
void matrixCopy(Matrix& destination, const Matrix& source);
// a becomes the composition: first b, then the old a. a and b may be one matrix.
void matrixMultiply(Matrix& a, const Matrix& b);

namespace matrix_detail {

constexpr int kFractionBits = 14;

// Sum of three 32-bit products, wrapping (so modulo 2^32), in 1.14.
inline int32_t sum3(int32_t a0, int32_t b0, int32_t a1, int32_t b1, int32_t a2, int32_t b2) {
  return fx::add(fx::add(fx::mul(a0, b0), fx::mul(a1, b1)), fx::mul(a2, b2));
}

// The same sum shifted down from 1.14.
inline int32_t dot3(int32_t a0, int32_t b0, int32_t a1, int32_t b1, int32_t a2, int32_t b2) {
  return fx::sar(sum3(a0, b0, a1, b1, a2, b2), kFractionBits);
}

// A transformed coordinate: the shifted sum cut to 16 bits, then the translation added.
inline int16_t carry(int32_t shiftedSum, int16_t translation) {
  return fx::cut16(fx::add(fx::cut16(shiftedSum), translation));
}

// The coordinate from its unshifted sum: what transformDepth and transformXY
// make of the same 32-bit word.
inline int16_t fromSum(int32_t sum, int16_t translation) { return carry(fx::sar(sum, kFractionBits), translation); }

}  // namespace matrix_detail

// The two transforms run for every vertex of every frame, so they are inline.
// Writes out.z only: lets the pipeline reject a vertex on three multiplies.
inline void transformDepth(const Matrix& m, const Vec3s& p, Vec3s& out) {
  out.z = matrix_detail::carry(matrix_detail::dot3(p.x, m.m[2], p.y, m.m[5], p.z, m.m[8]), m.tz);
}
// Writes out.x and out.y only.
inline void transformXY(const Matrix& m, const Vec3s& p, Vec3s& out) {
  out.x = matrix_detail::carry(matrix_detail::dot3(p.x, m.m[0], p.y, m.m[3], p.z, m.m[6]), m.tx);
  out.y = matrix_detail::carry(matrix_detail::dot3(p.x, m.m[1], p.y, m.m[4], p.z, m.m[7]), m.ty);
}
// The three unshifted sums of a point's transform (x, y, z), wrapping. The
// point's coordinates may be any int32: the sums are linear modulo 2^32, so
// the sums of p + d are those of p plus those of d.
struct TransformSums {
  int32_t x, y, z;
};
inline TransformSums transformSums(const Matrix& m, int32_t x, int32_t y, int32_t z) {
  using matrix_detail::sum3;
  return {sum3(x, m.m[0], y, m.m[3], z, m.m[6]), sum3(x, m.m[1], y, m.m[4], z, m.m[7]),
          sum3(x, m.m[2], y, m.m[5], z, m.m[8])};
}
// The exact range of transformDepth's z over every point of the box: true with
// lowestZ..highestZ, each reached at a corner. False when, for some point inside,
// the sum or one of the cuts to 16 bits could wrap: z is then not monotone
// along the box and its corners bound nothing.
bool depthRange(const Matrix& m, const ModelBounds& box, int32_t& lowestZ, int32_t& highestZ);
// Set the rotation part; the translation is left as it was.
void matrixRotationX(Matrix& m, int32_t angle);
void matrixRotationY(Matrix& m, int32_t angle);
// m becomes the composition: first a rotation about Y by angle, then the old m.
void matrixRotateY(Matrix& m, int32_t angle);

// The record must be zeroed or made by an earlier init: its old storage is freed.
void matrixStackInit(MatrixStack& stack, int32_t capacity);
void matrixStackPush(MatrixStack& stack);
void matrixStackPop(MatrixStack& stack);
// Frees the storage and zeroes the record, so a test can start again.
void matrixStackRelease(MatrixStack& stack);
