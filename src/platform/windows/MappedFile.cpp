#include "platform/MappedFile.h"

#include <algorithm>
#include <utility>

#include "platform/windows/WinText.h"

namespace movra {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The open regular file (not a folder or device) at a native path, or INVALID_HANDLE_VALUE.
HANDLE OpenRegular(const std::string& native_path, DWORD flags) {
  const HANDLE file =
      ::CreateFileW(WidePath(native_path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) return file;
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    ::CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

}  // namespace

// Read whole into memory of its own rather than mapped: a mapped file can
// be neither replaced nor deleted here, and the name index and snapshots are
// replaced by other writers while a reader holds them.
std::optional<MappedFile> MappedFile::Open(const std::string& native_path) {
  const Handle file(OpenRegular(native_path, FILE_FLAG_SEQUENTIAL_SCAN));
  LARGE_INTEGER size;
  if (!file.valid() || !::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0) return std::nullopt;
  MappedFile mapped;
  if (!StampOfHandle(file.get(), mapped.stamp_)) return std::nullopt;
  const auto length = static_cast<size_t>(size.QuadPart);
  void* address = ::VirtualAlloc(nullptr, length, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (address == nullptr) return std::nullopt;
  for (size_t done = 0; done < length;) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(length - done, 1u << 30));
    if (!::ReadFile(file.get(), static_cast<char*>(address) + done, want, &got, nullptr) || got == 0) {
      ::VirtualFree(address, 0, MEM_RELEASE);
      return std::nullopt;
    }
    done += got;
  }
  mapped.address_ = address;
  mapped.length_ = length;
  return mapped;
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : address_(std::exchange(other.address_, nullptr)), length_(std::exchange(other.length_, 0)),
      stamp_(other.stamp_) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    if (address_ != nullptr) ::VirtualFree(address_, 0, MEM_RELEASE);
    address_ = std::exchange(other.address_, nullptr);
    length_ = std::exchange(other.length_, 0);
    stamp_ = other.stamp_;
  }
  return *this;
}

MappedFile::~MappedFile() {
  if (address_ != nullptr) ::VirtualFree(address_, 0, MEM_RELEASE);
}

// The bytes are in memory already.
void WillNeedMapped(const void*, size_t) {}

std::optional<ReadOnlyFile> ReadOnlyFile::Open(const std::string& native_path) {
  const HANDLE file = OpenRegular(native_path, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  return ReadOnlyFile(reinterpret_cast<std::intptr_t>(file));
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = std::exchange(other.handle_, -1);
  }
  return *this;
}

ReadOnlyFile::~ReadOnlyFile() {
  if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::optional<FileStamp> ReadOnlyFile::Stamp() const {
  FileStamp stamp;
  if (!StampOfHandle(reinterpret_cast<HANDLE>(handle_), stamp)) return std::nullopt;
  return stamp;
}

bool ReadOnlyFile::ReadAt(std::uint64_t offset, char* out, size_t length) const {
  for (size_t done = 0; done < length;) {
    OVERLAPPED at{};
    const std::uint64_t from = offset + done;
    at.Offset = static_cast<DWORD>(from);
    at.OffsetHigh = static_cast<DWORD>(from >> 32);
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(length - done, 1u << 30));
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), out + done, want, &got, &at) || got == 0) return false;
    done += got;
  }
  return true;
}

// Read-ahead is chosen when a file is opened on this system; these hints have nothing to change.
void ReadOnlyFile::AccessRandomly() const {}

void ReadOnlyFile::WillNeed(std::uint64_t, std::uint64_t) const {}

// Cached pages cannot be dropped for one file here; changed ones are at least written out.
void ReadOnlyFile::DropFromCache() const { ::FlushFileBuffers(reinterpret_cast<HANDLE>(handle_)); }

}  // namespace movra
