#include "qbzpack/progress.h"

#include <unistd.h>

#include <cstdio>

namespace qbzpack {

Progress::Progress(std::string label, uint64_t total)
    : label_(std::move(label)), total_(total == 0 ? 1 : total), enabled_(isatty(STDERR_FILENO) == 1) {
  advance(0);
}

Progress::~Progress() {
  if (enabled_ && shownPercent_ >= 0) std::fputs("\n", stderr);
}

void Progress::advance(uint64_t steps) {
  const std::lock_guard<std::mutex> hold(lock_);
  done_ += steps;
  if (!enabled_) return;
  const int percent = static_cast<int>((done_ >= total_ ? total_ : done_) * 100 / total_);
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  std::fprintf(stderr, "\r%s: %3d%%", label_.c_str(), percent);
  std::fflush(stderr);
}

}  // namespace qbzpack
