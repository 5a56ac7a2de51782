#include "nameindex/SegmentBuilder.h"

#include <algorithm>
#include <cstring>

#include "nameindex/ParallelFor.h"
#include "nameindex/SegmentFormat.h"
#include "platform/FileSystem.h"

namespace movra {
namespace {

using segment_format::EncodeVarint;
using segment_format::GetVarint;
using segment_format::Put;

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

KeySet CommonKeys(const std::vector<const DiscPostings*>& discs, double share) {
  std::uint64_t blocks = 0;
  std::vector<std::uint32_t> key_blocks(kKeyCount);
  for (const DiscPostings* d : discs) {
    blocks += d->disc.BlockCount();
    const char* const records = d->records.data();
    EachRecord(*d, records, records + d->range_ends.back(),
               [&](std::uint32_t key, std::uint32_t, std::string_view rest, std::uint32_t) {
                 key_blocks[key] += 1 + static_cast<std::uint32_t>(rest.size());
               });
  }
  KeySet common;
  for (std::uint32_t key = 0; key < kKeyCount; ++key)
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
  std::vector<KeyState> state(kKeyCount);
  // Runs work(range) over every key range, on more cores when the lists are large.
  size_t record_bytes = 0;
  for (const DiscPostings& d : discs) record_bytes += d.records.size();
  const unsigned threads = record_bytes < (size_t{1} << 20) ? 1 : WorkerThreads();
  auto in_parallel = [threads](auto&& work) {
    ParallelFor(kKeyRanges, threads, [&work](size_t range, unsigned) { work(range); });
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
  std::vector<std::uint64_t> list_at(kKeyCount);
  std::vector<std::uint64_t> skip_at(kKeyCount);
  std::uint64_t postings_size = 0;
  std::uint64_t skips_size = 0;
  for (std::uint32_t key = 0; key < kKeyCount; ++key) {
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
  std::vector<std::uint64_t> list_size(kKeyCount);
  for (std::uint32_t key : keys) list_size[key] = state[key].size;
  state.assign(kKeyCount, KeyState{});
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
    Put<std::uint64_t>(head, d.disc.stamp.volume);
    Put<std::uint64_t>(head, d.disc.stamp.file_id);
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
