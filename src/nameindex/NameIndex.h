// The name index of a data folder, under its folder ".index": one merged
// segment of every disc, and a segment of its own for each disc changed
// since the merged one was written. The snapshots stay the only truth: a
// disc's postings are used only while its snapshot still has the stamp they
// were made from, and deleting the whole folder only makes searches read the
// snapshots again.
//
// One object serves one thread. A builder on another thread uses an object
// of its own: segment files are replaced atomically, and a reader that holds
// an older one still checks it against the snapshot before trusting it.
// Segments have one writer at a time, in any process: every call that
// writes takes the lock file ".index/lock" and, when another object holds
// it, writes nothing (a search never needs the index, and a later catch-up
// brings the disc in step).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "nameindex/IndexSegment.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"
#include "search/DiscList.h"
#include "search/NameMatcher.h"
#include "search/SearchResults.h"
#include "search/SnapshotSearch.h"
#include "snapshot/SnapshotObserver.h"

namespace movra {

// How bringing one disc's segment in step ended.
enum class SegmentUpdate {
  kCurrent,  // the segment already matched the snapshot
  kBuilt,    // the segment was (re)built
  kRemoved,  // there is no snapshot (any more); no segment is left
  kFailed,   // the segment could not be written; searches read the snapshot
  kBusy,     // another writer holds the index; nothing was written, searches read the snapshot
};

// A count of the index's state against the data folder.
struct IndexStatus {
  bool complete = false;          // a full build has finished once
  size_t snapshots = 0;           // snapshot files in the data folder
  size_t current = 0;             // of them, with postings that vouch for the file
  size_t stale = 0;               // with postings made from another version, or uncertain ones
  size_t missing = 0;             // without usable postings (none, damaged)
  size_t orphans = 0;             // discs in the index without a snapshot
  std::uint64_t index_bytes = 0;  // size of all segment files
  std::uint64_t snapshot_bytes = 0;
};

class NameIndex : public SnapshotObserver {
 public:
  // Up to this many changed discs get segments of their own; more make a
  // full pass, which writes one merged segment (when they are also more than
  // a sixteenth of all discs).
  static constexpr size_t kFewDiscs = 16;

  // The index of a data folder (native path with its trailing separator).
  // Its snapshot reads go through files, or through Fs() when none is given;
  // an object used on another thread gets a file system of its own, and a
  // full build also reads through it from helper threads.
  explicit NameIndex(std::string data_folder, FileSystem* files = nullptr);
  ~NameIndex() override;
  NameIndex(const NameIndex&) = delete;
  NameIndex& operator=(const NameIndex&) = delete;

  // The data folder.
  const std::string& DataFolder() const { return data_folder_; }
  // The index folder: data folder + ".index/".
  const std::string& IndexFolder() const { return index_folder_; }
  // The merged segment of every disc, in the index folder.
  std::string MergedPath() const { return index_folder_ + "discs.merged"; }
  // The segment of one disc changed since the merged one was written.
  std::string SegmentPath(std::string_view disc_name) const;
  // How long after its last change a snapshot's stamp does not yet vouch
  // for its content (2 s; a change within the file system clock's tick can
  // keep the stamp). Tests shorten it so that fresh files are trusted.
  void SetRecentWindow(std::int64_t nanoseconds) { recent_window_ns_ = nanoseconds; }
  // True once a full build has finished (and the index was not deleted since).
  bool Complete() const;
  // How long a writing call waits for another writer (none by default).
  void SetWriterWait(std::chrono::milliseconds wait) { writer_wait_ = wait; }
  // True when the last writing call wrote nothing because another writer held the index.
  bool WriterBusy() const { return writer_busy_; }

  // The discs that have a snapshot file in the data folder, sorted by name.
  std::vector<std::string> SnapshotDiscs() const;

  // Brings one disc in step with its snapshot file: when no segment vouches
  // for the file, the disc gets a segment of its own.
  SegmentUpdate UpdateDisc(std::string_view disc_name);
  // Removes the segment of one disc (its entry in the merged one is then
  // never used again: it vouches for no existing file).
  void RemoveDisc(std::string_view disc_name);

