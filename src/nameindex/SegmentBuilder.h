// Making segments: the postings of each snapshot are taken out on their own
// (on any thread, each with an extractor of its own), then any number of
// discs are written as one segment.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "nameindex/IndexSegment.h"
#include "nameindex/NameScanner.h"
#include "nameindex/Trigrams.h"

namespace movra {

// Every key there is.
constexpr size_t kKeyCount = size_t{1} << kKeyBits;
// Keys are written a range of this many at a time.
constexpr std::uint32_t kKeysPerRange = 1024;
constexpr size_t kKeyRanges = kKeyCount / kKeysPerRange;

// A key found in more than this share of a segment's blocks is common: it
// gets no list, and searches take it to be in every block. Such keys filter
// little, and their lists are the longest to build, to store and to read.
constexpr double kCommonShare = 0.5;
// A segment of fewer blocks keeps every list: they are short anyway.
constexpr std::uint32_t kCommonMinBlocks = 64;

// The postings of one snapshot in compact form, ready to be written: per
// range of keys, a record for each list part of its keys, in key order
// within each part of up to 64 blocks, part after part. A record is the
// key (two bytes), the part's last block minus its first (one byte), the
// size of the rest (one byte), the first block (varint) and the rest: the
// differences from each block to the next, one byte each.
struct DiscPostings {
  SegmentDisc disc;                       // first_block is set when written
  std::vector<std::uint32_t> range_ends;  // per key range, the end of its records
  std::string records;
};

// Takes the postings out of snapshot files, reusing its tables from one file to the next.
class PostingsExtractor {
 public:
  // An extractor that leaves out the records of the given common keys, if
  // any (the set must outlive it).
  explicit PostingsExtractor(const KeySet* common = nullptr) : common_(common) {}

  // The postings of a snapshot file's bytes, read under stamp; with
  // uncertain set the stamp alone does not vouch for the content.
  DiscPostings Extract(std::string name, std::string_view file_bytes, const SnapshotStamp& stamp, bool uncertain);

 private:
  // Adds the records of the part gathered so far, whose first block is
  // first_block; find_keys when its keys are not marked in used_ yet.
  void EndPart(std::uint32_t first_block, bool find_keys);

  const KeySet* common_;
  NameScanner scanner_;
  std::vector<std::uint32_t> name_keys_;  // the keys of the batch of names being taken apart
  // Between parts every bit below is zero.
  std::vector<std::uint64_t> used_;       // the keys met in the part, a bit each (see Extract)
  std::vector<std::uint64_t> blocks_;     // per key, a bit for each block of the part that has it
  struct RangeRecords {
    std::vector<char> bytes;
    size_t size = 0;
  };
  std::vector<RangeRecords> ranges_;      // per key range, the records so far
};

// Storage for a segment's bytes that is not zeroed as it grows, since
// every byte is written anyway.
template <typename T>
struct UninitializedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitializedAllocator<U>;
  };
  UninitializedAllocator() = default;
  template <typename U>
  UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* at) noexcept {
    ::new (static_cast<void*>(at)) U;
  }
  template <typename U, typename... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }
};
using SegmentBytes = std::vector<char, UninitializedAllocator<char>>;

// The keys of these discs' postings found in more than share of their
// blocks (none when they have fewer than kCommonMinBlocks).
KeySet CommonKeys(const std::vector<const DiscPostings*>& discs, double share = kCommonShare);

// How a segment is written.
struct SegmentOptions {
  double common_share = kCommonShare;  // keys in more of the blocks are common; 1 keeps every list
  const KeySet* common = nullptr;      // keys common whatever their share, if any
  // A list gets a skip entry where a disc's part starts once this many
  // bytes went by since the last one, so that a search of a few discs
  // decodes little more than their parts.
  size_t skip_bytes = 256;
};

// The bytes of a segment holding these discs (sorted by name, no name twice).
SegmentBytes WriteSegment(std::vector<DiscPostings>& discs, const SegmentOptions& options = {});

}  // namespace movra
