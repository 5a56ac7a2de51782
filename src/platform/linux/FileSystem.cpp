#include "platform/FileSystem.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <string>
#include <utility>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace movra {
namespace {

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

void AdviseHugePages(const void* data, size_t capacity) {
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  if (capacity < 4 * kHugePage) return;
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t from = (start + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t to = (start + capacity) & ~(kHugePage - 1);
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
    int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
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

std::optional<std::string_view> RealFileSystem::ReadFileInto(const std::string& path, std::string& storage) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  // Straight into the storage, aligned as in the file (CopyAlignmentGap).
  // The storage grows to the size the file has now (only growing writes
  // anything first), and further if the file grows meanwhile.
  const size_t expected = S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) : 0;
  if (storage.capacity() < expected + 64) {
    storage.clear();
    storage.reserve(expected + 64);
    AdviseHugePages(storage);
  }
  const size_t start = CopyAlignmentGap(storage.data(), 0);
  if (storage.size() < start + expected + 1) storage.resize(start + expected + 1);
  size_t end = start;
  for (;;) {
    if (end == storage.size()) storage.resize(end + std::max(end - start, size_t{1} << 16));
    const ssize_t n = ::read(fd, storage.data() + end, storage.size() - end);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    end += static_cast<size_t>(n);
  }
  ::close(fd);
  return std::string_view(storage.data() + start, end - start);
}

namespace {

// The file a path finally names: symbolic links are followed (relative
// targets against the link's folder) so that a save replaces the target and
// keeps the link. A dangling link gives the path it points to.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    if (n <= 0) return path;
    std::string next(target, static_cast<size_t>(n));
    if (next[0] != '/') next = FolderOf(path) + "/" + next;
    path = std::move(next);
  }
  return path;
}

// A new, empty file beside the target, created with the permissions a plain
// create gets (0666 less the umask); -1 when none can be made.
int CreateTempBeside(const std::string& target, std::string& temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = FolderOf(target) + "/.movra-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Flushes a folder's entries (a rename) to the disk.
bool SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

namespace {

// The temporary file of one atomic write, renamed over the target at Commit.
class RealAtomicFile : public AtomicFile {
 public:
  RealAtomicFile(int fd, std::string temp, std::string target, bool exists, const struct stat& old, bool sync)
      : fd_(fd), temp_(std::move(temp)), target_(std::move(target)), exists_(exists), old_(old), sync_(sync) {}
  ~RealAtomicFile() override {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(temp_.c_str());
  }

  bool Write(std::string_view bytes) override {
    ok_ = ok_ && fd_ >= 0 && WriteAll(fd_, bytes.data(), bytes.size());
    return ok_;
  }

  bool Commit() override {
    if (fd_ < 0 || committed_) return false;
    // The new file takes the old one's place with its permissions and (when
    // we may set it) its owner.
    bool ok = ok_;
    if (exists_) {
      ok = ok && ::fchmod(fd_, old_.st_mode & 07777) == 0;
      if (ok && ::geteuid() == 0) ok = ::fchown(fd_, old_.st_uid, old_.st_gid) == 0;
    }
    ok = ok && (!sync_ || ::fsync(fd_) == 0);
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    ok_ = committed_ = ok && ::rename(temp_.c_str(), target_.c_str()) == 0;
    if (committed_ && sync_) SyncFolder(FolderOf(target_));
    return committed_;
  }

 private:
  int fd_;
  std::string temp_, target_;
  bool exists_;
  struct stat old_;
  bool sync_;
  bool ok_ = true;
  bool committed_ = false;
};

}  // namespace

std::unique_ptr<AtomicFile> RealFileSystem::CreateFileAtomic(const std::string& path, bool sync) {
  const std::string target = FollowLinks(path);
  // A file the user may not write is left alone.
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0))
    return nullptr;
  std::string temp;
  const int fd = CreateTempBeside(target, temp);
  if (fd < 0) return nullptr;
  return std::make_unique<RealAtomicFile>(fd, std::move(temp), target, exists, old, sync);
}

bool RealFileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes, bool sync) {
  const std::unique_ptr<AtomicFile> file = RealFileSystem::CreateFileAtomic(path, sync);
  return file && file->Write(bytes) && file->Commit();
}

std::string ProgramFolder() {
  char buffer[4096];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  std::string exe(buffer, static_cast<size_t>(n));
  size_t slash = exe.rfind('/');
  return slash == 0 ? std::string("/") : exe.substr(0, slash);
}

bool IsWritableFolder(const std::string& path) { return ::access(path.c_str(), W_OK | X_OK) == 0; }

bool IsAbsoluteNative(std::string_view path) { return !path.empty() && path.front() == '/'; }

std::string SlashedNative(std::string_view path) { return std::string(path); }

bool NativeNameFits(std::string_view native_name) { return native_name.size() <= NAME_MAX; }

std::optional<FileReader> FileReader::Open(const std::string& native_path) {
  const int fd = ::open(native_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  return FileReader(fd);
}

FileReader::FileReader(FileReader&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

FileReader& FileReader::operator=(FileReader&& other) noexcept {
  if (this != &other) {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    handle_ = std::exchange(other.handle_, -1);
  }
  return *this;
}

FileReader::~FileReader() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool FileReader::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
  auto* out = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::pread(static_cast<int>(handle_), out, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    out += n;
    offset += static_cast<std::uint64_t>(n);
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace movra
