// The home's lock between holders: one at a time, a wait that gives up, and
// a lock that dies with the process that held it.
#include "platform/FileLock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

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
  MOVRA_SKIP_WITHOUT(kPosixShell);
  if (std::system("command -v flock >/dev/null 2>&1") != 0) GTEST_SKIP() << "flock(1) is not installed";
  const std::string pid_file = dir_ / "pid";
  // Another process takes the lock (and keeps it to itself) and is killed while it holds it.
  ASSERT_EQ(std::system(("flock -o '" + path_ + "' sleep 30 & echo $! > '" + pid_file + "'").c_str()), 0);
  bool taken = false;
  for (int i = 0; i < 500 && !taken; ++i) {
    taken = FileLock::Acquire(path_, 0ms).state() == LockState::kBusy;
    if (!taken) std::this_thread::sleep_for(10ms);
  }
  ASSERT_TRUE(taken);
  ASSERT_EQ(std::system(("kill -9 $(cat '" + pid_file + "')").c_str()), 0);
  EXPECT_EQ(FileLock::Acquire(path_, 5000ms).state(), LockState::kHeld);
}

TEST_F(HomeLock, AFolderThatCannotHoldTheLockFileFails) {
  EXPECT_EQ(FileLock::Acquire(dir_ / "missing/Movra.xml.lock", 0ms).state(), LockState::kFailed);
}

}  // namespace
}  // namespace movra
