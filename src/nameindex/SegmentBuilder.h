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
  std::vector<std::uint32_t> keys;         // distinct keys (see KeyOfTrigram), ascending
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
  std::vector<std::uint64_t> seen_;           // the keys met in the current block, a bit each
  std::vector<std::uint64_t> used_;           // the keys met in this file, a bit each
  std::vector<std::uint32_t> count_of_key_;   // blocks per key in this file
  std::vector<std::uint32_t> next_;           // where a key's next block goes in grouped_
  std::vector<std::uint32_t> pair_keys_;      // (key, block) pairs in block order
  std::vector<std::uint32_t> pair_blocks_;
  std::vector<std::uint32_t> grouped_;        // their blocks grouped by key
  std::string encoded_;                       // the lists being encoded
};

// The bytes of a segment holding these discs (sorted by name, no name twice).
// A list gets a skip entry where a disc's part starts once skip_bytes went
// by since the last one, so a search of a few discs decodes little more than
// their parts.
std::string WriteSegment(std::vector<DiscPostings>& discs, size_t skip_bytes = 256);

}  // namespace movra
