#include "nameindex/SegmentBuilder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>

#include "nameindex/SegmentFormat.h"
#include "nameindex/Trigrams.h"
#include "snapshot/LineFields.h"

namespace movra {
namespace {

using segment_format::Put;

void PutVarint(std::string& out, std::uint32_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>(value | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

// Reads the varint at data (which holds a whole one), returning its length.
size_t ReadVarint(const char* data, std::uint32_t& value) {
  value = 0;
  size_t length = 0;
  for (int shift = 0;; shift += 7) {
    const auto b = static_cast<unsigned char>(data[length++]);
    value |= std::uint32_t{b & 0x7Fu} << shift;
    if (b < 0x80) return length;
  }
}

}  // namespace

DiscPostings PostingsExtractor::Extract(std::string name, std::string_view file_bytes, const SnapshotStamp& stamp,
                                        bool uncertain) {
  constexpr size_t kKeys = size_t{1} << kKeyBits;
  const std::string_view text = SnapshotText(file_bytes);
  seen_.assign(kKeys / 64, 0);
  used_.assign(kKeys / 64, 0);
  count_of_key_.assign(kKeys, 0);

  // Every (key, block) once, in block order: a bit per key tells the ones
  // the current block already has. When the block ends, its pairs are
  // counted and their bits cleared.
  size_t pairs = 0;
  size_t block_begin = 0;
  auto end_block = [&] {
    for (size_t j = block_begin; j < pairs; ++j) {
      const std::uint32_t key = pair_keys_[j];
      seen_[key >> 6] = 0;
      used_[key >> 6] |= std::uint64_t{1} << (key & 63);
      ++count_of_key_[key];
    }
    block_begin = pairs;
  };
  std::uint32_t current_block = 0;
  for (size_t start = 0; start < text.size();) {
    const void* lf = std::memchr(text.data() + start, '\n', text.size() - start);
    const size_t end = lf == nullptr ? text.size() : static_cast<size_t>(static_cast<const char*>(lf) - text.data());
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view entry = LineName(line, FindMarkers(line));
    if (entry.size() >= 3) {
      // A name of n bytes adds at most n - 2 pairs.
      if (pairs + entry.size() > pair_keys_.size()) {
        pair_keys_.resize(std::max(2 * pair_keys_.size(), pairs + entry.size()));
        pair_blocks_.resize(pair_keys_.size());
      }
      const auto block = static_cast<std::uint32_t>(start >> kBlockShift);
      if (block != current_block) {
        end_block();
        current_block = block;
      }
      const auto* p = reinterpret_cast<const unsigned char*>(entry.data());
      std::uint32_t trigram = std::uint32_t{CoarseFold(p[0])} << 8 | CoarseFold(p[1]);
      for (size_t i = 2; i < entry.size(); ++i) {
        trigram = ((trigram << 8) | CoarseFold(p[i])) & 0xFFFFFF;
        const std::uint32_t key = KeyOfTrigram(trigram);
        std::uint64_t& word = seen_[key >> 6];
        const std::uint64_t bit = std::uint64_t{1} << (key & 63);
        const bool fresh = (word & bit) == 0;
        word |= bit;
        pair_keys_[pairs] = key;
        pair_blocks_[pairs] = block;
        pairs += fresh;
      }
    }
    start = end + 1;
  }
  end_block();

  DiscPostings out;
  out.disc.name = std::move(name);
  out.disc.stamp = stamp;
  out.disc.uncertain = uncertain;
  out.disc.text_size = text.size();
  // The keys used, ascending, and where each one's blocks go: a counting
  // sort, which keeps the block order within a key.
  if (next_.size() < kKeys) next_.resize(kKeys);
  std::uint32_t at = 0;
  for (size_t w = 0; w < used_.size(); ++w)
    for (std::uint64_t bits = used_[w]; bits != 0; bits &= bits - 1) {
      const auto key = static_cast<std::uint32_t>(w * 64 + std::countr_zero(bits));
      out.keys.push_back(key);
      next_[key] = at;
      at += count_of_key_[key];
    }
  if (grouped_.size() < pairs) grouped_.resize(pairs);
  for (size_t j = 0; j < pairs; ++j) grouped_[next_[pair_keys_[j]]++] = pair_blocks_[j];

  // Each key's blocks as varints: the first whole, then the differences.
  if (encoded_.size() < pairs * 5) encoded_.resize(pairs * 5);
  char* write = encoded_.data();
  out.list_ends.reserve(out.keys.size());
  out.last_blocks.reserve(out.keys.size());
  at = 0;
  for (std::uint32_t key : out.keys) {
    std::uint32_t previous = 0;
    for (const std::uint32_t stop = at + count_of_key_[key]; at < stop; ++at) {
      std::uint32_t value = grouped_[at] - previous;
      while (value >= 0x80) {
        *write++ = static_cast<char>(value | 0x80);
        value >>= 7;
      }
      *write++ = static_cast<char>(value);
      previous = grouped_[at];
    }
    out.list_ends.push_back(static_cast<std::uint32_t>(write - encoded_.data()));
    out.last_blocks.push_back(previous);
  }
  out.lists.assign(encoded_.data(), static_cast<size_t>(write - encoded_.data()));
  return out;
}

std::string WriteSegment(std::vector<DiscPostings>& discs, size_t skip_bytes) {
  std::uint64_t blocks = 0;
  for (DiscPostings& d : discs) {
    d.disc.first_block = static_cast<std::uint32_t>(blocks);
    blocks += d.disc.BlockCount();
  }
  size_t postings_bound = 0;
  for (const DiscPostings& d : discs) postings_bound += d.lists.size() + d.keys.size();
  std::string body;
  body.reserve(postings_bound + postings_bound / 8);

  // The postings, key by key; each key's list is its discs' lists one after
  // the other, each disc's first block made a difference to the list so far.
  std::vector<std::uint32_t> keys;
  std::vector<std::uint64_t> list_offsets;
  std::string skips;  // (block, byte offset in its list) where a disc's part starts
  std::vector<std::uint64_t> skip_offsets;
  // Every (disc, key index) pair in key order, by a counting sort that keeps the disc order.
  std::vector<std::uint32_t> count((size_t{1} << kKeyBits) + 1, 0);
  size_t total = 0;
  for (const DiscPostings& d : discs) {
    for (std::uint32_t key : d.keys) ++count[key + 1];
    total += d.keys.size();
  }
  std::partial_sum(count.begin(), count.end(), count.begin());
  std::vector<std::pair<std::uint32_t, std::uint32_t>> items(total);
  for (size_t d = 0; d < discs.size(); ++d)
    for (std::uint32_t i = 0; i < discs[d].keys.size(); ++i)
      items[count[discs[d].keys[i]]++] = {static_cast<std::uint32_t>(d), i};
  for (size_t at = 0; at < total;) {
    const std::uint32_t key = discs[items[at].first].keys[items[at].second];
    keys.push_back(key);
    list_offsets.push_back(body.size());
    skip_offsets.push_back(skips.size());
    std::uint64_t last = 0;
    size_t skipped_to = body.size();
    for (bool first = true; at < total && discs[items[at].first].keys[items[at].second] == key; ++at, first = false) {
      const DiscPostings& d = discs[items[at].first];
      const std::uint32_t i = items[at].second;
      const std::uint32_t list_begin = i == 0 ? 0 : d.list_ends[i - 1];
      std::uint32_t local = 0;
      const size_t head = ReadVarint(d.lists.data() + list_begin, local);
      const std::uint64_t global = std::uint64_t{d.disc.first_block} + local;
      if (body.size() - skipped_to >= skip_bytes) {
        skipped_to = body.size();
        Put<std::uint32_t>(skips, static_cast<std::uint32_t>(global));
        Put<std::uint32_t>(skips, static_cast<std::uint32_t>(body.size() - list_offsets.back()));
      }
      PutVarint(body, static_cast<std::uint32_t>(first ? global : global - last));
      body.append(d.lists, list_begin + head, d.list_ends[i] - list_begin - head);
      last = std::uint64_t{d.disc.first_block} + d.last_blocks[i];
    }
  }
  list_offsets.push_back(body.size());
  const std::uint64_t skips_offset = body.size();
  body += skips;
  skip_offsets.push_back(skips.size());
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
  constexpr size_t kPage = size_t{1} << segment_format::kPageShift;
  for (size_t at = 0; at < body_size; at += kPage)
    Put<std::uint64_t>(head, segment_format::Hash(body.data() + at, std::min(kPage, body_size - at)));
  Put<std::uint64_t>(head, segment_format::Hash(head.data(), head.size()));

  body += head;
  Put<std::uint64_t>(body, head.size());
  body.append(segment_format::kMagic, sizeof segment_format::kMagic);
  return body;
}

}  // namespace movra
