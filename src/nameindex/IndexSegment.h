// A segment of the name index: trigram posting lists over the entry names of
// one or more snapshot files, pointing at 8 KiB blocks of their text, with
// the stamp of each snapshot it was made from. The merged segment holds every
// disc; a disc changed since it was written gets a segment of its own.
//
// Layout (little-endian): the body, then the head, then the trailer.
// - body: the postings, each list ascending block numbers as varints (the
//   first one whole, the others as differences); skip entries into the
//   lists, (block u32, offset in the list u32) each; the keys (u32,
//   ascending); the offset of each key's list and of its skip entries, each
//   array with one more for the end (u64). Blocks are numbered across the
//   discs in disc order.
// - head: a fixed header, the disc table, the common keys (their number
//   u32, then the keys u32 ascending: keys without a list, taken to be in
//   every block), a 64-bit hash of every 64 KiB page of the body, and last
//   a hash of the head before it.
// - trailer: the head's size (u64) and the magic.
// A search reads the head whole and only the body pages it needs, each
// checked against its hash before it is trusted.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/FileStamp.h"
#include "platform/MappedFile.h"

namespace movra {

// Bytes of snapshot text per block: a block is the lines that start in it.
constexpr unsigned kBlockShift = 13;

// What identifies one version of a snapshot file on disk. A file rewritten
// or replaced by any means gets a new change time, so comparing stamps
// detects every change that is not also hidden by the clock's granularity;
// segments made within that window are marked uncertain (see IsRecent).
using SnapshotStamp = FileStamp;

// True when the file changed less than window_ns ago, so that a further
// change within the clock's granularity could leave the same stamp.
bool IsRecent(const SnapshotStamp& stamp, std::int64_t window_ns);

// The text part of a snapshot file: a byte 0x1A ends it, as a text-mode read sees it.
std::string_view SnapshotText(std::string_view bytes);

// One disc of a segment.
struct SegmentDisc {
  std::string name;              // GBK
  SnapshotStamp stamp;           // of the snapshot file the postings were made from
  bool uncertain = false;        // the stamp alone does not vouch for the content
  std::uint64_t text_size = 0;   // bytes of the snapshot's text
  std::uint32_t first_block = 0; // its first block in the segment's numbering
  // Number of blocks of its text.
  std::uint32_t BlockCount() const {
    return static_cast<std::uint32_t>((text_size + (1u << kBlockShift) - 1) >> kBlockShift);
  }
  // True when the segment may answer for the file with this stamp.
  bool Vouches(const SnapshotStamp& current) const { return !uncertain && stamp == current; }
};

// A checked, read-only view of a segment's bytes (which must outlive it).
// Reading it is not thread-safe: pages are checked and remembered as used.
class SegmentView {
 public:

  // The view, or nothing when the head is incomplete or damaged.
  static std::optional<SegmentView> Open(std::string_view bytes);

  // The discs, sorted by name.
  const std::vector<SegmentDisc>& Discs() const { return discs_; }
  // The disc of that name, or nothing.
  const SegmentDisc* FindDisc(std::string_view name) const;
  // Number of keys with postings.
  std::uint32_t KeyCount() const { return key_count_; }
  // The common keys, ascending: they have no list and are in every block.
  const std::vector<std::uint32_t>& CommonKeys() const { return common_; }
  // Checks every page of the body; false when one is damaged.
  bool CheckAll() const { return body_.empty() || Body(0, body_.size()) != nullptr; }

  // The blocks in [first, stop) (ascending, numbered across all discs)
  // whose lines' names may hold every key (all of them when every key is
  // common), or nothing when a page the answer needs is damaged.
  std::optional<std::vector<std::uint32_t>> CandidateBlocks(const std::vector<std::uint32_t>& keys,
                                                            std::uint32_t first = 0,
                                                            std::uint32_t stop = UINT32_MAX) const;

 private:
  SegmentView() = default;
  // The body bytes [offset, offset + length), every page they touch checked; nullptr when damaged.
  const char* Body(std::uint64_t offset, std::uint64_t length) const;
  // Where a key's postings and skip entries lie in the body.
  struct Span {
    std::uint64_t begin = 0, end = 0;            // the list; empty when the key is absent
    std::uint64_t skip_begin = 0, skip_end = 0;  // its skip entries
  };
  // The span of a key, or nothing when damaged.
  std::optional<Span> PostingSpan(std::uint32_t key) const;
  // The blocks of a span within [first, stop); false when damaged.
  bool Postings(const Span& span, std::uint32_t first, std::uint32_t stop, std::vector<std::uint32_t>& blocks) const;

  std::string_view body_;
  std::vector<SegmentDisc> discs_;
  // Hashes names for lookups by string_view.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
  };
  std::unordered_map<std::string, std::uint32_t, NameHash, std::equal_to<>> disc_of_name_;
  std::vector<std::uint32_t> common_;
  std::uint32_t key_count_ = 0;
  std::uint32_t block_count_ = 0;
  std::uint64_t keys_offset_ = 0;     // of the key array in the body
  std::uint64_t offsets_offset_ = 0;  // of the list offsets in the body
  std::uint64_t skip_offsets_offset_ = 0;
  const char* page_hashes_ = nullptr;
  mutable std::vector<std::uint8_t> page_checked_;  // 0 not yet, 1 good, 2 damaged
};

// A segment file mapped into memory, with its checked view of the map.
struct MappedSegment {
  MappedFile file;
  SegmentView view;
  // The mapped, checked segment at a native path, or nullptr when there is
  // none or its head is damaged.
  static std::unique_ptr<MappedSegment> Open(const std::string& native_path);
};

// The byte ranges [begin, end) of a disc's text that hold the lines starting
// in the given blocks (of the segment's numbering, ascending; those outside
// the disc are skipped), adjacent ones merged.
std::vector<std::pair<std::uint64_t, std::uint64_t>> BlockRanges(const SegmentDisc& disc,
                                                                 const std::vector<std::uint32_t>& blocks);

}  // namespace movra
