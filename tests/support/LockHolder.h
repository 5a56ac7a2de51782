// Another process that holds the home's lock until it is killed: the test
// program started again to run only LockHolder.DISABLED_HoldsTheLockUntilKilled.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "platform/FileLock.h"
#include "support/System.h"

namespace movra::test {

// The environment variable that names the lock file to the holder.
inline constexpr const char* kHeldLockVariable = "MOVRA_TEST_HELD_LOCK";

// Starts the holder of the lock file at path and waits until it holds it;
// null when it could not start or did not come to hold it.
inline std::unique_ptr<RunningChild> StartLockHolder(const std::string& path) {
  SetEnvironment(kHeldLockVariable, path.c_str());
  std::unique_ptr<RunningChild> holder =
      StartChild({{TestProgramPath(), "--gtest_filter=LockHolder.DISABLED_HoldsTheLockUntilKilled",
                   "--gtest_also_run_disabled_tests"},
                  {},
                  {}});
  SetEnvironment(kHeldLockVariable, nullptr);
  for (int i = 0; holder && i < 1000; ++i) {
    if (FileLock::Acquire(path, std::chrono::milliseconds(0)).state() == LockState::kBusy) return holder;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return nullptr;
}

}  // namespace movra::test
