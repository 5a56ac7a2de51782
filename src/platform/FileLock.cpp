#include "platform/FileLock.h"

#include <utility>

namespace movra {

FileLock::~FileLock() { Release(); }

FileLock::FileLock(FileLock&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), state_(std::exchange(other.state_, LockState::kNone)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = std::exchange(other.handle_, -1);
    state_ = std::exchange(other.state_, LockState::kNone);
  }
  return *this;
}

}  // namespace movra
