#include "search/ProgressPacer.h"

#include <utility>

namespace movra {

ProgressPacer::ProgressPacer(Clock clock, std::chrono::milliseconds delay, std::chrono::milliseconds interval)
    : clock_(std::move(clock)), interval_(interval), next_(clock_() + delay) {}

bool ProgressPacer::Due() {
  const TimePoint now = clock_();
  if (now < next_) return false;
  next_ = now + interval_;
  return true;
}

}  // namespace movra
