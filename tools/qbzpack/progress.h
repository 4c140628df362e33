// A one-line percentage on stderr for long work, shown only when stderr is a
// terminal so that scripts and logs stay clean. Several threads may advance
// the same line.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace qbzpack {

class Progress {
 public:
  Progress(std::string label, uint64_t total);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void advance(uint64_t steps = 1);

 private:
  std::mutex lock_;
  std::string label_;
  uint64_t total_;
  uint64_t done_ = 0;
  int shownPercent_ = -1;
  bool enabled_;
};

}  // namespace qbzpack
