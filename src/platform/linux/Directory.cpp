#include "platform/Directory.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace movra {

// The open stream; its descriptor is the base of the status calls and of OpenChild.
struct Directory::State {
  DIR* dir = nullptr;
  int fd = -1;
  ~State() {
    if (dir) ::closedir(dir);
  }
};

namespace {

EntryKind KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISREG(mode)) return EntryKind::kFile;
  return EntryKind::kOther;
}

EntryKind KindOfType(unsigned char type) {
  if (type == DT_DIR) return EntryKind::kFolder;
  if (type == DT_REG) return EntryKind::kFile;
  return EntryKind::kOther;
}

// The stream over a folder descriptor, which it takes over; nullptr when none.
std::unique_ptr<Directory::State> StateOf(int fd) {
  if (fd < 0) return nullptr;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return nullptr;
  }
  auto state = std::make_unique<Directory::State>();
  state->dir = dir;
  state->fd = fd;
  return state;
}

}  // namespace

Directory::Directory(std::unique_ptr<State> state) : state_(std::move(state)) {}
Directory::Directory(Directory&& other) noexcept = default;
Directory& Directory::operator=(Directory&& other) noexcept = default;
Directory::~Directory() = default;

std::optional<Directory> Directory::Open(const std::string& native_path) {
  std::unique_ptr<State> state = StateOf(::open(native_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!state) return std::nullopt;
  return Directory(std::move(state));
}

std::optional<Directory> Directory::OpenChild(const char* name) const {
  std::unique_ptr<State> state =
      StateOf(::openat(state_->fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!state) return std::nullopt;
  return Directory(std::move(state));
}

bool Directory::Next(DirectoryEntry& entry, bool with_status) {
  struct stat st;
  while (const dirent* d = ::readdir(state_->dir)) {
    const char* name = d->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    entry.name = name;
    entry.length = std::strlen(name);
    entry.link = d->d_type == DT_LNK;
    entry.kind = KindOfType(d->d_type);
    entry.size = 0;
    entry.modified = 0;
    entry.id = FileId{};
    entry.status = EntryStatus::kNone;
    if (!with_status) return true;
    if (::fstatat(state_->fd, name, &st, AT_NO_AUTOMOUNT) == 0) {
      entry.status = EntryStatus::kTarget;
      entry.kind = KindOf(st.st_mode);
      entry.size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::int64_t>(st.st_size);
      entry.modified = st.st_mtim.tv_sec;
      entry.id = FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    } else if (::fstatat(state_->fd, name, &st, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT) == 0) {
      entry.status = EntryStatus::kLinkOnly;
      entry.kind = KindOf(st.st_mode);
      entry.modified = st.st_mtim.tv_sec;
    } else if (errno == EACCES) {
      entry.status = EntryStatus::kDenied;
    } else {
      continue;  // vanished since it was listed
    }
    return true;
  }
  return false;
}

std::optional<std::time_t> Directory::Modified() const {
  struct stat st;
  if (::fstat(state_->fd, &st) != 0) return std::nullopt;
  return st.st_mtim.tv_sec;
}

std::optional<FileId> Directory::Id() const {
  struct stat st;
  if (::fstat(state_->fd, &st) != 0) return std::nullopt;
  return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::optional<FileId> FileIdOf(const std::string& native_path) {
  struct stat st;
  if (::fstatat(AT_FDCWD, native_path.c_str(), &st, AT_NO_AUTOMOUNT) != 0) return std::nullopt;
  return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace movra
