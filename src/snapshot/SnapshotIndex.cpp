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
    : folders_(other.folders_), names_(other.names_), count_(other.count_) {}

SnapshotIndex::SnapshotIndex(SnapshotIndex&& other) noexcept
    : folders_(std::move(other.folders_)), names_(std::move(other.names_)), count_(other.count_) {
  other.Clear();
}

SnapshotIndex& SnapshotIndex::operator=(const SnapshotIndex& other) {
  if (this != &other) {
    folders_ = other.folders_;
    names_ = other.names_;
    count_ = other.count_;
    last_ = folders_.end();
  }
  return *this;
}

SnapshotIndex& SnapshotIndex::operator=(SnapshotIndex&& other) noexcept {
  if (this != &other) {
    folders_ = std::move(other.folders_);
    names_ = std::move(other.names_);
    count_ = other.count_;
    last_ = folders_.end();
    other.Clear();
  }
  return *this;
}

void SnapshotIndex::Clear() {
  folders_.clear();
  // Give the arena back too: the next snapshot may be far smaller.
  std::string().swap(names_);
  count_ = 0;
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
  bool newFolder = false;
  Folders::iterator folder = folders_.end();
  try {
    // Scans and snapshot files bring the entries of one folder together, so
    // the folder of the previous insertion is usually the one wanted.
    if (last_ != folders_.end() && last_->first == key) {
      folder = last_;
    } else {
      folder = folders_.find(key);
      if (folder == folders_.end()) {
        folder = folders_.emplace(std::string(key), Records{}).first;
        newFolder = true;
      }
    }
    names_.append(name);
    folder->second.push_back(Record{arenaSize, modified, size,
                                    static_cast<std::uint8_t>(name.size()), isFile});
  } catch (const std::bad_alloc&) {
    // Leave the index as it was before the call.
    if (names_.size() > arenaSize) names_.resize(arenaSize);
    if (newFolder && folder != folders_.end() && folder->second.empty()) {
      if (last_ == folder) last_ = folders_.end();
      folders_.erase(folder);
    }
    return -1;
  }
  last_ = folder;
  ++count_;
  return 0;
}

bool SnapshotIndex::ListFolders(std::string_view key, std::vector<FolderItem>& out) const {
  if (count_ == 0) return false;
  out.clear();
  auto folder = folders_.find(key);
  if (folder == folders_.end()) return true;
  for (const Record& r : folder->second) {
    if (!r.isFile) out.push_back(FolderItem{std::string(NameOf(r)), r.modified});
  }
  return true;
}

bool SnapshotIndex::ListFiles(std::string_view key, std::vector<FileItem>& out) const {
  if (count_ == 0) return false;
  out.clear();
  auto folder = folders_.find(key);
  if (folder == folders_.end()) return true;
  for (const Record& r : folder->second) {
    if (r.isFile) out.push_back(FileItem{std::string(NameOf(r)), r.modified, r.size});
  }
  return true;
}

std::string SnapshotIndex::DriveOf() const {
  if (count_ == 0) return {};
  const std::string& key = begin().folder_->first;
  const std::size_t colon = key.find(':');
  if (colon == std::string::npos) return {};
  return key.substr(0, colon + 1);
}

std::string SnapshotIndex::RootFolder() const {
  if (count_ == 0) return {};
  // Every entry of a folder has the same key, so one look per folder suffices;
  // walking greatest first and replacing only on fewer backslashes keeps the
  // greatest key on a tie.
  std::size_t best = kMaxLength;
  const std::string* result = nullptr;
  for (const auto& [key, records] : folders_) {
    if (records.empty()) continue;
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
  return const_iterator(this, folder, 0);
}

SnapshotIndex::const_iterator SnapshotIndex::end() const {
  return const_iterator(this, folders_.end(), 0);
}

SnapshotEntryView SnapshotIndex::const_iterator::operator*() const {
  const Record& r = folder_->second[pos_];
  return SnapshotEntryView{folder_->first, index_->NameOf(r), r.modified, r.isFile, r.size};
}

SnapshotIndex::const_iterator& SnapshotIndex::const_iterator::operator++() {
  if (++pos_ < folder_->second.size()) return *this;
  pos_ = 0;
  do {
    ++folder_;
  } while (folder_ != index_->folders_.end() && folder_->second.empty());
  return *this;
}

}  // namespace movra
