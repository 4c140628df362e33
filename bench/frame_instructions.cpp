// Counts the machine instructions of whole frames, for the instruction budget:
// run under valgrind's callgrind (scripts/count-instructions.sh), which only
// counts between the start and stop marks below, so start-up, warm-up and
// exit are left out. Without valgrind the marks do nothing and the program
// just produces its frames.
//
//   qbz_frame_instructions [--frames N] [--warmup N] [--zoom Z] [--spin] [--wireframe]
//
// Prints the view measured and the number of frames counted.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/application.h"
#include "viewer_setup.h"

namespace {

struct Options {
  int32_t frames = 100;
  int32_t warmup = 8;
  uint32_t zoom = 130;
  bool spin = false;  // auto-rotation on: the view turns as the frames go by
  bool wireFrame = false;
};

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--frames") == 0 && hasValue) {
      options.frames = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--warmup") == 0 && hasValue) {
      options.warmup = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--zoom") == 0 && hasValue) {
      options.zoom = static_cast<uint32_t>(std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--spin") == 0) {
      options.spin = true;
    } else if (std::strcmp(argv[i], "--wireframe") == 0) {
      options.wireFrame = true;
    } else {
      return false;
    }
  }
  return options.frames > 0 && options.warmup >= 0 && options.zoom >= 64 && options.zoom <= 1024;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--frames N] [--warmup N] [--zoom 64..1024] [--spin] [--wireframe]\n", argv[0]);
    return 2;
  }
  bench::Viewer viewer;
  if (!viewer.loaded()) {
    std::fprintf(stderr, "the panorama %s did not load\n", bench::panoramaSource().path.c_str());
    return 1;
  }
  viewer.startView(options.zoom, options.spin);
  if (options.wireFrame) viewer.wireFrame();
  for (int32_t i = 0; i < options.warmup; ++i) produceFrame();
  bench::Viewer::forgetCalls();

  CALLGRIND_ZERO_STATS;
  CALLGRIND_START_INSTRUMENTATION;
  for (int32_t i = 0; i < options.frames; ++i) produceFrame();
  CALLGRIND_STOP_INSTRUMENTATION;

  std::printf("panorama %s (%s), zoom %u, %s, %s: %d frames counted\n", bench::panoramaSource().path.c_str(),
              bench::panoramaSource().sample ? "sample" : "synthetic", options.zoom,
              options.spin ? "turning" : "start view", options.wireFrame ? "wire-frame" : "textured", options.frames);
  return 0;
}
