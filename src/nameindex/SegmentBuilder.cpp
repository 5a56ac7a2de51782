#include "nameindex/SegmentBuilder.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <thread>

#include "nameindex/SegmentFormat.h"
#include "nameindex/Trigrams.h"
#include "nameindex/VectorKernels.h"
#include "platform/FileSystem.h"

namespace movra {
namespace {

using segment_format::EncodeVarint;
using segment_format::GetVarint;
using segment_format::Put;

constexpr size_t kKeys = size_t{1} << kKeyBits;
constexpr size_t kRanges = kKeys / kKeysPerRange;
constexpr std::uint32_t kPartBlocks = 64;  // the blocks of a part: one bit each in a word
// From this size of text on, a part's keys are found from their block sets
// rather than marked one by one.
constexpr size_t kFindKeysFrom = size_t{64} << 10;
// Keys are made for names enough to give about this many at a time.
constexpr size_t kBatchKeys = 2048;

// Visits the list parts of a disc's records in [at, end): (key, the
// part's first block, its rest, its last block).
template <typename Visit>
void EachRecord(const DiscPostings& d, const char* at, const char* end, Visit&& visit) {
  while (at < end) {
    const std::uint32_t key = static_cast<unsigned char>(at[0]) | static_cast<unsigned char>(at[1]) << 8;
    const std::uint32_t span = static_cast<unsigned char>(at[2]);
    const size_t rest = static_cast<unsigned char>(at[3]);
    size_t pos = 4;
    std::uint32_t first = 0;
    GetVarint(at, static_cast<size_t>(end - at), pos, first);
    first += d.disc.first_block;
    visit(key, first, std::string_view(at + pos, rest), first + span);
    at += pos + rest;
  }
}

// Visits every list part of the keys of a range in disc order.
template <typename Visit>
void EachPart(const std::vector<DiscPostings>& discs, size_t range, Visit&& visit) {
  auto records_of = [range](const DiscPostings& d) {
    return d.records.data() + (range == 0 ? 0 : d.range_ends[range - 1]);
  };
  for (size_t i = 0; i < discs.size(); ++i) {
    // The records of the disc after next are asked for now, so that they are there when needed.
    if (i + 2 < discs.size()) {
      const DiscPostings& later = discs[i + 2];
      const char* const from = records_of(later);
      const char* const to = later.records.data() + later.range_ends[range];
      for (const char* line = from; line < to; line += 64) __builtin_prefetch(line);
    }
    const DiscPostings& d = discs[i];
    EachRecord(d, records_of(d), d.records.data() + d.range_ends[range], visit);
  }
}

// The number of blocks of the discs, each disc's first block set on the way.
std::uint64_t NumberBlocks(std::vector<DiscPostings>& discs) {
  std::uint64_t blocks = 0;
  for (DiscPostings& d : discs) {
    d.disc.first_block = static_cast<std::uint32_t>(blocks);
    blocks += d.disc.BlockCount();
  }
  return blocks;
}

// True when a key found in key_blocks of a segment's blocks is common.
bool IsCommon(std::uint64_t key_blocks, std::uint64_t blocks, double share) {
  return blocks >= kCommonMinBlocks && static_cast<double>(key_blocks) > share * static_cast<double>(blocks);
}

}  // namespace

DiscPostings PostingsExtractor::Extract(std::string name, std::string_view file_bytes, const SnapshotStamp& stamp,
                                        bool uncertain) {
  static_assert(kKeyBits <= 16 && kKeys % kKeysPerRange == 0, "keys are kept in 16 bits, ranges split them evenly");
  const std::string_view text = SnapshotText(file_bytes);
  if (used_.empty()) {
    used_.assign(kKeys / 64, 0);
    blocks_.assign(kKeys, 0);
    ranges_.resize(kRanges);
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
  out.range_ends.reserve(kRanges);
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

KeySet CommonKeys(const std::vector<const DiscPostings*>& discs, double share) {
  std::uint64_t blocks = 0;
  std::vector<std::uint32_t> key_blocks(kKeys);
  for (const DiscPostings* d : discs) {
    blocks += d->disc.BlockCount();
    const char* const records = d->records.data();
    EachRecord(*d, records, records + d->range_ends.back(),
               [&](std::uint32_t key, std::uint32_t, std::string_view rest, std::uint32_t) {
                 key_blocks[key] += 1 + static_cast<std::uint32_t>(rest.size());
               });
  }
  KeySet common;
  for (std::uint32_t key = 0; key < kKeys; ++key)
    if (IsCommon(key_blocks[key], blocks, share)) common.Add(key);
  return common;
}

SegmentBytes WriteSegment(std::vector<DiscPostings>& discs, const SegmentOptions& options) {
  const size_t skip_bytes = options.skip_bytes;
  const std::uint64_t blocks = NumberBlocks(discs);
  // Each key's list is its discs' lists one after the other, each part's
  // first block made a difference to the list so far. Two passes over the
  // discs in order, which keep a few numbers per key: the first measures
  // every list, the second writes the lists where they go. Both go through
  // the keys a range at a time, so that the lists being written stay in
  // the cache and each disc's records are read in order; the cores take
  // ranges in turn.
  struct KeyState {
    std::uint64_t size = 0;        // bytes of the list so far
    std::uint64_t skipped_at = 0;  // its size at its last skip entry
    std::uint32_t last = 0;        // its last block so far
    std::uint32_t skips = 0;       // its skip entries so far
    std::uint32_t blocks = 0;      // its blocks so far
  };
  std::vector<KeyState> state(kKeys);
  // Runs work(range) over every key range, on more cores when the lists are large.
  auto in_parallel = [&discs](auto&& work) {
    size_t bytes = 0;
    for (const DiscPostings& d : discs) bytes += d.records.size();
    const unsigned threads_wanted = bytes < (size_t{1} << 20) ? 1 : std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::atomic<size_t> next_range{0};
    auto run = [&] {
      for (size_t r; (r = next_range++) < kRanges;) work(r);
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < threads_wanted; ++t) threads.emplace_back(run);
    run();
    for (std::thread& thread : threads) thread.join();
  };
  in_parallel([&](size_t range) {
    EachPart(discs, range, [&](std::uint32_t key, std::uint32_t first, std::string_view rest, std::uint32_t last) {
      KeyState& k = state[key];
      if (k.size - k.skipped_at >= skip_bytes) {
        k.skipped_at = k.size;
        ++k.skips;
      }
      char varint[5];
      k.size += EncodeVarint(k.size == 0 ? first : first - k.last, varint) + rest.size();
      k.last = last;
      k.blocks += 1 + static_cast<std::uint32_t>(rest.size());
    });
  });

  // Common keys get no list; the others are written in key order.
  std::vector<std::uint32_t> common;
  std::vector<std::uint32_t> keys;
  std::vector<std::uint64_t> list_offsets;
  std::vector<std::uint64_t> skip_offsets;
  std::vector<std::uint64_t> list_at(kKeys);
  std::vector<std::uint64_t> skip_at(kKeys);
  std::uint64_t postings_size = 0;
  std::uint64_t skips_size = 0;
  for (std::uint32_t key = 0; key < kKeys; ++key) {
    if ((options.common != nullptr && options.common->Has(key)) ||
        (state[key].size != 0 && IsCommon(state[key].blocks, blocks, options.common_share))) {
      common.push_back(key);
      continue;
    }
    if (state[key].size == 0) continue;
    keys.push_back(key);
    list_offsets.push_back(list_at[key] = postings_size);
    skip_offsets.push_back(skip_at[key] = skips_size);
    postings_size += state[key].size;
    skips_size += std::uint64_t{state[key].skips} * 8;
  }
  // The lists and skip entries first, written in place by the cores; then
  // the tables and the head. Nothing is zeroed first.
  const std::uint64_t tables = keys.size() * 4 + (keys.size() + 1) * 16;
  SegmentBytes body;
  body.reserve(postings_size + skips_size + tables + discs.size() * 128 + (postings_size >> 13) + 4096);
  AdviseHugePages(body.data(), body.capacity());
  body.resize(postings_size + skips_size);
  std::vector<std::uint64_t> list_size(kKeys);
  for (std::uint32_t key : keys) list_size[key] = state[key].size;
  state.assign(kKeys, KeyState{});
  in_parallel([&](size_t range) {
    EachPart(discs, range, [&](std::uint32_t key, std::uint32_t first, std::string_view rest, std::uint32_t last) {
      if (list_size[key] == 0) return;  // a common key
      KeyState& k = state[key];
      char* list = body.data() + list_at[key];
      if (k.size - k.skipped_at >= skip_bytes) {
        k.skipped_at = k.size;
        char* entry = body.data() + postings_size + skip_at[key] + std::uint64_t{k.skips++} * 8;
        const std::uint32_t fields[2] = {first, static_cast<std::uint32_t>(k.size)};
        std::memcpy(entry, fields, sizeof fields);
      }
      k.size += EncodeVarint(k.size == 0 ? first : first - k.last, list + k.size);
      // Short rests are copied 32 bytes at once where the list has room
      // (the records have 32 bytes to spare at their end).
      if (rest.size() <= 32 && k.size + 32 <= list_size[key])
        std::memcpy(list + k.size, rest.data(), 32);
      else
        std::memcpy(list + k.size, rest.data(), rest.size());
      k.size += rest.size();
      k.last = last;
    });
  });
  list_offsets.push_back(postings_size);
  const std::uint64_t skips_offset = postings_size;
  skip_offsets.push_back(skips_size);
  const std::uint64_t keys_offset = body.size();
  for (std::uint32_t key : keys) Put<std::uint32_t>(body, key);
  const std::uint64_t offsets_offset = body.size();
  for (std::uint64_t offset : list_offsets) Put<std::uint64_t>(body, offset);
  const std::uint64_t skip_offsets_offset = body.size();
  for (std::uint64_t offset : skip_offsets) Put<std::uint64_t>(body, skips_offset + offset);
  const std::uint64_t body_size = body.size();

  std::string head;
  Put<std::uint32_t>(head, segment_format::kVersion);
  Put<std::uint32_t>(head, kBlockShift);
  Put<std::uint32_t>(head, segment_format::kPageShift);
  Put<std::uint32_t>(head, static_cast<std::uint32_t>(discs.size()));
  Put<std::uint32_t>(head, static_cast<std::uint32_t>(keys.size()));
  Put<std::uint32_t>(head, static_cast<std::uint32_t>(blocks));
  Put<std::uint64_t>(head, body_size);
  Put<std::uint64_t>(head, keys_offset);
  Put<std::uint64_t>(head, offsets_offset);
  Put<std::uint64_t>(head, skip_offsets_offset);
  for (const DiscPostings& d : discs) {
    Put<std::uint32_t>(head, static_cast<std::uint32_t>(d.disc.name.size()));
    head += d.disc.name;
    Put<std::uint32_t>(head, d.disc.uncertain ? segment_format::kUncertainFlag : 0);
    Put<std::uint64_t>(head, d.disc.stamp.size);
    Put<std::uint64_t>(head, d.disc.stamp.device);
    Put<std::uint64_t>(head, d.disc.stamp.inode);
    Put<std::int64_t>(head, d.disc.stamp.mtime_ns);
    Put<std::int64_t>(head, d.disc.stamp.ctime_ns);
    Put<std::uint64_t>(head, d.disc.text_size);
    Put<std::uint32_t>(head, d.disc.first_block);
  }
  Put<std::uint32_t>(head, static_cast<std::uint32_t>(common.size()));
  for (std::uint32_t key : common) Put<std::uint32_t>(head, key);
  constexpr size_t kPage = size_t{1} << segment_format::kPageShift;
  for (size_t at = 0; at < body_size; at += kPage)
    Put<std::uint64_t>(head, segment_format::Hash(body.data() + at, std::min(kPage, body_size - at)));
  Put<std::uint64_t>(head, segment_format::Hash(head.data(), head.size()));

  body.insert(body.end(), head.begin(), head.end());
  Put<std::uint64_t>(body, head.size());
  body.insert(body.end(), segment_format::kMagic, segment_format::kMagic + sizeof segment_format::kMagic);
  return body;
}

}  // namespace movra
