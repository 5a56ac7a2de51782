#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/TextCodec.h"

namespace movra {
namespace {

RealFileSystem g_real;
FileSystem* g_current = &g_real;

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

std::string NativeJoin(std::string_view native_folder, std::string_view gbk_name) {
  std::string path(native_folder);
  path += GbkToUtf8(gbk_name);
  return path;
}

// On some virtual machines taking fresh memory a small page at a time costs
// far more than reading or formatting the bytes that go into it.
void AdviseHugePages(const std::string& buffer) {
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  if (buffer.capacity() < 4 * kHugePage) return;
  const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
  const std::uintptr_t from = (start + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t to = (start + buffer.capacity()) & ~(kHugePage - 1);
  if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

bool RealFileSystem::FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool RealFileSystem::DirectoryExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RealFileSystem::CopyFile(const std::string& from, const std::string& to, bool fail_if_exists) {
  std::optional<std::string> bytes = ReadFile(from);
  if (!bytes) return false;
  if (fail_if_exists) {
    // O_EXCL makes the refusal race-free; the content goes in through a
    // temporary file so a failed copy never leaves a half-written target.
    const std::string& native = to;
    int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return false;
    ::close(fd);
    if (!WriteFileAtomic(to, *bytes)) {
      ::unlink(native.c_str());
      return false;
    }
    return true;
  }
  return WriteFileAtomic(to, *bytes);
}

bool RealFileSystem::DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::optional<std::string> RealFileSystem::ReadFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    bytes.reserve(static_cast<size_t>(st.st_size));
    AdviseHugePages(bytes);
  } else if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return bytes;
}

bool RealFileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes, bool sync) {
  const std::string& native = path;
  std::string temp = FolderOf(native) + "/.movra-XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes.data(), bytes.size()) && (!sync || ::fsync(fd) == 0);
  ok = ::fchmod(fd, 0644) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temp.c_str(), native.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

FileSystem& Fs() { return *g_current; }

void SetFileSystem(FileSystem* fs) { g_current = fs ? fs : &g_real; }

std::string ProgramFolder() {
  char buffer[4096];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  std::string exe(buffer, static_cast<size_t>(n));
  size_t slash = exe.rfind('/');
  return slash == 0 ? std::string("/") : exe.substr(0, slash);
}

}  // namespace movra
