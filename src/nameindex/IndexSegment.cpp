#include "nameindex/IndexSegment.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <utility>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "nameindex/Trigrams.h"
#include "snapshot/LineFields.h"

namespace movra {
namespace {

constexpr char kMagic[8] = {'M', 'V', 'R', 'N', 'I', 'D', 'X', '1'};
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kUncertainFlag = 1;
constexpr size_t kHeaderSize = 88;
// Lines per block: small enough that a candidate block is one or two pages
// of the snapshot, large enough that names of one folder share postings.
constexpr std::uint32_t kLinesPerBlock = 32;

template <typename T>
void Put(std::string& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.append(bytes, sizeof(T));
}

template <typename T>
T Get(const char* at) {
  T value;
  std::memcpy(&value, at, sizeof(T));
  return value;
}

void PutVarint(std::string& out, std::uint32_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>(value | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

// Reads a varint at pos (advanced) before end; false when it runs past end.
bool GetVarint(const char* data, size_t end, size_t& pos, std::uint32_t& value) {
  value = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    if (pos >= end) return false;
    const auto b = static_cast<unsigned char>(data[pos++]);
    value |= std::uint32_t{b & 0x7Fu} << shift;
    if (b < 0x80) return true;
  }
  return false;
}

// The name of a snapshot line, as the search takes it apart.
std::string_view NameOfLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return LineName(line, FindMarkers(line));
}

// Sorts (key << 32 | block) pairs by key, keeping the block order within a
// key: three stable byte-wise counting passes over the 24-bit key, counted
// in one read of the pairs.
void SortByKey(std::vector<std::uint64_t>& pairs) {
  std::vector<std::uint64_t> other(pairs.size());
  std::array<std::array<std::uint32_t, 256>, 3> counts{};
  for (std::uint64_t p : pairs) {
    ++counts[0][(p >> 32) & 0xFF];
    ++counts[1][(p >> 40) & 0xFF];
    ++counts[2][(p >> 48) & 0xFF];
  }
  for (int pass = 0; pass < 3; ++pass) {
    std::array<std::uint32_t, 256>& starts = counts[pass];
    std::uint32_t sum = 0;
    for (std::uint32_t& start : starts) sum += std::exchange(start, sum);
    const int shift = 32 + 8 * pass;
    for (std::uint64_t p : pairs) other[starts[(p >> shift) & 0xFF]++] = p;
    pairs.swap(other);
  }
}

}  // namespace

std::optional<SnapshotStamp> StampOfFile(const std::string& native_path) {
  struct stat st;
  if (::stat(native_path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  SnapshotStamp stamp;
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.device = static_cast<std::uint64_t>(st.st_dev);
  stamp.inode = static_cast<std::uint64_t>(st.st_ino);
  stamp.mtime_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  stamp.ctime_ns = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  return stamp;
}

bool IsRecent(const SnapshotStamp& stamp, std::int64_t window_ns) {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const std::int64_t now_ns = static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
  return now_ns - std::max(stamp.mtime_ns, stamp.ctime_ns) < window_ns;
}

std::uint64_t ContentHash(std::string_view bytes) { return XXH3_64bits(bytes.data(), bytes.size()); }

std::string_view SnapshotText(std::string_view bytes) {
  const void* end_mark = std::memchr(bytes.data(), 0x1A, bytes.size());
  if (end_mark == nullptr) return bytes;
  return bytes.substr(0, static_cast<size_t>(static_cast<const char*>(end_mark) - bytes.data()));
}

std::string BuildSegment(std::string_view file_bytes, const SnapshotStamp& stamp, bool uncertain) {
  const std::string_view text = SnapshotText(file_bytes);

  // Every (key, block) pair once per block; a small table drops most repeats
  // at once, the rest go after sorting.
  std::vector<std::uint64_t> block_offsets;
  std::vector<std::uint64_t> pairs;
  pairs.reserve(text.size() / 4);
  std::array<std::uint32_t, 1024> seen_key{};
  std::array<std::uint32_t, 1024> seen_block{};
  seen_block.fill(UINT32_MAX);
  std::uint32_t line_number = 0;
  for (size_t start = 0; start < text.size(); ++line_number) {
    const void* lf = std::memchr(text.data() + start, '\n', text.size() - start);
    const size_t end = lf == nullptr ? text.size() : static_cast<size_t>(static_cast<const char*>(lf) - text.data());
    const std::uint32_t block = line_number / kLinesPerBlock;
    if (line_number % kLinesPerBlock == 0) block_offsets.push_back(start);
    const std::string_view name = NameOfLine(text.substr(start, end - start));
    for (size_t i = 0; i + 3 <= name.size(); ++i) {
      const std::uint32_t key = TrigramAt(name.data() + i);
      const std::uint32_t slot = (key * 2654435761u) >> 22;
      if (seen_block[slot] == block && seen_key[slot] == key) continue;
      seen_block[slot] = block;
      seen_key[slot] = key;
      pairs.push_back(std::uint64_t{key} << 32 | block);
    }
    start = end + 1;
  }
  block_offsets.push_back(text.size());
  SortByKey(pairs);

  std::string keys;
  std::string postings;
  std::uint32_t key_count = 0;
  for (size_t i = 0; i < pairs.size();) {
    const auto key = static_cast<std::uint32_t>(pairs[i] >> 32);
    Put<std::uint32_t>(keys, key);
    Put<std::uint32_t>(keys, static_cast<std::uint32_t>(postings.size()));
    ++key_count;
    std::uint32_t previous = 0;
    bool first = true;
    for (; i < pairs.size() && (pairs[i] >> 32) == key; ++i) {
      const auto block = static_cast<std::uint32_t>(pairs[i]);
      if (!first && block == previous) continue;
      PutVarint(postings, first ? block : block - previous);
      previous = block;
      first = false;
    }
  }

  std::string out;
  const std::uint32_t block_count = static_cast<std::uint32_t>(block_offsets.size() - 1);
  const size_t total = kHeaderSize + block_offsets.size() * 8 + keys.size() + postings.size() + 8;
  out.reserve(total);
  out.append(kMagic, sizeof kMagic);
  Put<std::uint32_t>(out, kVersion);
  Put<std::uint32_t>(out, uncertain ? kUncertainFlag : 0);
  Put<std::uint64_t>(out, stamp.size);
  Put<std::uint64_t>(out, stamp.device);
  Put<std::uint64_t>(out, stamp.inode);
  Put<std::int64_t>(out, stamp.mtime_ns);
  Put<std::int64_t>(out, stamp.ctime_ns);
  Put<std::uint64_t>(out, ContentHash(file_bytes));
  Put<std::uint32_t>(out, block_count);
  Put<std::uint32_t>(out, key_count);
  Put<std::uint64_t>(out, postings.size());
  Put<std::uint64_t>(out, total);
  for (std::uint64_t offset : block_offsets) Put<std::uint64_t>(out, offset);
  out += keys;
  out += postings;
  Put<std::uint64_t>(out, ContentHash(out));
  return out;
}

std::optional<SegmentView> SegmentView::Open(std::string_view bytes) {
  if (bytes.size() < kHeaderSize + 16 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
  const char* h = bytes.data();
  if (Get<std::uint32_t>(h + 8) != kVersion || Get<std::uint64_t>(h + 80) != bytes.size()) return std::nullopt;
  if (Get<std::uint64_t>(h + bytes.size() - 8) != ContentHash(bytes.substr(0, bytes.size() - 8))) return std::nullopt;
  SegmentView view;
  view.bytes_ = bytes;
  view.uncertain_ = (Get<std::uint32_t>(h + 12) & kUncertainFlag) != 0;
  view.stamp_ = {Get<std::uint64_t>(h + 16), Get<std::uint64_t>(h + 24), Get<std::uint64_t>(h + 32),
                 Get<std::int64_t>(h + 40), Get<std::int64_t>(h + 48)};
  view.content_hash_ = Get<std::uint64_t>(h + 56);
  view.block_count_ = Get<std::uint32_t>(h + 64);
  view.key_count_ = Get<std::uint32_t>(h + 68);
  view.postings_size_ = Get<std::uint64_t>(h + 72);
  const std::uint64_t expected = kHeaderSize + (std::uint64_t{view.block_count_} + 1) * 8 +
                                 std::uint64_t{view.key_count_} * 8 + view.postings_size_ + 8;
  if (expected != bytes.size()) return std::nullopt;
  view.block_table_ = h + kHeaderSize;
  view.key_table_ = view.block_table_ + (size_t{view.block_count_} + 1) * 8;
  view.postings_ = view.key_table_ + size_t{view.key_count_} * 8;
  return view;
}

std::uint64_t SegmentView::BlockOffset(std::uint32_t block) const {
  return Get<std::uint64_t>(block_table_ + size_t{block} * 8);
}

// Where the postings of a key lie: [begin, end) within the postings, or an
// empty span when the key is absent; nothing when the table is damaged.
std::optional<std::pair<size_t, size_t>> SegmentView::PostingSpan(std::uint32_t key) const {
  size_t low = 0;
  size_t high = key_count_;
  while (low < high) {
    const size_t mid = (low + high) / 2;
    if (Get<std::uint32_t>(key_table_ + mid * 8) < key) low = mid + 1;
    else high = mid;
  }
  if (low == key_count_ || Get<std::uint32_t>(key_table_ + low * 8) != key) return std::pair<size_t, size_t>{0, 0};
  const size_t begin = Get<std::uint32_t>(key_table_ + low * 8 + 4);
  const size_t end = low + 1 < key_count_ ? Get<std::uint32_t>(key_table_ + (low + 1) * 8 + 4) : postings_size_;
  if (begin >= end || end > postings_size_) return std::nullopt;
  return std::pair<size_t, size_t>{begin, end};
}

// Decodes the blocks of a posting span; false when they are damaged.
bool SegmentView::Postings(std::pair<size_t, size_t> span, std::vector<std::uint32_t>& blocks) const {
  blocks.clear();
  std::uint64_t block = 0;
  for (size_t pos = span.first; pos < span.second;) {
    std::uint32_t delta = 0;
    if (!GetVarint(postings_, span.second, pos, delta)) return false;
    if (!blocks.empty() && delta == 0) return false;
    block += delta;
    if (block >= block_count_) return false;
    blocks.push_back(static_cast<std::uint32_t>(block));
  }
  return true;
}

std::optional<std::vector<std::pair<std::uint64_t, std::uint64_t>>> SegmentView::CandidateRanges(
    const std::vector<std::uint32_t>& keys) const {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
  // Every key must be present; the shortest lists are intersected first.
  std::vector<std::pair<size_t, size_t>> spans;
  for (std::uint32_t key : keys) {
    const auto span = PostingSpan(key);
    if (!span) return std::nullopt;
    if (span->first == span->second) return ranges;
    spans.push_back(*span);
  }
  std::sort(spans.begin(), spans.end(),
            [](const auto& a, const auto& b) { return a.second - a.first < b.second - b.first; });
  std::vector<std::uint32_t> blocks;
  std::vector<std::uint32_t> list;
  std::vector<std::uint32_t> both;
  for (size_t k = 0; k < spans.size(); ++k) {
    if (!Postings(spans[k], k == 0 ? blocks : list)) return std::nullopt;
    if (k > 0) {
      both.clear();
      std::set_intersection(blocks.begin(), blocks.end(), list.begin(), list.end(), std::back_inserter(both));
      blocks.swap(both);
    }
    if (blocks.empty()) return ranges;
  }
  for (std::uint32_t block : blocks) {
    const std::uint64_t begin = BlockOffset(block);
    const std::uint64_t end = BlockOffset(block + 1);
    if (begin > end) return std::nullopt;
    if (!ranges.empty() && ranges.back().second == begin) ranges.back().second = end;
    else ranges.emplace_back(begin, end);
  }
  return ranges;
}

}  // namespace movra
