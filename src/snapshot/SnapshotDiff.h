// What changed between two snapshots of one medium: entries added, removed,
// and changed (same folder, name and kind, but another size or time). Both
// indexes are walked once, folder by folder, in their key order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "snapshot/SnapshotIndex.h"

namespace movra {

// The kind of one difference.
enum class ChangeKind { kAdded, kRemoved, kChanged };

// One difference. The texts are views into the two indexes and stay valid
// while neither changes.
struct SnapshotChange {
  ChangeKind kind = ChangeKind::kAdded;
  std::string_view key;   // folder that holds the entry
  std::string_view name;  // the entry's own name
  bool isFile = false;    // a file, or a folder
  std::int64_t oldSize = 0;   // in the old snapshot (not for kAdded)
  std::int64_t newSize = 0;   // in the new snapshot (not for kRemoved)
  DateTime oldModified = 0;   // in the old snapshot (not for kAdded)
  DateTime newModified = 0;   // in the new snapshot (not for kRemoved)
};

// Every difference with the counts of each kind.
struct SnapshotDiff {
  std::vector<SnapshotChange> changes;  // greatest key first; per folder, folders then files by name
  std::size_t added = 0;                // entries only in the new snapshot
  std::size_t removed = 0;              // entries only in the old snapshot
  std::size_t changed = 0;              // entries in both whose size or time differ
  // True when the two snapshots hold the same entries.
  bool Empty() const { return changes.empty(); }
};

// Calls visit for each difference between old_index and new_index. Times
// differing by less than a second count as equal: a snapshot file keeps
// whole seconds only.
void VisitSnapshotChanges(const SnapshotIndex& old_index, const SnapshotIndex& new_index,
                          const std::function<void(const SnapshotChange&)>& visit);

// Every difference between old_index and new_index, with counts.
SnapshotDiff DiffSnapshots(const SnapshotIndex& old_index, const SnapshotIndex& new_index);

}  // namespace movra
