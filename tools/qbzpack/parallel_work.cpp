#include "qbzpack/parallel_work.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace qbzpack {

namespace {

std::atomic<uint32_t> chosenThreads{0};

}  // namespace

void setWorkerThreads(uint32_t threads) { chosenThreads = threads; }

uint32_t workerThreads() {
  const uint32_t chosen = chosenThreads;
  if (chosen != 0) return chosen;
  return std::max(1u, std::thread::hardware_concurrency());
}

void forEachInParallel(uint32_t count, const std::function<void(uint32_t)>& work) {
  std::atomic<uint32_t> next{0};
  std::atomic<bool> failed{false};
  std::exception_ptr firstError;
  std::mutex errorLock;
  const auto run = [&] {
    for (uint32_t i = next++; i < count && !failed; i = next++) {
      try {
        work(i);
      } catch (...) {
        const std::lock_guard<std::mutex> lock(errorLock);
        if (!firstError) firstError = std::current_exception();
        failed = true;
      }
    }
  };
  const uint32_t threads = std::min(workerThreads(), count);
  std::vector<std::thread> helpers;
  for (uint32_t t = 1; t < threads; ++t) helpers.emplace_back(run);
  run();
  for (std::thread& helper : helpers) helper.join();
  if (firstError) std::rethrow_exception(firstError);
}

}  // namespace qbzpack
