#include "search/ProgressPacer.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

using std::chrono::milliseconds;

class ProgressPacerTest : public ::testing::Test {
 protected:
  ProgressPacer::Clock Clock() {
    return [this] { return start_ + now_; };
  }
  ProgressPacer::TimePoint start_ = std::chrono::steady_clock::now();
  milliseconds now_{0};
};

TEST_F(ProgressPacerTest, ShowsNothingBeforeTheDelayThenAtMostOncePerInterval) {
  ProgressPacer pacer(Clock(), milliseconds(500), milliseconds(100));
  EXPECT_FALSE(pacer.Due());
  now_ = milliseconds(499);
  EXPECT_FALSE(pacer.Due());
  now_ = milliseconds(500);
  EXPECT_TRUE(pacer.Due());
  EXPECT_FALSE(pacer.Due());  // at once again: too soon
  now_ = milliseconds(599);
  EXPECT_FALSE(pacer.Due());
  now_ = milliseconds(600);
  EXPECT_TRUE(pacer.Due());
  // A long pause counts from the last showing, not from a fixed grid.
  now_ = milliseconds(2000);
  EXPECT_TRUE(pacer.Due());
  now_ = milliseconds(2050);
  EXPECT_FALSE(pacer.Due());
}

TEST_F(ProgressPacerTest, TheDelayCountsFromWhenThePacerWasMade) {
  now_ = milliseconds(10000);  // a clock far from zero
  ProgressPacer pacer(Clock(), milliseconds(500), milliseconds(100));
  EXPECT_FALSE(pacer.Due());
  now_ = milliseconds(10500);
  EXPECT_TRUE(pacer.Due());
}

TEST_F(ProgressPacerTest, ZeroDelayAndIntervalShowEveryTime) {
  ProgressPacer pacer(Clock(), milliseconds(0), milliseconds(0));
  EXPECT_TRUE(pacer.Due());
  EXPECT_TRUE(pacer.Due());
}

}  // namespace
}  // namespace movra
