#include "snapshot/Scanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Directory.h"
#include "platform/ScanFence.h"
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

class Walker {
 public:
  Walker(SnapshotIndex& index, const ScanCallback& progress, std::string_view root_key, ScanFence fence,
         const ScanExclusions& exclude)
      : index_(index), progress_(progress), key_(root_key), fence_(std::move(fence)), exclude_(exclude) {}

  // Records the folder dir (whose key is key_) and everything below it.
  // False when the callback cancelled.
  bool Walk(Directory& dir, std::size_t depth) {
    if (progress_ && !progress_(ScanProgress{key_, folders_, files_})) return false;
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
      std::optional<Directory> child = dir.OpenChild(level.names.data() + e.native);
      if (!child) continue;  // unreadable, vanished, or replaced by a link meanwhile
      const std::size_t key_length = key_.size();
      key_.append(name);
      key_.push_back('\\');
      go_on = Walk(*child, depth + 1);
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
    return go_on;
  }

 private:
  // Reads every entry of dir (but "." and "..") with its status into level,
  // sub-folders first and then files, each group in name order.
  void Read(Directory& dir, Level& level) {
    level.names.clear();
    level.entries.clear();
    std::optional<DateTime> folder_time;
    DirectoryEntry d;
    while (dir.Next(d, true)) {
      Entry e{};
      switch (d.status) {
        case EntryStatus::kTarget:
          // A link is taken for its target; a link to a folder is never entered.
          e.folder = d.kind == EntryKind::kFolder;
          e.enter = e.folder && !d.link && !fence_.Stops(d.id);
          e.size = e.folder ? 0 : d.size;
          e.modified = TimeOf(d.modified);
          break;
        case EntryStatus::kLinkOnly:
          // A dangling link (or a loop of links): a file of size 0 with the link's own time.
          e.folder = d.kind == EntryKind::kFolder;
          e.modified = TimeOf(d.modified);
          break;
        default:
          // A folder that may be listed but not entered: its names are all
          // there is to know, so they are kept with the folder's own time.
          if (!folder_time) {
            const std::optional<std::time_t> own = dir.Modified();
            folder_time = own ? TimeOf(*own) : ScanTimeOf(0);
          }
          e.folder = d.kind == EntryKind::kFolder;
          e.modified = *folder_time;
          break;
      }
      const char* name = d.name;
      const std::size_t length = d.length;
      e.native = static_cast<std::uint32_t>(level.names.size());
      level.names.append(name, length + 1);
      e.recorded = static_cast<std::uint32_t>(level.names.size());
      e.recordedLength = AppendRecordedName(level.names, std::string_view(name, length));
      if (!exclude_.Empty() && exclude_.Excludes(std::string_view(level.names.data() + e.recorded, e.recordedLength))) {
        level.names.resize(e.native);  // left out, and a folder's subtree with it
        continue;
      }
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
  ScanFence fence_;
  const ScanExclusions& exclude_;
  std::deque<Level> levels_;
  std::size_t folders_ = 0;
  std::size_t files_ = 0;
  ScanTimes times_;
};

}  // namespace

DateTime ScanTimeOf(std::time_t t) {
  static const DateTime kFirst = EncodeDateTime({1980, 1, 1, 0, 0, 0});
  static const DateTime kLast = EncodeDateTime({2107, 12, 31, 23, 59, 58});
  const std::optional<std::tm> local = LocalTimeOf(t);
  if (!local) return t < 0 ? kFirst : kLast;
  const std::tm& tm = *local;
  const int year = tm.tm_year + 1900;
  if (year < 1980) return kFirst;
  if (year > 2107) return kLast;
  // The DOS form keeps seconds in steps of two; a leap second stays in its minute.
  const int second = tm.tm_sec > 59 ? 58 : tm.tm_sec & ~1;
  return EncodeDateTime({year, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, second});
}

bool ScanFolder(SnapshotIndex& index, const DriveMap& drives, std::string_view given_path,
                const ScanCallback& progress, const ScanExclusions& exclude) {
  // The keys start with the scan path: "C:/x" records as "C:\x".
  const std::string scan_path = DrivePathWithBackslashes(given_path);
  const std::optional<std::string> native = drives.NativePathOf(scan_path);
  if (!native) return true;
  std::optional<Directory> root = Directory::Open(*native);
  if (!root) return true;  // an unreadable scan path records nothing
  ScanFence fence = ScanFenceOf(drives, DriveLetterOf(scan_path));
  const std::optional<FileId> root_id = root->Id();
  if (root_id && fence.IsPseudo(*root_id)) return true;  // nothing of a pseudo file system is recorded
  Walker walker(index, progress, scan_path, std::move(fence), exclude);
  return walker.Walk(*root, 0);
}

}  // namespace movra
