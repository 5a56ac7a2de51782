// The home's lock: an exclusive advisory lock on a lock file, held while the
// object lives. The system drops it with the process, so a writer that was
// killed never leaves the home locked. Paths are native.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace movra {

// What taking a lock came to.
enum class LockState {
  kNone,         // no lock was asked for (a moved-from or released lock)
  kHeld,         // this object holds the lock
  kBusy,         // another holder kept it for the whole wait
  kUnsupported,  // the file system has no locks; nothing is held
  kFailed,       // the lock file could not be opened or created
};

class FileLock {
 public:
  // Holds nothing.
  FileLock() = default;
  // Releases the lock.
  ~FileLock();
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock of path (the file is created when missing), waiting up to
  // wait while another process or object holds it.
  static FileLock Acquire(const std::string& path, std::chrono::milliseconds wait);

  // How the lock was taken.
  LockState state() const { return state_; }
  // True while the lock is held.
  bool held() const { return state_ == LockState::kHeld; }
  // Gives the lock up early.
  void Release();

 private:
  std::intptr_t handle_ = -1;  // the open lock file (a descriptor or a handle)
  LockState state_ = LockState::kNone;
};

}  // namespace movra
