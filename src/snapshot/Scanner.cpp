#include "snapshot/Scanner.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "platform/TextCodec.h"
#include "snapshot/EntryOrder.h"

namespace movra {
namespace {

// One directory entry, read before any of it is recorded.
struct Entry {
  std::uint32_t native;    // offset of the NUL-terminated name on disk in Level::names
  std::uint32_t recorded;  // offset of the recorded (GBK) name in Level::names
  std::uint32_t recordedLength;
  bool folder;             // recorded as a folder
  bool enter;              // a folder of its own, not a link to one
  DateTime modified;
  std::int64_t size;
};

// The entries of the folder being walked at one depth; reused from folder to
// folder so that a walk allocates only while its buffers still grow.
struct Level {
  std::string names;
  std::vector<Entry> entries;
};

// Appends the recorded form of a name on disk to out, returning its length.
std::uint32_t AppendRecordedName(std::string& out, std::string_view native) {
  const std::size_t start = out.size();
  if (IsAscii(native)) {
    // The common case, without a conversion: only the bytes a recorded name
    // cannot hold need replacing.
    for (char c : native) {
      const unsigned char u = static_cast<unsigned char>(c);
      out.push_back(c == '\\' || c == '|' || u < 0x20 || u == 0x7F ? '_' : c);
    }
  } else {
    out += DiskNameToGbk(native);
  }
  return static_cast<std::uint32_t>(out.size() - start);
}

// Folders a scan records but never enters: the roots of the other lettered
// drives (a volume is catalogued under its own letter) and everything of a
// pseudo file system (/proc, /sys, /dev ...).
struct Fence {
  std::vector<std::pair<dev_t, ino_t>> roots;
  std::vector<dev_t> pseudo;

  bool Stops(const struct stat& st) const {
    return std::find(pseudo.begin(), pseudo.end(), st.st_dev) != pseudo.end() ||
           std::find(roots.begin(), roots.end(), std::make_pair(st.st_dev, st.st_ino)) != roots.end();
  }
};

Fence FenceOf(const DriveMap& drives, char scan_letter) {
  Fence fence;
  const std::string table_file = drives.MountTable().empty() ? "/proc/self/mountinfo" : drives.MountTable();
  std::ifstream in(table_file, std::ios::binary);
  std::ostringstream table;
  table << in.rdbuf();
  struct stat st;
  for (const auto& [mount, number] : PseudoMountsOf(table.str())) {
    unsigned major = 0, minor = 0;
    if (std::sscanf(number.c_str(), "%u:%u", &major, &minor) == 2) fence.pseudo.push_back(makedev(major, minor));
    if (::fstatat(AT_FDCWD, mount.c_str(), &st, AT_NO_AUTOMOUNT) == 0) fence.roots.emplace_back(st.st_dev, st.st_ino);
  }
  for (const DriveEntry& d : drives.Drives()) {
    if (d.letter == scan_letter || d.mount.empty() || d.mount == "/") continue;
    if (::fstatat(AT_FDCWD, d.mount.c_str(), &st, AT_NO_AUTOMOUNT) == 0) fence.roots.emplace_back(st.st_dev, st.st_ino);
  }
  return fence;
}

class Walker {
 public:
  Walker(SnapshotIndex& index, const ScanCallback& progress, std::string_view root_key, Fence fence)
      : index_(index), progress_(progress), key_(root_key), fence_(std::move(fence)) {}

