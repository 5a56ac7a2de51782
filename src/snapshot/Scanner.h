// Walks the folder tree of a medium (or of any folder) into a snapshot index.
//
// Entries are filed under drive-path keys ("E:\VIDEO\"), but the walk descends
// by native names, so a folder whose recorded name had to change (a character
// GBK cannot hold, a backslash in the name) is still read whole.
#pragma once

#include <cstddef>
#include <ctime>
#include <functional>
#include <string_view>

#include "platform/DateTime.h"
#include "platform/DriveMap.h"
#include "snapshot/ScanExclusions.h"
#include "snapshot/SnapshotIndex.h"

namespace movra {

// Where a scan is: the key of the folder just entered and the entries recorded so far.
struct ScanProgress {
  std::string_view folder;  // key of the folder being entered
  std::size_t folders;      // folders recorded so far
  std::size_t files;        // files recorded so far
};

// Called once per folder entered; returning false cancels the scan.
using ScanCallback = std::function<bool(const ScanProgress&)>;

// Records the tree under scan_path (a drive path ending with a backslash).
// Per folder: its subfolders, each followed at once by its whole subtree,
// then its files; each group in the order NTFS and CD file systems list
// names (ASCII letters without regard to case, other bytes by value), so
// snapshots made here list folders like those made elsewhere. Links to
// folders, the roots of other lettered drives and pseudo file systems (/proc,
// /sys ...) are recorded but not entered. Unreadable folders are skipped; the
// entries of a folder that can be listed but not entered are recorded by name
// (size 0, the folder's time). Entries exclude names are not recorded, nor
// is anything below an excluded folder. Returns false when cancelled.
bool ScanFolder(SnapshotIndex& index, const DriveMap& drives, std::string_view scan_path,
                const ScanCallback& progress = {}, const ScanExclusions& exclude = {});

// A last-write time as a scan records it: local time in the 2-second DOS
// form, odd seconds rounded down, clamped to 1980-01-01 00:00:00 ...
// 2107-12-31 23:59:58.
DateTime ScanTimeOf(std::time_t t);

// ScanTimeOf with the last answer kept: entries of one folder or disc often
// share a time, and the conversion goes through the local time zone.
class ScanTimes {
 public:
  // The recorded time of t.
  DateTime Of(std::time_t t) {
    if (!known_ || t != last_) {
      last_ = t;
      value_ = ScanTimeOf(t);
      known_ = true;
    }
    return value_;
  }

 private:
  bool known_ = false;
  std::time_t last_ = 0;
  DateTime value_ = 0;
};

}  // namespace movra
