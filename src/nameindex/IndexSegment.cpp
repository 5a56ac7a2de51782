#include "nameindex/IndexSegment.h"

#include <algorithm>
#include <cstring>
#include <chrono>
#include <iterator>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "nameindex/SegmentFormat.h"
#include "platform/MappedFile.h"

namespace movra {

std::uint64_t segment_format::Hash(const char* data, size_t size) { return XXH3_64bits(data, size); }

namespace {

using segment_format::Get;
using segment_format::GetVarint;

// Reads the fields of a head one after the other, never past its end.
class HeadReader {
 public:
  explicit HeadReader(std::string_view bytes) : bytes_(bytes) {}
  template <typename T>
  bool Read(T& value) {
    if (bytes_.size() - at_ < sizeof(T)) return false;
    value = Get<T>(bytes_.data() + at_);
    at_ += sizeof(T);
    return true;
  }
  bool ReadText(size_t length, std::string& text) {
    if (bytes_.size() - at_ < length) return false;
    text.assign(bytes_.data() + at_, length);
    at_ += length;
    return true;
  }
  size_t Left() const { return bytes_.size() - at_; }
  const char* Here() const { return bytes_.data() + at_; }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

}  // namespace

bool IsRecent(const SnapshotStamp& stamp, std::int64_t window_ns) {
  const std::int64_t now_ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  return now_ns - std::max(stamp.mtime_ns, stamp.ctime_ns) < window_ns;
}

std::string_view SnapshotText(std::string_view bytes) {
  const void* end_mark = std::memchr(bytes.data(), 0x1A, bytes.size());
  if (end_mark == nullptr) return bytes;
  return bytes.substr(0, static_cast<size_t>(static_cast<const char*>(end_mark) - bytes.data()));
}

std::optional<SegmentView> SegmentView::Open(std::string_view bytes) {
  namespace f = segment_format;
  if (bytes.size() < f::kTrailerSize ||
      std::memcmp(bytes.data() + bytes.size() - sizeof f::kMagic, f::kMagic, sizeof f::kMagic) != 0)
    return std::nullopt;
  const std::uint64_t head_size = Get<std::uint64_t>(bytes.data() + bytes.size() - f::kTrailerSize);
  if (head_size < f::kHeaderSize + 8 || head_size > bytes.size() - f::kTrailerSize) return std::nullopt;
  const size_t body_size = bytes.size() - f::kTrailerSize - head_size;
  WillNeedMapped(bytes.data() + body_size, head_size);
  const std::string_view head = bytes.substr(body_size, head_size - 8);
  if (f::Hash(head.data(), head.size()) != Get<std::uint64_t>(head.data() + head.size())) return std::nullopt;

  SegmentView view;
  view.body_ = bytes.substr(0, body_size);
  HeadReader in(head);
  std::uint32_t version = 0, block_shift = 0, page_shift = 0, disc_count = 0;
  std::uint64_t stored_body_size = 0;
  in.Read(version);
  in.Read(block_shift);
  in.Read(page_shift);
  in.Read(disc_count);
  in.Read(view.key_count_);
  in.Read(view.block_count_);
  in.Read(stored_body_size);
  in.Read(view.keys_offset_);
  in.Read(view.offsets_offset_);
  const std::uint64_t table = (std::uint64_t{view.key_count_} + 1) * 8;
  if (!in.Read(view.skip_offsets_offset_) || version != f::kVersion || block_shift != kBlockShift ||
      page_shift != f::kPageShift || stored_body_size != body_size || view.keys_offset_ > body_size ||
      view.keys_offset_ + std::uint64_t{view.key_count_} * 4 != view.offsets_offset_ ||
      view.offsets_offset_ + table != view.skip_offsets_offset_ || view.skip_offsets_offset_ + table != body_size)
    return std::nullopt;
  std::uint64_t next_block = 0;
  for (std::uint32_t i = 0; i < disc_count; ++i) {
    SegmentDisc disc;
    std::uint32_t name_length = 0, flags = 0;
    if (!in.Read(name_length) || !in.ReadText(name_length, disc.name) || !in.Read(flags) ||
        !in.Read(disc.stamp.size) || !in.Read(disc.stamp.volume) || !in.Read(disc.stamp.file_id) ||
        !in.Read(disc.stamp.mtime_ns) || !in.Read(disc.stamp.ctime_ns) || !in.Read(disc.text_size) ||
        !in.Read(disc.first_block) || disc.first_block != next_block ||
        (!view.discs_.empty() && !(view.discs_.back().name < disc.name)))
      return std::nullopt;
    disc.uncertain = (flags & f::kUncertainFlag) != 0;
    next_block += disc.BlockCount();
    view.disc_of_name_.emplace(disc.name, i);
    view.discs_.push_back(std::move(disc));
  }
  std::uint32_t common_count = 0;
  if (!in.Read(common_count) || common_count > in.Left() / 4) return std::nullopt;
  for (std::uint32_t i = 0; i < common_count; ++i) {
    std::uint32_t key = 0;
    in.Read(key);
    if (!view.common_.empty() && !(view.common_.back() < key)) return std::nullopt;
    view.common_.push_back(key);
  }
  const size_t pages = (body_size + (size_t{1} << f::kPageShift) - 1) >> f::kPageShift;
  if (next_block != view.block_count_ || in.Left() != pages * 8) return std::nullopt;
  view.page_hashes_ = in.Here();
  view.page_checked_.assign(pages, 0);
  return view;
}

const SegmentDisc* SegmentView::FindDisc(std::string_view name) const {
  const auto found = disc_of_name_.find(name);
  return found == disc_of_name_.end() ? nullptr : &discs_[found->second];
}

const char* SegmentView::Body(std::uint64_t offset, std::uint64_t length) const {
  namespace f = segment_format;
  if (offset > body_.size() || length > body_.size() - offset) return nullptr;
  if (length == 0) return body_.data() + offset;
  for (std::uint64_t page = offset >> f::kPageShift; page <= (offset + length - 1) >> f::kPageShift; ++page) {
    std::uint8_t& checked = page_checked_[page];
    if (checked == 0) {
      const std::uint64_t begin = page << f::kPageShift;
      const std::uint64_t size = std::min<std::uint64_t>(std::uint64_t{1} << f::kPageShift, body_.size() - begin);
      // The map has no read-ahead: the page is read in one go, not 4 KiB at a time.
      WillNeedMapped(body_.data() + begin, size);
      checked = f::Hash(body_.data() + begin, size) == Get<std::uint64_t>(page_hashes_ + page * 8) ? 1 : 2;
    }
    if (checked != 1) return nullptr;
  }
  return body_.data() + offset;
}

std::optional<SegmentView::Span> SegmentView::PostingSpan(std::uint32_t key) const {
  size_t low = 0;
  size_t high = key_count_;
  while (low < high) {
    const size_t mid = (low + high) / 2;
    const char* at = Body(keys_offset_ + mid * 4, 4);
    if (at == nullptr) return std::nullopt;
    if (Get<std::uint32_t>(at) < key) low = mid + 1;
    else high = mid;
  }
  if (low == key_count_) return Span{};
  const char* found = Body(keys_offset_ + low * 4, 4);
  if (found == nullptr) return std::nullopt;
  if (Get<std::uint32_t>(found) != key) return Span{};
  const char* offsets = Body(offsets_offset_ + low * 8, 16);
  const char* skips = Body(skip_offsets_offset_ + low * 8, 16);
  if (offsets == nullptr || skips == nullptr) return std::nullopt;
  const Span span{Get<std::uint64_t>(offsets), Get<std::uint64_t>(offsets + 8), Get<std::uint64_t>(skips),
                  Get<std::uint64_t>(skips + 8)};
  if (span.begin >= span.end || span.skip_begin > span.skip_end || span.skip_end > keys_offset_ ||
      (span.skip_end - span.skip_begin) % 8 != 0)
    return std::nullopt;
  return span;
}

bool SegmentView::Postings(const Span& span, std::uint32_t first, std::uint32_t stop,
                           std::vector<std::uint32_t>& blocks) const {
  blocks.clear();
  const size_t length = span.end - span.begin;
  const char* data = Body(span.begin, length);
  const char* skips = Body(span.skip_begin, span.skip_end - span.skip_begin);
  if (data == nullptr || skips == nullptr) return false;
  // Start at the last skip entry at or before first, if any: its block is whole.
  size_t pos = 0;
  std::optional<std::uint64_t> anchor;
  for (size_t low = 0, high = (span.skip_end - span.skip_begin) / 8; low < high;) {
    const size_t mid = (low + high) / 2;
    if (Get<std::uint32_t>(skips + mid * 8) <= first) {
      anchor = Get<std::uint32_t>(skips + mid * 8);
      pos = Get<std::uint32_t>(skips + mid * 8 + 4);
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  if (pos >= length) return false;
  // A varint per block, a byte at least, and no more blocks than the range holds.
  blocks.reserve(std::min<std::uint64_t>(length - pos, stop > first ? stop - first : 0));
  std::uint64_t block = 0;
  for (bool at_start = true; pos < length; at_start = false) {
    std::uint32_t delta = 0;
    if (!GetVarint(data, length, pos, delta)) return false;
    if (!at_start && delta == 0) return false;
    block = at_start && anchor ? *anchor : block + delta;
    if (block >= block_count_) return false;
    if (block >= stop) break;
    if (block >= first) blocks.push_back(static_cast<std::uint32_t>(block));
  }
  return true;
}

std::optional<std::vector<std::uint32_t>> SegmentView::CandidateBlocks(const std::vector<std::uint32_t>& keys,
                                                                       std::uint32_t first, std::uint32_t stop) const {
  // Every key must be present; the shortest lists are intersected first.
  std::vector<Span> spans;
  for (std::uint32_t key : keys) {
    if (std::binary_search(common_.begin(), common_.end(), key)) continue;
    const auto span = PostingSpan(key);
    if (!span) return std::nullopt;
    if (span->begin == span->end) return std::vector<std::uint32_t>{};
    spans.push_back(*span);
  }
  std::sort(spans.begin(), spans.end(),
            [](const Span& a, const Span& b) { return a.end - a.begin < b.end - b.begin; });
  std::vector<std::uint32_t> blocks;
  if (spans.empty()) {  // every key is common
    for (std::uint32_t block = first; block < std::min(stop, block_count_); ++block) blocks.push_back(block);
    return blocks;
  }
  std::vector<std::uint32_t> list;
  std::vector<std::uint32_t> both;
  for (size_t k = 0; k < spans.size(); ++k) {
    if (!Postings(spans[k], first, stop, k == 0 ? blocks : list)) return std::nullopt;
    if (k > 0) {
      both.clear();
      std::set_intersection(blocks.begin(), blocks.end(), list.begin(), list.end(), std::back_inserter(both));
      blocks.swap(both);
    }
    if (blocks.empty()) break;
  }
  return blocks;
}

std::unique_ptr<MappedSegment> MappedSegment::Open(const std::string& native_path) {
  std::optional<MappedFile> file = MappedFile::Open(native_path);
  if (!file) return nullptr;
  std::optional<SegmentView> view = SegmentView::Open(file->Bytes());
  if (!view) return nullptr;
  // The view points into the map, which stays where it is when moved.
  return std::unique_ptr<MappedSegment>(new MappedSegment{std::move(*file), std::move(*view)});
}

std::vector<std::pair<std::uint64_t, std::uint64_t>> BlockRanges(const SegmentDisc& disc,
                                                                 const std::vector<std::uint32_t>& blocks) {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
  const std::uint64_t first = disc.first_block;
  const std::uint64_t stop = first + disc.BlockCount();
  for (auto it = std::lower_bound(blocks.begin(), blocks.end(), first); it != blocks.end() && *it < stop; ++it) {
    const std::uint64_t begin = (*it - first) << kBlockShift;
    const std::uint64_t end = std::min(disc.text_size, (*it - first + 1) << kBlockShift);
    if (!ranges.empty() && ranges.back().second == begin) ranges.back().second = end;
    else ranges.emplace_back(begin, end);
  }
  return ranges;
}

}  // namespace movra
