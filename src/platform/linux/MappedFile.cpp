#include "platform/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/linux/StatStamp.h"

namespace movra {

std::optional<MappedFile> MappedFile::Open(const std::string& native_path) {
  const int fd = ::open(native_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  MappedFile mapped;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    const auto length = static_cast<size_t>(st.st_size);
    void* address = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0);
    if (address != MAP_FAILED) {
      mapped.address_ = address;
      mapped.length_ = length;
      mapped.stamp_ = StampOfStatus(st);
      // Read-ahead around each page touched would read the whole file.
      ::madvise(address, length, MADV_RANDOM);
    }
  }
  ::close(fd);
  if (mapped.address_ == nullptr) return std::nullopt;
  return mapped;
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : address_(std::exchange(other.address_, nullptr)), length_(std::exchange(other.length_, 0)),
      stamp_(other.stamp_) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    if (address_ != nullptr) ::munmap(address_, length_);
    address_ = std::exchange(other.address_, nullptr);
    length_ = std::exchange(other.length_, 0);
    stamp_ = other.stamp_;
  }
  return *this;
}

MappedFile::~MappedFile() {
  if (address_ != nullptr) ::munmap(address_, length_);
}

void WillNeedMapped(const void* data, size_t length) {
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(data) & ~(page - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(data) + length;
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_WILLNEED);
}

std::optional<ReadOnlyFile> ReadOnlyFile::Open(const std::string& native_path) {
  const int fd = ::open(native_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  ReadOnlyFile file(fd);
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return file;
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    handle_ = std::exchange(other.handle_, -1);
  }
  return *this;
}

ReadOnlyFile::~ReadOnlyFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

std::optional<FileStamp> ReadOnlyFile::Stamp() const {
  struct stat st;
  if (::fstat(static_cast<int>(handle_), &st) != 0) return std::nullopt;
  return StampOfStatus(st);
}

bool ReadOnlyFile::ReadAt(std::uint64_t offset, char* out, size_t length) const {
  for (size_t done = 0; done < length;) {
    const ssize_t n = ::pread(static_cast<int>(handle_), out + done, length - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

void ReadOnlyFile::AccessRandomly() const { ::posix_fadvise(static_cast<int>(handle_), 0, 0, POSIX_FADV_RANDOM); }

void ReadOnlyFile::WillNeed(std::uint64_t offset, std::uint64_t length) const {
  ::posix_fadvise(static_cast<int>(handle_), static_cast<off_t>(offset), static_cast<off_t>(length),
                  POSIX_FADV_WILLNEED);
}

void ReadOnlyFile::DropFromCache() const {
  // Dirty pages stay cached until they are written.
  ::fdatasync(static_cast<int>(handle_));
  ::posix_fadvise(static_cast<int>(handle_), 0, 0, POSIX_FADV_DONTNEED);
}

}  // namespace movra
