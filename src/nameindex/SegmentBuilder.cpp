#include "nameindex/SegmentBuilder.h"

#include <algorithm>
#include <array>
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

// Sorts (key << 32 | id) values by their 24-bit keys: three byte-wise counting passes.
void SortByKey(std::vector<std::uint64_t>& values, std::vector<std::uint64_t>& other) {
  other.resize(values.size());
  for (int shift = 32; shift < 56; shift += 8) {
    std::array<std::uint32_t, 257> starts{};
    for (std::uint64_t v : values) ++starts[((v >> shift) & 0xFF) + 1];
    for (size_t i = 1; i < starts.size(); ++i) starts[i] += starts[i - 1];
    for (std::uint64_t v : values) other[starts[(v >> shift) & 0xFF]++] = v;
    values.swap(other);
  }
}

// Keys are merged across discs a window of 2^16 keys at a time, so that a
// counting sort puts each window's (disc, key) pairs in key order.
constexpr unsigned kWindowShift = 16;

}  // namespace

void PostingsExtractor::Grow() {
  const size_t capacity = slots_.empty() ? 16384 : slots_.size() * 2;
  std::vector<std::uint64_t> old = std::move(slots_);
  slots_.assign(capacity, 0);
  mask_ = static_cast<std::uint32_t>(capacity - 1);
  shift_ = 64 - static_cast<unsigned>(std::countr_zero(capacity));
  for (std::uint64_t slot : old) {
    if (slot == 0) continue;
    std::uint32_t at = Slot(static_cast<std::uint32_t>(slot) - 1);
    while (slots_[at] != 0) at = (at + 1) & mask_;
    slots_[at] = slot;
  }
}

std::uint32_t PostingsExtractor::IdOfSlow(std::uint32_t key, std::uint32_t at) {
  for (;; at = (at + 1) & mask_) {
    const std::uint64_t slot = slots_[at];
    if (static_cast<std::uint32_t>(slot) == key + 1) return static_cast<std::uint32_t>(slot >> 32);
    if (slot == 0) {
      const auto id = static_cast<std::uint32_t>(key_of_id_.size());
      key_of_id_.push_back(key);
      last_block_of_id_.push_back(UINT32_MAX);
      count_of_id_.push_back(0);
      slots_[at] = std::uint64_t{id} << 32 | (key + 1);
      if (key_of_id_.size() * 4 > slots_.size()) Grow();
      return id;
    }
  }
}

DiscPostings PostingsExtractor::Extract(std::string name, std::string_view file_bytes, const SnapshotStamp& stamp,
                                        bool uncertain) {
  const std::string_view text = SnapshotText(file_bytes);
  if (slots_.empty()) Grow();
  std::fill(slots_.begin(), slots_.end(), 0);
  key_of_id_.clear();
  last_block_of_id_.clear();
  count_of_id_.clear();

  // Every (key, block) once, in block order: a key's last block tells repeats.
  size_t pairs = 0;
  for (size_t start = 0; start < text.size();) {
    const void* lf = std::memchr(text.data() + start, '\n', text.size() - start);
    const size_t end = lf == nullptr ? text.size() : static_cast<size_t>(static_cast<const char*>(lf) - text.data());
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view entry = LineName(line, FindMarkers(line));
    if (entry.size() >= 3) {
      // A name of n bytes adds at most n - 2 pairs.
      if (pairs + entry.size() > pair_ids_.size()) {
        pair_ids_.resize(std::max(2 * pair_ids_.size(), pairs + entry.size()));
        pair_blocks_.resize(pair_ids_.size());
      }
      const auto block = static_cast<std::uint32_t>(start >> kBlockShift);
      const auto* p = reinterpret_cast<const unsigned char*>(entry.data());
      std::uint32_t key = std::uint32_t{CoarseFold(p[0])} << 8 | CoarseFold(p[1]);
      for (size_t i = 2; i < entry.size(); ++i) {
        key = ((key << 8) | CoarseFold(p[i])) & 0xFFFFFF;
        const std::uint32_t id = IdOf(key);
        const bool fresh = last_block_of_id_[id] != block;
        last_block_of_id_[id] = block;
        pair_ids_[pairs] = id;
        pair_blocks_[pairs] = block;
        pairs += fresh;
        count_of_id_[id] += fresh;
      }
    }
    start = end + 1;
  }

  // Grouped by key id (a counting sort keeps the block order), then the ids in key order.
  const size_t ids = key_of_id_.size();
  std::vector<std::uint32_t> begin(ids + 1, 0);
  for (size_t id = 0; id < ids; ++id) begin[id + 1] = begin[id] + count_of_id_[id];
  std::vector<std::uint32_t> next(begin.begin(), begin.end() - 1);
  if (grouped_.size() < pairs) grouped_.resize(pairs);
  for (size_t j = 0; j < pairs; ++j) grouped_[next[pair_ids_[j]]++] = pair_blocks_[j];
  std::vector<std::uint64_t> order(ids);
  for (size_t id = 0; id < ids; ++id) order[id] = std::uint64_t{key_of_id_[id]} << 32 | id;
  SortByKey(order, sort_space_);

  DiscPostings out;
  out.disc.name = std::move(name);
  out.disc.stamp = stamp;
  out.disc.uncertain = uncertain;
  out.disc.text_size = text.size();
  out.keys.reserve(ids);
  out.list_ends.reserve(ids);
  out.last_blocks.reserve(ids);
  out.lists.reserve(pairs + pairs / 4);
  for (std::uint64_t entry : order) {
    const auto id = static_cast<std::uint32_t>(entry);
    out.keys.push_back(static_cast<std::uint32_t>(entry >> 32));
    std::uint32_t previous = 0;
    for (std::uint32_t j = begin[id]; j < begin[id + 1]; ++j) {
      PutVarint(out.lists, grouped_[j] - previous);
      previous = grouped_[j];
    }
    out.list_ends.push_back(static_cast<std::uint32_t>(out.lists.size()));
    out.last_blocks.push_back(previous);
  }
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
  std::vector<std::uint32_t> cursor(discs.size(), 0);
  std::vector<std::uint32_t> stop(discs.size(), 0);
  std::vector<std::uint32_t> count((1u << kWindowShift) + 1);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> items;  // (disc, key index)
  for (std::uint32_t window = 0; window < (1u << (24 - kWindowShift)); ++window) {
    const std::uint32_t limit = (window + 1) << kWindowShift;
    std::fill(count.begin(), count.end(), 0);
    size_t total = 0;
    for (size_t d = 0; d < discs.size(); ++d) {
      const std::vector<std::uint32_t>& k = discs[d].keys;
      std::uint32_t i = cursor[d];
      for (; i < k.size() && k[i] < limit; ++i) ++count[(k[i] & 0xFFFF) + 1];
      stop[d] = i;
      total += i - cursor[d];
    }
    if (total == 0) continue;
    std::partial_sum(count.begin(), count.end(), count.begin());
    items.resize(total);
    for (size_t d = 0; d < discs.size(); ++d)
      for (std::uint32_t i = cursor[d]; i < stop[d]; ++i)
        items[count[discs[d].keys[i] & 0xFFFF]++] = {static_cast<std::uint32_t>(d), i};
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
    std::copy(stop.begin(), stop.end(), cursor.begin());
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
