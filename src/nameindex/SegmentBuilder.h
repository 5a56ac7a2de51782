// Making segments: the postings of each snapshot are taken out on their own
// (on any thread, each with an extractor of its own), then any number of
// discs are written as one segment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "nameindex/IndexSegment.h"

namespace movra {

// The postings of one snapshot in compact form, ready to be written.
struct DiscPostings {
  SegmentDisc disc;                        // first_block is set when written
  std::vector<std::uint32_t> keys;         // distinct trigram keys, ascending
  std::vector<std::uint32_t> list_ends;    // per key, the end of its list in lists
  std::vector<std::uint32_t> last_blocks;  // per key, the last block of its list
  std::string lists;                       // per key, its blocks: the first whole, then differences, as varints
};

// Takes the postings out of snapshot files, reusing its tables from one file to the next.
class PostingsExtractor {
 public:
  // The postings of a snapshot file's bytes, read under stamp; with
  // uncertain set the stamp alone does not vouch for the content.
  DiscPostings Extract(std::string name, std::string_view file_bytes, const SnapshotStamp& stamp, bool uncertain);

 private:
  void Grow();
  // The id of a key in this file, a new one for a key not seen before.
  std::uint32_t IdOf(std::uint32_t key) {
    std::uint32_t at = Slot(key);
    const std::uint64_t slot = slots_[at];
    if (static_cast<std::uint32_t>(slot) == key + 1) [[likely]]
      return static_cast<std::uint32_t>(slot >> 32);
    return IdOfSlow(key, at);
  }
  std::uint32_t IdOfSlow(std::uint32_t key, std::uint32_t at);
  std::uint32_t Slot(std::uint32_t key) const {
    return static_cast<std::uint32_t>((std::uint64_t{key} * 0x9E3779B97F4A7C15ull) >> shift_);
  }

  // Open addressing from key + 1 (0 is empty) to the key's id in this file,
  // kept at most a quarter full so that most keys are found at once.
  std::vector<std::uint64_t> slots_;
  std::uint32_t mask_ = 0;
  unsigned shift_ = 64;
  std::vector<std::uint32_t> key_of_id_;
  std::vector<std::uint32_t> last_block_of_id_;
  std::vector<std::uint32_t> count_of_id_;
  std::vector<std::uint32_t> pair_ids_;
  std::vector<std::uint32_t> pair_blocks_;
  std::vector<std::uint32_t> grouped_;
  std::vector<std::uint64_t> sort_space_;
};

// The bytes of a segment holding these discs (sorted by name, no name twice).
// A list gets a skip entry where a disc's part starts once skip_bytes went
// by since the last one, so a search of a few discs decodes little more than
// their parts.
std::string WriteSegment(std::vector<DiscPostings>& discs, size_t skip_bytes = 256);

}  // namespace movra
