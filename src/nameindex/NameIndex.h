// The name index of a data folder: one segment file per disc under the
// folder ".index" of the data folder, made from that disc's snapshot file.
// The snapshots stay the only truth: a segment is used only while the
// snapshot still has the stamp the segment was made from, and deleting the
// whole folder only makes searches read the snapshots again.
//
// One object serves one thread. A builder on another thread uses an object
// of its own: segment files are replaced atomically, and a reader that holds
// an older one still checks it against the snapshot before trusting it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nameindex/IndexSegment.h"
#include "platform/FileSystem.h"
#include "search/DiscList.h"
#include "search/NameMatcher.h"
#include "search/SearchResults.h"
#include "search/SnapshotSearch.h"
#include "workflows/SnapshotObserver.h"

namespace movra {

// How bringing one disc's segment in step ended.
enum class SegmentUpdate {
  kCurrent,  // the segment already matched the snapshot
  kBuilt,    // the segment was (re)built
  kRemoved,  // there is no snapshot (any more); no segment is left
  kFailed,   // the segment could not be written; searches read the snapshot
};

// A count of the index's state against the data folder.
struct IndexStatus {
  bool complete = false;          // a full build has finished once
  size_t snapshots = 0;           // snapshot files in the data folder
  size_t current = 0;             // of them, with a segment that vouches for the file
  size_t stale = 0;               // with a segment made from another version, or an uncertain one
  size_t missing = 0;             // without a usable segment (none, damaged)
  size_t orphans = 0;             // segments without a snapshot
  std::uint64_t index_bytes = 0;  // size of all segment files
  std::uint64_t snapshot_bytes = 0;
};

class NameIndex : public SnapshotObserver {
 public:
  // The index of a data folder (GBK path with its trailing separator). Its
  // reads and writes go through files, or through Fs() when none is given;
  // an object used on another thread gets a file system of its own.
  explicit NameIndex(std::string data_folder, FileSystem* files = nullptr);
  ~NameIndex() override;
  NameIndex(const NameIndex&) = delete;
  NameIndex& operator=(const NameIndex&) = delete;

  // The data folder.
  const std::string& DataFolder() const { return data_folder_; }
  // The index folder: data folder + ".index/".
  const std::string& IndexFolder() const { return index_folder_; }
  // How long after its last change a snapshot's stamp does not yet vouch
  // for its content (2 s; a change within the file system clock's tick can
  // keep the stamp). Tests shorten it so that fresh files are trusted.
  void SetRecentWindow(std::int64_t nanoseconds) { recent_window_ns_ = nanoseconds; }
  // True once a full build has finished (and the index was not deleted since).
  bool Complete() const;

  // The discs that have a snapshot file in the data folder, sorted by name.
  std::vector<std::string> SnapshotDiscs() const;

  // Brings one disc's segment in step with its snapshot file.
  SegmentUpdate UpdateDisc(std::string_view disc_name);
  // Removes one disc's segment.
  void RemoveDisc(std::string_view disc_name);

  // Called before each disc of a full update with (done, total); false stops.
  using UpdateProgress = std::function<bool(size_t done, size_t total)>;
  // Brings every snapshot's segment in step, drops segments without a
  // snapshot and then marks the index complete; false when stopped.
  bool UpdateAll(const UpdateProgress& progress);
  // Deletes every segment and builds them all again; false when stopped.
  bool Rebuild(const UpdateProgress& progress);

  // The state of every segment against the data folder.
  IndexStatus Status();

  // Searches one disc with its segment, as SearchDisc does with the file:
  // the same header, rows and outcome. Nothing (and nothing added) when the
  // segment cannot vouch for the snapshot file; keys are QueryTrigrams of
  // the matcher's required text.
  std::optional<DiscReport> SearchDisc(const DiscListEntry& disc, NameMatcher& matcher,
                                       const std::vector<std::uint32_t>& keys, SearchResults& results);

  // The snapshot of a disc was written: its segment is brought in step.
  void SnapshotWritten(std::string_view disc_name) override;
  // The snapshot of a disc was removed: so is its segment.
  void SnapshotRemoved(std::string_view disc_name) override;

 private:
  struct Mapping;

  FileSystem& Files() const { return files_ != nullptr ? *files_ : Fs(); }
  std::string SegmentPath(std::string_view disc_name) const;
  std::string SnapshotPath(std::string_view disc_name) const;
  // The segment of a disc, mapped and checked; nullptr when there is none
  // or it is damaged. With reload an already mapped one is read again.
  const SegmentView* Segment(const std::string& disc_name, bool reload);
  void Forget(const std::string& disc_name);

  std::string data_folder_;
  std::string index_folder_;
  FileSystem* files_;
  std::map<std::string, std::unique_ptr<Mapping>> mapped_;
  std::int64_t recent_window_ns_ = 2'000'000'000;
};

// Searches the discs as SearchDiscs does, with the same rows and reports.
// With an index, each disc whose segment vouches for its snapshot is
// answered from the segment and only its candidate lines are read; the
// others, and every search whose text has no three bytes that each match
// must hold, read the snapshot files. Discs read because their segment was
// missing or stale are added to stale (when given) for the caller to update.
SearchEnd SearchDiscs(const std::string& data_folder, const std::vector<DiscListEntry>& discs,
                      NameMatcher& matcher, SearchResults& results, const SearchCallback& after_each,
                      NameIndex* index, std::vector<std::string>* stale = nullptr);

}  // namespace movra
