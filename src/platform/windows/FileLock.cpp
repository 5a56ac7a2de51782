#include "platform/FileLock.h"

#include <thread>
#include <utility>

#include "platform/windows/WinText.h"

namespace movra {
namespace {

// How often a waiting writer tries again.
constexpr std::chrono::milliseconds kRetry{10};

HANDLE AsHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

FileLock FileLock::Acquire(const std::string& path, std::chrono::milliseconds wait) {
  FileLock lock;
  const HANDLE file = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    lock.state_ = LockState::kFailed;
    return lock;
  }
  // The lock belongs to the handle: a second open of the file, in this
  // process or another, waits for the first.
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    OVERLAPPED at{};
    if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      lock.handle_ = reinterpret_cast<std::intptr_t>(file);
      lock.state_ = LockState::kHeld;
      return lock;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
      ::CloseHandle(file);
      lock.state_ = error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION ? LockState::kUnsupported
                                                                                     : LockState::kFailed;
      return lock;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      ::CloseHandle(file);
      lock.state_ = LockState::kBusy;
      return lock;
    }
    std::this_thread::sleep_for(kRetry);
  }
}

void FileLock::Release() {
  if (handle_ != -1) {
    // Closing the handle drops its lock.
    ::CloseHandle(AsHandle(handle_));
    handle_ = -1;
  }
  state_ = LockState::kNone;
}

}  // namespace movra
