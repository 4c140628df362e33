// Whole blocks of the scene that cannot yield a pixel this frame. A block is a
// box of model points (the corners of some tiles); it is hidden when every
// point inside it is either rejected by the vertex stage (behind the eye, too
// near or too far) or projects beyond one and the same side of the 320 x 240
// frame. Every triangle of such a block has a rejected corner or all three
// corners past that side, so triangle set-up would drop it: skipping the block
// changes no pixel.
//
// Facing away is not tested: the eye stays at the cube's centre, on the inner
// side of every face, so no face of the scene ever turns its back to it.
#pragma once

#include <cstdint>

#include "render/matrix.h"

struct RenderContext;

// The camera and projection of one frame, as the test reads them.
struct VisibilityTest {
  int64_t row[3][3];        // model point -> unshifted camera sum, per camera axis (x, y, z) and model axis
  int64_t rowSize[3][3];    // |row|
  int64_t translation[3];   // camera x, y, z offsets
  bool frameSides;          // the frame's four sides are tested (a known projection stage)
  int64_t sideForm[4][3];   // per side: the linear form of the model point it bounds
  int64_t sideSize[4][3];   // |sideForm|
  int64_t sideOffset[4];    // and the constant that completes it
  int64_t coordinateLimit;  // largest |camera x| and |camera y| whose projection cannot wrap
};

// Builds the test for the top of the matrix stack and the context's projection.
void prepareVisibility(VisibilityTest& test, const Matrix& camera, const RenderContext& context);
// True when no triangle with all its corners inside the box can pass triangle set-up.
bool blockHidden(const VisibilityTest& test, const ModelBounds& box);

// blockHidden's answer, and whether no box inside this one can be hidden:
// every point within the visible depths and, by the same bounds, on the inner
// side of all four frame sides. The parts of an Inside block need no test.
enum class BlockView { Hidden, Partial, Inside };
BlockView blockView(const VisibilityTest& test, const ModelBounds& box);

// What a test found to hold for a box, and so for every box inside it: its
// camera coordinates and projections cannot wrap, its depths are all visible,
// it lies on the inner side of frame side s (bit kSideInside << s).
enum : uint32_t { kRangesFit = 1, kDepthsInside = 2, kSideInside = 4, kAllInside = 63 };
// blockView for a box inside one whose test found `settled`: those parts are
// not tested again (they cannot hide this box, and they hold for it), and
// `settled` gains what holds for this box. The same answer as blockView.
BlockView blockView(const VisibilityTest& test, const ModelBounds& box, uint32_t& settled);
