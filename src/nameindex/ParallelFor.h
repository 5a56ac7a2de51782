// Running one piece of work for each of many indices on a few threads.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace movra {

// The threads worth using for work that keeps each core busy: the cores,
// at most most_threads.
inline unsigned WorkerThreads(unsigned most_threads = 4) {
  return std::clamp(std::thread::hardware_concurrency(), 1u, std::max(most_threads, 1u));
}

// Calls work(i, worker) for each i in [0, count) on up to threads threads
// (the calling one, worker 0, among them); each thread takes the next index
// when it is done with one, so uneven pieces of work even out. worker is
// below threads and tells a thread's own state apart. Returns when every
// call has returned.
template <typename Work>
void ParallelFor(size_t count, unsigned threads, Work&& work) {
  std::atomic<size_t> next{0};
  auto run = [&](unsigned worker) {
    for (size_t i; (i = next.fetch_add(1, std::memory_order_relaxed)) < count;) work(i, worker);
  };
  const auto helpers = static_cast<unsigned>(std::min<size_t>(std::max(threads, 1u), count == 0 ? 1 : count)) - 1;
  std::vector<std::thread> pool;
  pool.reserve(helpers);
  for (unsigned t = 1; t <= helpers; ++t) pool.emplace_back(run, t);
  run(0);
  for (std::thread& thread : pool) thread.join();
}

}  // namespace movra
