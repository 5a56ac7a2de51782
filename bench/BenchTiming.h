// Timing shared by the benchmarks: the best of a few rounds, in wall-clock
// seconds and in this process's CPU seconds (which a busy machine inflates less).
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <utility>

namespace movra::bench {

// CPU time used by this process so far, in seconds.
inline double CpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The best wall and CPU times of several rounds of one piece of work.
struct Timing {
  double wall = 1e9;
  double cpu = 1e9;
};

// Runs work rounds times and keeps the best wall and CPU times.
inline Timing BestTiming(const std::function<void()>& work, int rounds) {
  Timing best;
  for (int i = 0; i < rounds; ++i) {
    const double cpu_start = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best.wall = std::min(best.wall, took.count());
    best.cpu = std::min(best.cpu, CpuSeconds() - cpu_start);
  }
  return best;
}

// Runs two pieces of work in turns, rounds times each, and keeps the best
// times of each: a change in the machine's load between them then favours
// neither, as it could when one is timed wholly before the other.
inline std::pair<Timing, Timing> BestTimingsInTurns(const std::function<void()>& first,
                                                    const std::function<void()>& second, int rounds) {
  std::pair<Timing, Timing> best;
  for (int i = 0; i < rounds; ++i) {
    const Timing a = BestTiming(first, 1);
    const Timing b = BestTiming(second, 1);
    best.first = {std::min(best.first.wall, a.wall), std::min(best.first.cpu, a.cpu)};
    best.second = {std::min(best.second.wall, b.wall), std::min(best.second.cpu, b.cpu)};
  }
  return best;
}

// The best wall-clock seconds of rounds runs of work.
inline double BestSeconds(const std::function<void()>& work, int rounds) {
  return BestTiming(work, rounds).wall;
}

}  // namespace movra::bench