  // Called before each disc of a full update with (done, total); false stops.
  using UpdateProgress = std::function<bool(size_t done, size_t total)>;
  // Brings every snapshot in step and marks the index complete; false when
  // stopped or the merged segment could not be written. Few changed discs
  // (kFewDiscs) get segments of their own; when there is no merged segment
  // or many discs changed, the merged one is written anew and the discs'
  // own segments go.
  bool UpdateAll(const UpdateProgress& progress);
  // Deletes the index and builds it all again; false as UpdateAll.
  bool Rebuild(const UpdateProgress& progress);
  // Brings the discs that a search read whole in step: each on its own
  // when they are few, else with a full pass.
  void CatchUp(const std::vector<std::string>& discs);

  // The state of the index against the data folder.
  IndexStatus Status();

  // Starts a search of these discs whose required text has these keys
  // (QueryKeys): the candidate lines of the merged segment's discs are
  // asked for at once, so that on a cold disk their reads overlap.
  void BeginSearch(std::vector<std::uint32_t> keys, const std::vector<DiscListEntry>& discs);
  // Ends the search, closing what it kept open.
  void EndSearch();
  // Searches one disc with the index, as SearchDisc does with the file: the
  // same header, rows and outcome. Nothing (and nothing added) when no
  // segment vouches for the snapshot file.
  std::optional<DiscReport> SearchDisc(const DiscListEntry& disc, NameMatcher& matcher, SearchResults& results);

  // The snapshot of a disc was written: it is brought in step.
  void SnapshotWritten(std::string_view disc_name) override;
  // The snapshot of a disc was removed: so is its own segment.
  void SnapshotRemoved(std::string_view disc_name) override;

 private:
  // Holds the writers' lock for one public call; a nested call reuses it.
  class Writer {
   public:
    explicit Writer(NameIndex& index);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
    // True when this call may write.
    explicit operator bool() const { return entered_; }

   private:
    NameIndex& index_;
    bool entered_;
  };

  FileSystem& Files() const { return files_ != nullptr ? *files_ : Fs(); }
  std::string SnapshotPath(std::string_view disc_name) const;
  // The mark of a finished full build, in the index folder.
  std::string CompleteMarkPath() const { return index_folder_ + "complete"; }
  // The discs that have a segment of their own, sorted by name.
  std::vector<std::string> OwnSegmentDiscs() const;
  // Creates the index folder if it is missing.
  void MakeIndexFolder() const;
  // The native file name of a disc's snapshot, kept from one search to the next.
  const std::string& SnapshotFileName(const std::string& disc_name);
  // Maps the merged segment again when its file changed or went.
  void RefreshMerged();
  // The disc's own segment, mapped and checked; nullptr when there is none
  // or it is damaged. With reload an already mapped one is read again.
  const MappedSegment* DiscSegment(const std::string& disc_name, bool reload);
  // The segment that vouches for the snapshot with this stamp, and the
  // disc's entry in it; nothing when none does.
  std::optional<std::pair<const MappedSegment*, const SegmentDisc*>> Source(const std::string& disc_name,
                                                                       const SnapshotStamp& stamp);
  // Whether the merged segment vouches for the disc's snapshot with this stamp.
  bool MergedVouches(const std::string& disc_name, const SnapshotStamp& stamp) const;
  // Writes the merged segment of these discs; false when stopped or not written.
  bool BuildMerged(const std::vector<std::string>& discs, const UpdateProgress& progress);
  // Drops the disc segments without a snapshot or that the merged one covers.
  void DropCoveredSegments(const std::vector<std::string>& discs);

  std::string data_folder_;
  std::string index_folder_;
  FileSystem* files_;
  std::unique_ptr<MappedSegment> merged_;
  std::map<std::string, std::unique_ptr<MappedSegment>> own_;
  std::int64_t recent_window_ns_ = 2'000'000'000;
  std::vector<std::uint32_t> keys_;                                       // of the current search
  std::pair<std::uint32_t, std::uint32_t> merged_range_{0, 0};            // its discs' blocks in the merged segment
  std::optional<std::optional<std::vector<std::uint32_t>>> merged_blocks_;  // its candidates in the merged segment
  std::unordered_map<std::string, std::string> file_names_;  // disc name -> native snapshot file name
  bool searching_ = false;                                    // between BeginSearch and EndSearch
  std::unordered_map<std::string, ReadOnlyFile> prefetched_;  // disc name -> its snapshot, open since BeginSearch
  std::string read_buffer_;                          // the lines read of one disc
  FileLock writer_lock_;                             // held while a writing call runs
  int writer_depth_ = 0;                             // writing calls running, nested
  std::chrono::milliseconds writer_wait_{0};
  bool writer_busy_ = false;
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
