#include "snapshot/SnapshotDiff.h"

#include <algorithm>
#include <cmath>

namespace movra {
namespace {

// Less than a second, in days.
constexpr double kTimeTolerance = 0.5 / 86400.0;

// The entries of one folder of one index, sorted for the merge.
class FolderCursor {
 public:
  explicit FolderCursor(const SnapshotIndex& index) : it_(index.begin()), end_(index.end()) {}

  // True while folders remain.
  bool More() const { return it_ != end_; }
  // The key of the next folder.
  std::string_view NextKey() const { return (*it_).key; }

  // Takes the next folder's entries: folders first, then files, each by name.
  const std::vector<SnapshotEntryView>& Take() {
    entries_.clear();
    const std::string_view key = (*it_).key;
    for (; it_ != end_; ++it_) {
      const SnapshotEntryView e = *it_;
      if (e.key != key) break;
      entries_.push_back(e);
    }
    std::stable_sort(entries_.begin(), entries_.end(), Before);
    return entries_;
  }

  // The merge order within a folder.
  static bool Before(const SnapshotEntryView& a, const SnapshotEntryView& b) {
    if (a.isFile != b.isFile) return !a.isFile;
    return a.name < b.name;
  }

 private:
  SnapshotIndex::const_iterator it_;
  SnapshotIndex::const_iterator end_;
  std::vector<SnapshotEntryView> entries_;
};

SnapshotChange ChangeOf(ChangeKind kind, const SnapshotEntryView* old_entry, const SnapshotEntryView* new_entry) {
  const SnapshotEntryView& e = old_entry ? *old_entry : *new_entry;
  SnapshotChange c;
  c.kind = kind;
  c.key = e.key;
  c.name = e.name;
  c.isFile = e.isFile;
  if (old_entry) {
    c.oldSize = old_entry->size;
    c.oldModified = old_entry->modified;
  }
  if (new_entry) {
    c.newSize = new_entry->size;
    c.newModified = new_entry->modified;
  }
  return c;
}

// Merges the sorted entries of one folder present in both snapshots.
void MergeFolder(const std::vector<SnapshotEntryView>& olds, const std::vector<SnapshotEntryView>& news,
                 const std::function<void(const SnapshotChange&)>& visit) {
  std::size_t i = 0, j = 0;
  while (i < olds.size() || j < news.size()) {
    if (j == news.size() || (i < olds.size() && FolderCursor::Before(olds[i], news[j]))) {
      visit(ChangeOf(ChangeKind::kRemoved, &olds[i++], nullptr));
    } else if (i == olds.size() || FolderCursor::Before(news[j], olds[i])) {
      visit(ChangeOf(ChangeKind::kAdded, nullptr, &news[j++]));
    } else {
      const SnapshotEntryView& o = olds[i++];
      const SnapshotEntryView& n = news[j++];
      if (o.size != n.size || std::fabs(o.modified - n.modified) >= kTimeTolerance) {
        visit(ChangeOf(ChangeKind::kChanged, &o, &n));
      }
    }
  }
}

}  // namespace

void VisitSnapshotChanges(const SnapshotIndex& old_index, const SnapshotIndex& new_index,
                          const std::function<void(const SnapshotChange&)>& visit) {
  FolderCursor olds(old_index);
  FolderCursor news(new_index);
  static const std::vector<SnapshotEntryView> kNone;
  // Keys come greatest first in both indexes, so one pass pairs the folders.
  while (olds.More() || news.More()) {
    if (!news.More() || (olds.More() && olds.NextKey() > news.NextKey())) {
      MergeFolder(olds.Take(), kNone, visit);
    } else if (!olds.More() || news.NextKey() > olds.NextKey()) {
      MergeFolder(kNone, news.Take(), visit);
    } else {
      MergeFolder(olds.Take(), news.Take(), visit);
    }
  }
}

SnapshotDiff DiffSnapshots(const SnapshotIndex& old_index, const SnapshotIndex& new_index) {
  SnapshotDiff diff;
  VisitSnapshotChanges(old_index, new_index, [&diff](const SnapshotChange& c) {
    diff.changes.push_back(c);
    ++(c.kind == ChangeKind::kAdded ? diff.added : c.kind == ChangeKind::kRemoved ? diff.removed : diff.changed);
  });
  return diff;
}

}  // namespace movra
