#include "nameindex/SegmentBuilder.h"

#include <bit>

#include "nameindex/SegmentFormat.h"
#include "nameindex/VectorKernels.h"

namespace movra {
namespace {

using segment_format::EncodeVarint;

constexpr std::uint32_t kPartBlocks = 64;  // the blocks of a part: one bit each in a word
// From this size of text on, a part's keys are found from their block sets
// rather than marked one by one.
constexpr size_t kFindKeysFrom = size_t{64} << 10;
// Keys are made for names enough to give about this many at a time.
constexpr size_t kBatchKeys = 2048;

}  // namespace

DiscPostings PostingsExtractor::Extract(std::string name, std::string_view file_bytes, const SnapshotStamp& stamp,
                                        bool uncertain) {
  static_assert(kKeyBits <= 16 && kKeyCount % kKeysPerRange == 0, "keys are kept in 16 bits, ranges split them evenly");
  const std::string_view text = SnapshotText(file_bytes);
  if (used_.empty()) {
    used_.assign(kKeyCount / 64, 0);
    blocks_.assign(kKeyCount, 0);
    ranges_.resize(kKeyRanges);
  }
  for (RangeRecords& range : ranges_) range.size = 0;
  DiscPostings out;
  out.disc.name = std::move(name);
  out.disc.stamp = stamp;
  out.disc.uncertain = uncertain;
  out.disc.text_size = text.size();
  std::uint32_t part_first = 0;

  // Each trigram of a name sets its block's bit in its key's set; the sets
  // of a part's keys are its posting lists. A small text also marks each
  // key in used_ as it goes; a larger one leaves that to EndPart, which then
  // looks for the sets that are not empty: a pass over them all costs less
  // than marking the many keys of a large part one by one.
  const bool find_keys = text.size() >= kFindKeysFrom;
  const std::vector<NameSpan>& spans = scanner_.Scan(text);
  // The keys are made for a batch of names at a time.
  for (size_t first = 0, last; first < spans.size(); first = last) {
    size_t keys = 0;
    for (last = first; last < spans.size() && keys < kBatchKeys; ++last)
      keys += spans[last].name_size < 3 ? 0 : spans[last].name_size - 2;
    if (name_keys_.size() < keys + 32) name_keys_.resize(keys + 32);
    NameKeys(text, spans.data() + first, last - first, name_keys_.data());
    // The names of one block follow each other, and so do their keys: the
    // keys of a run of such names are taken in one loop.
    const std::uint32_t* key = name_keys_.data();
    for (size_t run = first, next; run < last; run = next) {
      const std::uint32_t block = spans[run].line_start >> kBlockShift;
      size_t run_keys = 0;
      for (next = run; next < last && spans[next].line_start >> kBlockShift == block; ++next)
        run_keys += spans[next].name_size < 3 ? 0 : spans[next].name_size - 2;
      if (block - part_first >= kPartBlocks) {
        EndPart(part_first, find_keys);
        part_first = block;
      }
      const std::uint64_t bit = std::uint64_t{1} << (block - part_first);
      const std::uint32_t* const end = key + run_keys;
      if (find_keys) {
        for (; key < end; ++key) blocks_[*key] |= bit;
      } else {
        for (; key < end; ++key) {
          used_[*key / 64] |= std::uint64_t{1} << (*key % 64);
          blocks_[*key] |= bit;
        }
      }
    }
  }
  EndPart(part_first, find_keys);

  size_t size = 0;
  for (const RangeRecords& range : ranges_) size += range.size;
  out.records.reserve(size + 32);
  out.range_ends.reserve(kKeyRanges);
  for (const RangeRecords& range : ranges_) {
    out.records.append(range.bytes.data(), range.size);
    out.range_ends.push_back(static_cast<std::uint32_t>(out.records.size()));
  }
  out.records.append(32, '\0');  // so that a record's rest may be copied 32 bytes at once
  return out;
}

void PostingsExtractor::EndPart(std::uint32_t first_block, bool find_keys) {
  if (find_keys) MarkNonZero(blocks_.data(), blocks_.size(), used_.data());
  const GapWriter write_gaps = Gaps();
  for (size_t w = 0; w < used_.size(); ++w) {
    // Common keys get no records. Their block sets are never read, but
    // are cleared all the same, so that finding keys finds only the part's.
    if (common_ != nullptr) {
      for (std::uint64_t keys = used_[w] & common_->Word(w); keys != 0; keys &= keys - 1)
        blocks_[w * 64 + static_cast<size_t>(std::countr_zero(keys))] = 0;
      used_[w] &= ~common_->Word(w);
    }
    if (used_[w] == 0) continue;
    RangeRecords& range = ranges_[w * 64 / kKeysPerRange];
    // Room for every key of the word: a record holds at most 9 bytes and
    // 63 gaps, and the gap writer may write 64.
    size_t at = range.size;
    const size_t room = at + 64 * (9 + kPartBlocks);
    if (range.bytes.size() < room) range.bytes.resize(2 * room);
    char* const records = range.bytes.data();
    for (std::uint64_t keys = used_[w]; keys != 0; keys &= keys - 1) {
      const auto key = static_cast<std::uint32_t>(w * 64 + std::countr_zero(keys));
      const std::uint64_t set = blocks_[key];
      blocks_[key] = 0;
      const int first = std::countr_zero(set);
      const size_t start = at;
      records[start] = static_cast<char>(key & 0xFF);
      records[start + 1] = static_cast<char>(key >> 8);
      at += 4 + EncodeVarint(first_block + static_cast<std::uint32_t>(first), records + at + 4);
      const size_t gaps = write_gaps(set, records + at);
      at += gaps;
      records[start + 2] = static_cast<char>(63 - std::countl_zero(set) - first);
      records[start + 3] = static_cast<char>(gaps);
    }
    range.size = at;
    used_[w] = 0;
  }
}

}  // namespace movra
