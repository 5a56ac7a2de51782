#include "snapshot/SnapshotIndex.h"

#include <algorithm>
#include <new>

namespace movra {

namespace {

bool LengthOk(std::string_view text) {
  return !text.empty() && text.size() <= SnapshotIndex::kMaxLength;
}

}  // namespace

SnapshotIndex::SnapshotIndex(const SnapshotIndex& other)
    : folders_(other.folders_), records_(other.records_), names_(other.names_) {}

SnapshotIndex::SnapshotIndex(SnapshotIndex&& other) noexcept
    : folders_(std::move(other.folders_)),
      records_(std::move(other.records_)),
      names_(std::move(other.names_)) {
  other.Clear();
}

SnapshotIndex& SnapshotIndex::operator=(const SnapshotIndex& other) {
  if (this != &other) {
    SnapshotIndex copy(other);
    *this = std::move(copy);
  }
  return *this;
}

SnapshotIndex& SnapshotIndex::operator=(SnapshotIndex&& other) noexcept {
  if (this != &other) {
    folders_ = std::move(other.folders_);
    records_ = std::move(other.records_);
    names_ = std::move(other.names_);
    last_ = folders_.end();
    other.Clear();
  }
  return *this;
}

void SnapshotIndex::Clear() {
  folders_.clear();
  records_.clear();
  records_.shrink_to_fit();
  // Give the arena back too: the next snapshot may be far smaller.
  std::string().swap(names_);
  last_ = folders_.end();
}

int SnapshotIndex::AddFolder(std::string_view key, std::string_view name, DateTime modified,
                             std::int64_t size) {
  return Insert(key, name, modified, false, size);
}

int SnapshotIndex::AddFile(std::string_view key, std::string_view name, DateTime modified,
                           std::int64_t size) {
  return Insert(key, name, modified, true, size);
}

int SnapshotIndex::Insert(std::string_view key, const SnapshotEntry& entry) {
  return Insert(key, entry.name, entry.modified, entry.isFile, entry.size);
}

int SnapshotIndex::Insert(std::string_view key, std::string_view name, DateTime modified,
                          bool isFile, std::int64_t size) {
  if (!LengthOk(key) || !LengthOk(name)) return 0;

  const std::size_t arenaSize = names_.size();
  const std::size_t position = records_.size();
  bool newFolder = false;
  bool recordAdded = false;
  Folders::iterator folder = folders_.end();
  try {
    // Scans and snapshot files bring the entries of one folder together, so
    // the folder of the previous insertion is usually the one wanted.
    if (last_ != folders_.end() && last_->first == key) {
      folder = last_;
    } else {
      folder = folders_.find(key);
      if (folder == folders_.end()) {
        folder = folders_.emplace(std::string(key), std::vector<Run>{}).first;
        newFolder = true;
      }
    }
    names_.append(name);
    records_.push_back(Record{modified, size, arenaSize, name.size(), isFile});
    recordAdded = true;
    std::vector<Run>& runs = folder->second;
    if (!runs.empty() && runs.back().start + runs.back().count == position) {
      ++runs.back().count;
    } else {
      runs.push_back(Run{position, 1});
    }
  } catch (const std::bad_alloc&) {
    // Leave the index as it was before the call.
    if (recordAdded) records_.pop_back();
    if (names_.size() > arenaSize) names_.resize(arenaSize);
    if (newFolder && folder != folders_.end() && folder->second.empty()) {
      if (last_ == folder) last_ = folders_.end();
      folders_.erase(folder);
    }
    return -1;
  }
  last_ = folder;
  return 0;
}

template <typename Item, typename MakeItem>
bool SnapshotIndex::List(std::string_view key, bool files, std::vector<Item>& out,
                         MakeItem make) const {
  if (records_.empty()) return false;
  out.clear();
  const auto folder = folders_.find(key);
  if (folder == folders_.end()) return true;
  for (const Run& run : folder->second) {
    for (std::size_t i = run.start; i < run.start + run.count; ++i) {
      const Record& r = records_[i];
      if ((r.isFile != 0) == files) out.push_back(make(r));
    }
  }
  return true;
}

bool SnapshotIndex::ListFolders(std::string_view key, std::vector<FolderItem>& out) const {
  return List(key, false, out,
              [this](const Record& r) { return FolderItem{std::string(NameOf(r)), r.modified}; });
}

bool SnapshotIndex::ListFiles(std::string_view key, std::vector<FileItem>& out) const {
  return List(key, true, out, [this](const Record& r) {
    return FileItem{std::string(NameOf(r)), r.modified, r.size};
  });
}

std::string SnapshotIndex::DriveOf() const {
  if (records_.empty()) return {};
  const std::string& key = begin().folder_->first;
  const std::size_t colon = key.find(':');
  if (colon == std::string::npos) return {};
  return key.substr(0, colon + 1);
}

std::string SnapshotIndex::RootFolder() const {
  if (records_.empty()) return {};
  // Every entry of a folder has the same key, so one look per folder suffices;
  // walking greatest first and replacing only on fewer backslashes keeps the
  // greatest key on a tie.
  std::size_t best = kMaxLength;
  const std::string* result = nullptr;
  for (const auto& [key, runs] : folders_) {
    if (runs.empty()) continue;
    const auto slashes = static_cast<std::size_t>(std::count(key.begin(), key.end(), '\\'));
    if (slashes > 0 && slashes < best) {
      best = slashes;
      result = &key;
    }
  }
  return result ? *result : std::string();
}

SnapshotIndex::const_iterator SnapshotIndex::begin() const {
  auto folder = folders_.begin();
  while (folder != folders_.end() && folder->second.empty()) ++folder;
  return const_iterator(this, folder);
}

SnapshotIndex::const_iterator SnapshotIndex::end() const {
  return const_iterator(this, folders_.end());
}

SnapshotEntryView SnapshotIndex::const_iterator::operator*() const {
  const Record& r = index_->records_[folder_->second[run_].start + pos_];
  return SnapshotEntryView{folder_->first, index_->NameOf(r), r.modified, r.isFile != 0, r.size};
}

SnapshotIndex::const_iterator& SnapshotIndex::const_iterator::operator++() {
  const std::vector<Run>& runs = folder_->second;
  if (++pos_ < runs[run_].count) return *this;
  pos_ = 0;
  if (++run_ < runs.size()) return *this;
  run_ = 0;
  do {
    ++folder_;
  } while (folder_ != index_->folders_.end() && folder_->second.empty());
  return *this;
}

}  // namespace movra
