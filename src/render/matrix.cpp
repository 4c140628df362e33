#include "render/matrix.h"
// placeholder: replaced by the fixed-point math work
MatrixStack matrixStack{};
void matrixIdentity(Matrix& m) { m = Matrix{{16384, 0, 0, 0, 16384, 0, 0, 0, 16384}, 0, 0, 0}; }
void matrixCopy(Matrix& d, const Matrix& s) { d = s; }
void matrixMultiply(Matrix&, const Matrix&) {}
void transformDepth(const Matrix&, const Vec3s&, Vec3s& out) { out.z = 0; }
void transformXY(const Matrix&, const Vec3s&, Vec3s&) {}
void matrixRotationX(Matrix&, int32_t) {}
void matrixRotationY(Matrix&, int32_t) {}
void matrixRotateY(Matrix&, int32_t) {}
void matrixStackInit(MatrixStack& s, int32_t capacity) { s.base = new Matrix[capacity]; s.top = s.base; s.capacity = capacity; s.index = 0; matrixIdentity(*s.base); }
void matrixStackPush(MatrixStack&) {}
void matrixStackPop(MatrixStack&) {}
void matrixStackRelease(MatrixStack& s) { delete[] s.base; s = MatrixStack{}; }
