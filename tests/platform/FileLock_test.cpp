// The home's lock between holders: one at a time, a wait that gives up, and
// a lock that dies with the process that held it.
#include "platform/FileLock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/LockHolder.h"
#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using namespace std::chrono_literals;
using test::PathExists;
using test::TempDir;

class HomeLock : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string path_ = dir_ / "Movra.xml.lock";
};

TEST_F(HomeLock, OneHolderAtATimeAndTheNextOneAfterARelease) {
  FileLock first = FileLock::Acquire(path_, 0ms);
  ASSERT_EQ(first.state(), LockState::kHeld);
  EXPECT_TRUE(PathExists(path_));
  EXPECT_EQ(FileLock::Acquire(path_, 30ms).state(), LockState::kBusy);
  // A moved lock is still the one lock.
  FileLock moved = std::move(first);
  EXPECT_EQ(first.state(), LockState::kNone);
  EXPECT_EQ(FileLock::Acquire(path_, 0ms).state(), LockState::kBusy);
  moved.Release();
  EXPECT_EQ(FileLock::Acquire(path_, 0ms).state(), LockState::kHeld);
}

TEST_F(HomeLock, AWaitingWriterGetsTheLockWhenItIsGivenUp) {
  FileLock holder = FileLock::Acquire(path_, 0ms);
  ASSERT_TRUE(holder.held());
  std::thread releaser([&holder] {
    std::this_thread::sleep_for(100ms);
    holder.Release();
  });
  EXPECT_EQ(FileLock::Acquire(path_, 5000ms).state(), LockState::kHeld);
  releaser.join();
}

TEST_F(HomeLock, AKilledHolderLeavesTheLockFree) {
  // Another process takes the lock and is killed while it holds it.
  const std::unique_ptr<test::RunningChild> holder = test::StartLockHolder(path_);
  ASSERT_TRUE(holder);
  ASSERT_TRUE(holder->Kill());
  EXPECT_EQ(FileLock::Acquire(path_, 5000ms).state(), LockState::kHeld);
}

// Run only by StartLockHolder, in a process of its own: takes the lock and keeps it until killed.
TEST(LockHolder, DISABLED_HoldsTheLockUntilKilled) {
  const char* path = std::getenv(test::kHeldLockVariable);
  ASSERT_NE(path, nullptr);
  const FileLock lock = FileLock::Acquire(path, 0ms);
  ASSERT_TRUE(lock.held());
  std::this_thread::sleep_for(60s);
}

TEST_F(HomeLock, AFolderThatCannotHoldTheLockFileFails) {
  EXPECT_EQ(FileLock::Acquire(dir_ / "missing/Movra.xml.lock", 0ms).state(), LockState::kFailed);
}

}  // namespace
}  // namespace movra
