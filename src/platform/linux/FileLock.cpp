#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <utility>

namespace movra {

namespace {

// How often a waiting writer tries again.
constexpr std::chrono::milliseconds kRetry{10};

}  // namespace

FileLock FileLock::Acquire(const std::string& path, std::chrono::milliseconds wait) {
  FileLock lock;
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    lock.state_ = LockState::kFailed;
    return lock;
  }
  // flock locks belong to the open file: a second open of the same file, in
  // this process or another, waits for the first.
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      lock.handle_ = fd;
      lock.state_ = LockState::kHeld;
      return lock;
    }
    const int error = errno;
    if (error == EINTR) continue;
    if (error != EWOULDBLOCK) {
      ::close(fd);
      lock.state_ = (error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL)
                        ? LockState::kUnsupported
                        : LockState::kFailed;
      return lock;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      ::close(fd);
      lock.state_ = LockState::kBusy;
      return lock;
    }
    std::this_thread::sleep_for(kRetry);
  }
}

void FileLock::Release() {
  if (handle_ >= 0) {
    // Closing the file drops its lock.
    ::close(static_cast<int>(handle_));
    handle_ = -1;
  }
  state_ = LockState::kNone;
}

}  // namespace movra
