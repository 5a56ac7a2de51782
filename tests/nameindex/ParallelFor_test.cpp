#include "nameindex/ParallelFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace movra {
namespace {

// Every index is worked once, each by a worker below the thread count, for
// more, as many and fewer indices than threads and none at all.
TEST(ParallelForTest, WorksEachIndexOnceOnTheThreadsGiven) {
  const struct {
    size_t count;
    unsigned threads;
  } cases[] = {{1000, 4}, {3, 3}, {2, 8}, {5, 1}, {0, 4}, {7, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.count << " on " << c.threads);
    std::vector<std::atomic<int>> worked(c.count);
    std::atomic<bool> worker_in_range{true};
    ParallelFor(c.count, c.threads, [&](size_t i, unsigned worker) {
      ++worked[i];
      if (worker >= std::max(c.threads, 1u)) worker_in_range = false;
    });
    for (size_t i = 0; i < c.count; ++i) EXPECT_EQ(worked[i], 1) << i;
    EXPECT_TRUE(worker_in_range);
  }
  EXPECT_GE(WorkerThreads(), 1u);
  EXPECT_LE(WorkerThreads(2), 2u);
}

}  // namespace
}  // namespace movra
