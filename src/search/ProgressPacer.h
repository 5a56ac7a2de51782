// When a long task on the user-interface thread shows its progress: not
// before a delay has passed since the task began (a short task shows
// nothing), then at most once per interval, since each showing also runs the
// event loop and costs time of its own.
#pragma once

#include <chrono>
#include <functional>

namespace movra {

class ProgressPacer {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  // Where the pacer reads the time (tests drive their own clock).
  using Clock = std::function<TimePoint()>;

  // A pacer for a task that begins now (as clock tells it).
  ProgressPacer(Clock clock, std::chrono::milliseconds delay, std::chrono::milliseconds interval);

  // True when progress should be shown now; the next showing is then at
  // least one interval away.
  bool Due();

 private:
  Clock clock_;
  std::chrono::milliseconds interval_;
  TimePoint next_;
};

}  // namespace movra
