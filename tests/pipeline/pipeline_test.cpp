#include "pipeline_fixture.h"

namespace {

MeshVertex modelAt(int16_t x, int16_t y, int16_t z) {
  MeshVertex v{};
  v.model = {x, y, z};
  v.baseLight = 1;
  v.screenX = -111;  // what a rejected vertex must keep
  v.screenY = -222;
  v.shade = -333;
  v.depth = 55;
  return v;
}

TEST_F(PipelineTest, VertexDepthRange) {
  MeshVertex vertices[] = {modelAt(10, 20, -64), modelAt(10, 20, -65), modelAt(30, 40, -2999),
                           modelAt(10, 20, -3000), modelAt(10, 20, 500)};
  Mesh mesh{5, vertices, 0, nullptr};
  transformVertices(context, mesh);
  EXPECT_EQ(vertices[0].depth, 0);
  EXPECT_EQ(vertices[0].screenX, -111);
  EXPECT_EQ(vertices[0].screenY, -222);
  EXPECT_EQ(vertices[0].shade, -333);
  EXPECT_EQ(vertices[1].depth, 65);
  EXPECT_EQ(vertices[1].screenX, 10);
  EXPECT_EQ(vertices[1].screenY, 20);
  EXPECT_EQ(vertices[1].shade, kTestShade);
  EXPECT_EQ(vertices[2].depth, 2999);
  EXPECT_EQ(vertices[2].screenX, 30);
  EXPECT_EQ(vertices[3].depth, 0);
  EXPECT_EQ(vertices[3].shade, -333);
  EXPECT_EQ(vertices[4].depth, 0);

  // The camera is the top of the matrix stack: a translation moves every vertex.
  matrixStackPush(matrixStack);
  matrixStack.top->tz = -1000;
  transformVertices(context, mesh);
  EXPECT_EQ(vertices[0].depth, 1064);
  EXPECT_EQ(vertices[3].depth, 0);  // -4000
  EXPECT_EQ(vertices[4].depth, 500);
}

TEST_F(PipelineTest, DrawMeshSkipsInvisibleAndQueuesBlended) {
  MeshVertex vertices[] = {modelAt(0, 0, -100), modelAt(0, 50, -100), modelAt(50, 0, -100), modelAt(50, 50, -3000)};
  SurfaceDescriptor blended{};
  blended.blendMode = BlendMixed;
  MeshTriangle triangles[] = {
      triangleOf(&vertices[0], &vertices[1], &vertices[2], &open),     // visible, opaque: filled now
      triangleOf(&vertices[1], &vertices[2], &vertices[3], &open),     // one vertex too far: skipped
      triangleOf(&vertices[0], &vertices[1], &vertices[2], &blended),  // mixed: queued
  };
  Mesh mesh{4, vertices, 3, triangles};
  drawMesh(context, mesh);
  ASSERT_EQ(filled.size(), 1u);
  EXPECT_EQ(filled[0].surface, &open);
  EXPECT_EQ(depthBuckets.queuedCount, 1);
  bucketsDrain(depthBuckets, context);
  ASSERT_EQ(filled.size(), 2u);
  EXPECT_EQ(filled[1].surface, &blended);
}

TEST_F(PipelineTest, BackFaceAndColumnRejection) {
  MeshVertex a = at(0, 0), b = at(10, 0), c = at(0, 10);
  EXPECT_EQ(triangleSetup(triangleOf(&a, &b, &c, &culled)), 0);  // clockwise on the frame: back face
  EXPECT_NE(triangleSetup(triangleOf(&a, &c, &b, &culled)), 0);
  EXPECT_NE(triangleSetup(triangleOf(&a, &b, &c, &open)), 0);
  EXPECT_NE(triangleSetup(triangleOf(&a, &c, &b, &open)), 0);
  MeshVertex d = at(5, 5), e = at(10, 10);  // zero area
  EXPECT_EQ(triangleSetup(triangleOf(&a, &d, &e, &culled)), 0);
  // The products wrap in 32 bits as on the machine: 0 against 60000 * 50000, which wraps
  // negative, so this counter-clockwise triangle is dropped.
  MeshVertex w0 = at(-25000, -30000), w1 = at(-25000, 30000), w2 = at(25000, 0);
  EXPECT_EQ(triangleSetup(triangleOf(&w0, &w1, &w2, &culled)), 0);
  EXPECT_NE(triangleSetup(triangleOf(&w0, &w1, &w2, &open)), 0);

  MeshVertex l0 = at(-5, 0), l1 = at(-1, 5), l2 = at(-20, 9);
  EXPECT_EQ(triangleSetup(triangleOf(&l0, &l1, &l2, &open)), 0);
  MeshVertex r0 = at(319, 0), r1 = at(400, 5), r2 = at(500, 9);
  EXPECT_NE(triangleSetup(triangleOf(&r0, &r1, &r2, &open)), 0);
  MeshVertex o0 = at(320, 0), o1 = at(330, 5), o2 = at(340, 9);
  EXPECT_EQ(triangleSetup(triangleOf(&o0, &o1, &o2, &open)), 0);
}

int32_t orderFor(int16_t ya, int16_t yb, int16_t yc) {
  MeshVertex a = at(0, ya), b = at(10, yb), c = at(20, yc);
  SurfaceDescriptor open{};
  return triangleSetup(triangleOf(&a, &b, &c, &open));
}

TEST_F(PipelineTest, RowOrderAndRowRejection) {
  EXPECT_EQ(orderFor(5, 5, 9), 528);   // top V0, middle V1, bottom V2
  EXPECT_EQ(orderFor(9, 5, 5), 18);    // corner 2 first of the two on the top row
  EXPECT_EQ(orderFor(1, 2, 3), 528);
  EXPECT_EQ(orderFor(1, 3, 2), 288);
  EXPECT_EQ(orderFor(2, 3, 1), 258);
  EXPECT_EQ(orderFor(2, 1, 3), 513);
  EXPECT_EQ(orderFor(3, 1, 2), 33);
  EXPECT_EQ(orderFor(3, 2, 1), 18);
  EXPECT_EQ(orderFor(5, 3, 5), 513);   // ya > yb, yc = ya
  EXPECT_EQ(orderFor(5, 5, 3), 258);   // ya <= yb, yc < ya
  EXPECT_EQ(orderFor(3, 5, 3), 288);   // ya <= yc < yb
  EXPECT_EQ(orderFor(10, 10, 10), 0);  // one row
  EXPECT_EQ(orderFor(240, 250, 300), 0);
  EXPECT_NE(orderFor(239, 250, 300), 0);
  EXPECT_EQ(orderFor(-30, -1, -10), 0);
  EXPECT_NE(orderFor(-30, 0, -10), 0);
}

TEST_F(PipelineTest, DrawNowHandsOverCornersInRowOrder) {
  MeshVertex a = at(0, 9), b = at(10, 5), c = at(20, 5);
  const MeshTriangle triangle = triangleOf(&a, &b, &c, &open);
  drawTriangleNow(context, triangle);
  ASSERT_EQ(filled.size(), 1u);
  const FilledTriangle& f = filled[0];
  EXPECT_EQ(f.top, &c);
  EXPECT_EQ(f.topU, 5);
  EXPECT_EQ(f.topV, 6);
  EXPECT_EQ(f.middle, &b);
  EXPECT_EQ(f.middleU, 3);
  EXPECT_EQ(f.bottom, &a);
  EXPECT_EQ(f.bottomV, 2);
  EXPECT_EQ(f.surface, &open);
  // A dropped triangle reaches neither the filler nor the buckets.
  MeshVertex d = at(0, 5);
  const MeshTriangle flat = triangleOf(&b, &c, &d, &open);
  drawTriangleNow(context, flat);
  queueTriangle(flat);
  EXPECT_EQ(filled.size(), 1u);
  EXPECT_EQ(depthBuckets.queuedCount, 0);
}

}  // namespace
