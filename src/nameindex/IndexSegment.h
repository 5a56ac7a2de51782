// One disc's part of the name index: trigram posting lists over the entry
// names of its snapshot file, pointing at blocks of consecutive lines, with
// the stamp of the snapshot it was made from and a checksum of its own.
//
// Layout (little-endian): a fixed header; the byte offset of every block in
// the snapshot's text; a table of (trigram key, offset of its postings)
// sorted by key; the postings, each list the ascending block numbers as
// varint deltas; last, a 64-bit hash of everything before it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace movra {

// What identifies one version of a snapshot file on disk. A file rewritten
// or replaced by any means gets a new change time, so comparing stamps
// detects every change that is not also hidden by the clock's granularity;
// segments made within that window are marked uncertain (see IsRecent).
struct SnapshotStamp {
  std::uint64_t size = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t mtime_ns = 0;
  std::int64_t ctime_ns = 0;
  // Equal when every field is.
  bool operator==(const SnapshotStamp&) const = default;
};

// The stamp of the file at a native path, or nothing when it is no readable regular file.
std::optional<SnapshotStamp> StampOfFile(const std::string& native_path);

// True when the file changed less than window_ns ago, so that a further
// change within the clock's granularity could leave the same stamp.
bool IsRecent(const SnapshotStamp& stamp, std::int64_t window_ns);

// The 64-bit content hash the index uses.
std::uint64_t ContentHash(std::string_view bytes);

// The text part of a snapshot file: a byte 0x1A ends it, as a text-mode read sees it.
std::string_view SnapshotText(std::string_view bytes);

// Builds the segment of a snapshot file's bytes, read under stamp. With
// uncertain set the stamp alone does not vouch for the content.
std::string BuildSegment(std::string_view file_bytes, const SnapshotStamp& stamp, bool uncertain);

// A checked, read-only view of a segment's bytes (which must outlive it).
class SegmentView {
 public:
  // The view, or nothing when the bytes are no complete, intact segment.
  static std::optional<SegmentView> Open(std::string_view bytes);

  // The stamp of the snapshot the segment was made from.
  const SnapshotStamp& Stamp() const { return stamp_; }
  // The content hash of that snapshot.
  std::uint64_t SnapshotHash() const { return content_hash_; }
  // True when the stamp alone does not vouch for the content.
  bool Uncertain() const { return uncertain_; }
  // Number of line blocks.
  std::uint32_t BlockCount() const { return block_count_; }
  // Number of trigram keys.
  std::uint32_t KeyCount() const { return key_count_; }

  // The byte ranges [begin, end) of the snapshot's text holding every line
  // whose name may contain all keys (ascending, adjacent blocks merged), or
  // nothing when a posting list is damaged.
  std::optional<std::vector<std::pair<std::uint64_t, std::uint64_t>>> CandidateRanges(
      const std::vector<std::uint32_t>& keys) const;

 private:
  SegmentView() = default;
  std::uint64_t BlockOffset(std::uint32_t block) const;
  std::optional<std::pair<size_t, size_t>> PostingSpan(std::uint32_t key) const;
  bool Postings(std::pair<size_t, size_t> span, std::vector<std::uint32_t>& blocks) const;

  std::string_view bytes_;
  SnapshotStamp stamp_;
  std::uint64_t content_hash_ = 0;
  bool uncertain_ = false;
  std::uint32_t block_count_ = 0;
  std::uint32_t key_count_ = 0;
  const char* block_table_ = nullptr;
  const char* key_table_ = nullptr;
  const char* postings_ = nullptr;
  std::uint64_t postings_size_ = 0;
};

}  // namespace movra
