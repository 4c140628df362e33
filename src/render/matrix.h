// Fixed-point affine matrices (rotation in 1.14, translation in point units),
// the matrix stack and the transforms of the vertex pipeline.
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
// Writes out.z only: lets the pipeline reject a vertex on three multiplies.
void transformDepth(const Matrix& m, const Vec3s& p, Vec3s& out);
// Writes out.x and out.y only.
void transformXY(const Matrix& m, const Vec3s& p, Vec3s& out);
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
