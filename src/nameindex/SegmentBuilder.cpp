#include "nameindex/SegmentBuilder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <thread>

#include "nameindex/SegmentFormat.h"
#include "nameindex/Trigrams.h"
#include "platform/FileSystem.h"
#include "snapshot/LineFields.h"

namespace movra {
namespace {

using segment_format::EncodeVarint;
using segment_format::GetVarint;
using segment_format::Put;

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
    const std::string_view entry = LineName(line);
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
      write += EncodeVarint(grouped_[at] - previous, write);
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
  // Each key's list is its discs' lists one after the other, each disc's
  // first block made a difference to the list so far. Two passes over the
  // discs in order, which keep a few numbers per key: the first measures
  // every list, the second writes the lists where they go.
  constexpr size_t kKeys = size_t{1} << kKeyBits;
  struct KeyState {
    std::uint64_t size = 0;        // bytes of the list so far
    std::uint64_t skipped_at = 0;  // its size at its last skip entry
    std::uint32_t last = 0;        // its last block so far
    std::uint32_t skips = 0;       // its skip entries so far
  };
  std::vector<KeyState> state(kKeys);
  // Visits every part of the lists of the keys in [low, high) in disc
  // order: (key, the part's first block, its bytes after the first varint,
  // its last block).
  auto each_part = [&discs](std::uint32_t low, std::uint32_t high, auto&& visit) {
    for (const DiscPostings& d : discs) {
      size_t i = static_cast<size_t>(std::lower_bound(d.keys.begin(), d.keys.end(), low) - d.keys.begin());
      std::uint32_t begin = i == 0 ? 0 : d.list_ends[i - 1];
      for (; i < d.keys.size() && d.keys[i] < high; ++i) {
        std::uint32_t local = 0;
        size_t head = begin;
        GetVarint(d.lists.data(), d.list_ends[i], head, local);  // every list holds a block at least
        const std::string_view rest = std::string_view(d.lists).substr(head, d.list_ends[i] - head);
        visit(d.keys[i], d.disc.first_block + local, rest, d.disc.first_block + d.last_blocks[i]);
        begin = d.list_ends[i];
      }
    }
  };
  // Runs work(low, high) over key ranges, on more cores when the lists are large.
  auto in_parallel = [&discs](auto&& work) {
    size_t items = 0;
    for (const DiscPostings& d : discs) items += d.keys.size();
    const unsigned parts = items < 2048 ? 1 : std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < parts; ++t)
      threads.emplace_back([&work, t, parts] { work(kKeys * t / parts, kKeys * (t + 1) / parts); });
    work(0, kKeys / parts);
    for (std::thread& thread : threads) thread.join();
  };
  in_parallel([&](std::uint32_t low, std::uint32_t high) {
    each_part(low, high, [&](std::uint32_t key, std::uint32_t first, std::string_view rest, std::uint32_t last) {
      KeyState& k = state[key];
      if (k.size - k.skipped_at >= skip_bytes) {
        k.skipped_at = k.size;
        ++k.skips;
      }
      char varint[5];
      k.size += EncodeVarint(k.size == 0 ? first : first - k.last, varint) + rest.size();
      k.last = last;
    });
  });

  std::vector<std::uint32_t> keys;
  std::vector<std::uint64_t> list_offsets;
  std::vector<std::uint64_t> skip_offsets;
  std::vector<std::uint64_t> list_at(kKeys);
  std::vector<std::uint64_t> skip_at(kKeys);
  std::uint64_t postings_size = 0;
  std::uint64_t skips_size = 0;
  for (std::uint32_t key = 0; key < kKeys; ++key) {
    if (state[key].size == 0) continue;
    keys.push_back(key);
    list_offsets.push_back(list_at[key] = postings_size);
    skip_offsets.push_back(skip_at[key] = skips_size);
    postings_size += state[key].size;
    skips_size += std::uint64_t{state[key].skips} * 8;
  }
  std::string body;
  const std::uint64_t tables = keys.size() * 4 + (keys.size() + 1) * 16;
  body.reserve(postings_size + skips_size + tables + discs.size() * 128 + (postings_size >> 13) + 4096);
  AdviseHugePages(body);
  body.resize(postings_size + skips_size);
  state.assign(kKeys, KeyState{});
  in_parallel([&](std::uint32_t low, std::uint32_t high) {
    each_part(low, high, [&](std::uint32_t key, std::uint32_t first, std::string_view rest, std::uint32_t last) {
      KeyState& k = state[key];
      char* list = body.data() + list_at[key];
      if (k.size - k.skipped_at >= skip_bytes) {
        k.skipped_at = k.size;
        char* entry = body.data() + postings_size + skip_at[key] + std::uint64_t{k.skips++} * 8;
        const std::uint32_t fields[2] = {first, static_cast<std::uint32_t>(k.size)};
        std::memcpy(entry, fields, sizeof fields);
      }
      char varint[5];
      const size_t length = EncodeVarint(k.size == 0 ? first : first - k.last, varint);
      std::memcpy(list + k.size, varint, length);
      std::memcpy(list + k.size + length, rest.data(), rest.size());
      k.size += length + rest.size();
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
