// Spreads independent pieces of work over the machine's cores. Each piece is
// computed by the same code whichever thread takes it, so results do not
// depend on the number of threads.
#pragma once

#include <cstdint>
#include <functional>

namespace qbzpack {

// Threads to use: the cores of the machine unless set (0 restores that).
void setWorkerThreads(uint32_t threads);
uint32_t workerThreads();

// Calls work(i) once for every i in 0..count-1, on up to workerThreads()
// threads. The first exception thrown by a piece is rethrown here, after all
// threads have stopped.
void forEachInParallel(uint32_t count, const std::function<void(uint32_t)>& work);

}  // namespace qbzpack