  // Records the folder open on fd (whose key is key_) and everything below
  // it; takes over fd. False when the callback cancelled.
  bool Walk(int fd, std::size_t depth) {
    if (progress_ && !progress_(ScanProgress{key_, folders_, files_})) {
      ::close(fd);
      return false;
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
      ::close(fd);
      return true;
    }
    if (levels_.size() <= depth) levels_.resize(depth + 1);
    Level& level = levels_[depth];  // a deque keeps it in place while deeper levels are added
    Read(dir, level);

    bool go_on = true;
    for (const Entry& e : level.entries) {
      if (!e.folder) continue;
      const std::string_view name(level.names.data() + e.recorded, e.recordedLength);
      index_.AddFolder(key_, name, e.modified, 0);
      ++folders_;
      // Below a key the index cannot hold, nothing could be recorded.
      if (!e.enter || key_.size() + name.size() + 1 > SnapshotIndex::kMaxLength) continue;
      const int child = ::openat(::dirfd(dir), level.names.data() + e.native,
                                 O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (child < 0) continue;  // unreadable, vanished, or replaced by a link meanwhile
      const std::size_t key_length = key_.size();
      key_.append(name);
      key_.push_back('\\');
      go_on = Walk(child, depth + 1);
      key_.resize(key_length);
      if (!go_on) break;
    }
    if (go_on) {
      for (const Entry& e : level.entries) {
        if (e.folder) continue;
        index_.AddFile(key_, std::string_view(level.names.data() + e.recorded, e.recordedLength),
                       e.modified, e.size);
        ++files_;
      }
    }
    ::closedir(dir);
    return go_on;
  }

 private:
  // Reads every entry of dir (but "." and "..") with its status into level,
  // sub-folders first and then files, each group in name order.
  void Read(DIR* dir, Level& level) {
    level.names.clear();
    level.entries.clear();
    const int fd = ::dirfd(dir);
    struct stat st;
    std::optional<DateTime> folder_time;
    while (const dirent* d = ::readdir(dir)) {
      const char* name = d->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      Entry e{};
      if (::fstatat(fd, name, &st, AT_NO_AUTOMOUNT) == 0) {
        // A link is taken for its target; a link to a folder is never entered.
        e.folder = S_ISDIR(st.st_mode);
        e.enter = e.folder && d->d_type != DT_LNK && !fence_.Stops(st);
        e.size = e.folder ? 0 : static_cast<std::int64_t>(st.st_size);
        e.modified = TimeOf(st.st_mtim.tv_sec);
      } else if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT) == 0) {
        // A dangling link (or a loop of links): a file of size 0 with the link's own time.
        e.folder = S_ISDIR(st.st_mode);
        e.enter = false;
        e.size = 0;
        e.modified = TimeOf(st.st_mtim.tv_sec);
      } else if (errno == EACCES) {
        // A folder that may be listed but not entered: its names are all
        // there is to know, so they are kept with the folder's own time.
        if (!folder_time) {
          struct stat self;
          folder_time = ::fstat(fd, &self) == 0 ? TimeOf(self.st_mtim.tv_sec) : ScanTimeOf(0);
        }
        e.folder = d->d_type == DT_DIR;
        e.enter = false;
        e.size = 0;
        e.modified = *folder_time;
      } else {
        continue;  // vanished since it was listed
      }
      const std::size_t length = std::strlen(name);
      e.native = static_cast<std::uint32_t>(level.names.size());
      level.names.append(name, length + 1);
      e.recorded = static_cast<std::uint32_t>(level.names.size());
      e.recordedLength = AppendRecordedName(level.names, std::string_view(name, length));
      level.entries.push_back(e);
    }
    const char* names = level.names.data();
    std::sort(level.entries.begin(), level.entries.end(), [names](const Entry& a, const Entry& b) {
      if (a.folder != b.folder) return a.folder;
      const std::string_view x(names + a.recorded, a.recordedLength), y(names + b.recorded, b.recordedLength);
      if (x != y) return EntryNameLess(x, y);
      return std::strcmp(names + a.native, names + b.native) < 0;
    });
  }

  // The recorded time of t (ScanTimeOf, with the last answer kept).
  DateTime TimeOf(std::time_t t) { return times_.Of(t); }

  SnapshotIndex& index_;
  const ScanCallback& progress_;
  std::string key_;
  Fence fence_;
  std::deque<Level> levels_;
  std::size_t folders_ = 0;
  std::size_t files_ = 0;
  ScanTimes times_;
};

}  // namespace

DateTime ScanTimeOf(std::time_t t) {
  static const DateTime kFirst = EncodeDateTime({1980, 1, 1, 0, 0, 0});
  static const DateTime kLast = EncodeDateTime({2107, 12, 31, 23, 59, 58});
  std::tm tm{};
  if (!::localtime_r(&t, &tm)) return t < 0 ? kFirst : kLast;
  const int year = tm.tm_year + 1900;
  if (year < 1980) return kFirst;
  if (year > 2107) return kLast;
  // The DOS form keeps seconds in steps of two; a leap second stays in its minute.
  const int second = tm.tm_sec > 59 ? 58 : tm.tm_sec & ~1;
  return EncodeDateTime({year, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, second});
}

bool ScanFolder(SnapshotIndex& index, const DriveMap& drives, std::string_view scan_path,
                const ScanCallback& progress) {
  const std::optional<std::string> native = drives.NativePathOf(scan_path);
  if (!native) return true;
  const int fd = ::open(native->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;  // an unreadable scan path records nothing
  Fence fence = FenceOf(drives, DriveLetterOf(scan_path));
  struct stat st;
  if (::fstat(fd, &st) == 0 && std::find(fence.pseudo.begin(), fence.pseudo.end(), st.st_dev) != fence.pseudo.end()) {
    ::close(fd);  // nothing of a pseudo file system is recorded
    return true;
  }
  Walker walker(index, progress, scan_path, std::move(fence));
  return walker.Walk(fd, 0);
}

}  // namespace movra
