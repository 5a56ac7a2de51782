// The in-memory snapshot of one medium: every folder and file, filed under the
// path of the folder that contains it (the key, e.g. "E:\VIDEO\").
//
// Keys are compared as unsigned bytes, a proper prefix being the smaller, and
// iterate from the greatest to the smallest. Entries of one key keep their
// insertion order; duplicates are kept. Storage is compact: each key is held
// once per folder, entries are small records kept in insertion order (a folder
// holds runs of them), and names live in one arena.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"

namespace movra {

// One folder or file of a scanned medium.
struct SnapshotEntry {
  std::string name;        // own name, no path; 1..255 bytes
  DateTime modified = 0;   // last-write time, local time
  bool isFile = false;     // false for a folder, true for a file
  std::int64_t size = 0;   // size in bytes (0 for folders read from a file)
};

// A folder as a listing returns it.
struct FolderItem {
  std::string name;       // own name
  DateTime modified = 0;  // last-write time
};

// A file as a listing returns it.
struct FileItem {
  std::string name;        // own name
  DateTime modified = 0;   // last-write time
  std::int64_t size = 0;   // size in bytes
};

// One entry seen through iteration; the views stay valid until the index changes.
struct SnapshotEntryView {
  std::string_view key;    // path of the containing folder
  std::string_view name;   // own name
  DateTime modified = 0;   // last-write time
  bool isFile = false;     // false for a folder, true for a file
  std::int64_t size = 0;   // size in bytes
};

// The snapshot of at most one medium.
class SnapshotIndex {
  struct Record;  // compact per-entry record, defined below
  // Consecutive records of one folder in the record store.
  struct Run {
    std::size_t start;
    std::size_t count;
  };
  using Folders = std::map<std::string, std::vector<Run>, std::greater<>>;

 public:
  // Longest key or name accepted, in bytes.
  static constexpr std::size_t kMaxLength = 255;

  // An empty index.
  SnapshotIndex() = default;
  // Copies every entry.
  SnapshotIndex(const SnapshotIndex& other);
  // Takes over every entry; other is left empty.
  SnapshotIndex(SnapshotIndex&& other) noexcept;
  // Replaces the content with a copy of other's.
  SnapshotIndex& operator=(const SnapshotIndex& other);
  // Replaces the content with other's; other is left empty.
  SnapshotIndex& operator=(SnapshotIndex&& other) noexcept;

  // Removes every entry.
  void Clear();
  // Files a folder under key; 0, or -1 when storage fails. Bad lengths are skipped (0).
  int AddFolder(std::string_view key, std::string_view name, DateTime modified, std::int64_t size);
  // Files a file under key; 0, or -1 when storage fails. Bad lengths are skipped (0).
  int AddFile(std::string_view key, std::string_view name, DateTime modified, std::int64_t size);
  // Files a complete entry under key, with the caller's isFile; as AddFolder.
  int Insert(std::string_view key, const SnapshotEntry& entry);
  // Insert without building a SnapshotEntry first (used by the reader).
  int Insert(std::string_view key, std::string_view name, DateTime modified, bool isFile,
             std::int64_t size);

  // Folders filed exactly under key, in insertion order; false (list untouched) when empty.
  bool ListFolders(std::string_view key, std::vector<FolderItem>& out) const;
  // Files filed exactly under key, in insertion order; false (list untouched) when empty.
  bool ListFiles(std::string_view key, std::vector<FileItem>& out) const;

  // The greatest key up to and including its first colon ("E:"); empty when none.
  std::string DriveOf() const;
  // The key with the fewest backslashes (the greatest on a tie); empty when none.
  std::string RootFolder() const;
  // Number of entries.
  std::size_t Count() const { return records_.size(); }
  // True when the index holds no entry.
  bool Empty() const { return records_.empty(); }

  // Iterates all entries, greatest key first, entries of one key in insertion order.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = SnapshotEntryView;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = SnapshotEntryView;

    const_iterator() = default;
    // The entry under the iterator.
    SnapshotEntryView operator*() const;
    // Steps to the next entry.
    const_iterator& operator++();
    // Steps to the next entry, returning the previous position.
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++*this;
      return old;
    }
    // Same position.
    bool operator==(const const_iterator& other) const {
      return folder_ == other.folder_ && run_ == other.run_ && pos_ == other.pos_;
    }

   private:
    friend class SnapshotIndex;
    const_iterator(const SnapshotIndex* index, Folders::const_iterator folder)
        : index_(index), folder_(folder) {}
    const SnapshotIndex* index_ = nullptr;
    Folders::const_iterator folder_{};
    std::size_t run_ = 0;  // run within the folder
    std::size_t pos_ = 0;  // record within the run
  };

  // First entry (greatest key).
  const_iterator begin() const;
  // Past the last entry.
  const_iterator end() const;

 private:
  // 24 bytes: a snapshot can hold millions of these.
  struct Record {
    DateTime modified;
    std::int64_t size;
    std::uint64_t nameOffset : 48;  // start of the name in names_
    std::uint64_t nameLength : 8;   // 1..255
    std::uint64_t isFile : 1;
  };

  std::string_view NameOf(const Record& r) const {
    return std::string_view(names_).substr(r.nameOffset, r.nameLength);
  }

  template <typename Item, typename MakeItem>
  bool List(std::string_view key, bool files, std::vector<Item>& out, MakeItem make) const;

  Folders folders_;
  std::deque<Record> records_;  // every entry, in insertion order
  std::string names_;           // all names, back to back
  Folders::iterator last_ = folders_.end();  // folder of the previous insertion
};

}  // namespace movra
