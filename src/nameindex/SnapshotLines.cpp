#include "nameindex/SnapshotLines.h"

#include <algorithm>
#include <cstring>

#include "platform/FileSystem.h"

namespace movra {
namespace {

// Appends the length bytes at offset of file to buffer; false when they cannot all be read.
bool ReadAt(const ReadOnlyFile& file, std::uint64_t offset, size_t length, std::string& buffer) {
  const size_t at = buffer.size();
  buffer.resize(at + length);
  return file.ReadAt(offset, buffer.data() + at, length);
}

// Bytes read at a time past a range's end while its last line goes on.
constexpr size_t kLineStep = 1024;

}  // namespace

void PrefetchRanges(const ReadOnlyFile& file, const TextRanges& ranges) {
  // Only the pages asked for: read-ahead would read many times as much from a cold disk.
  file.AccessRandomly();
  for (const auto& [begin, end] : ranges) {
    const std::uint64_t from = begin == 0 ? 0 : begin - 1;
    file.WillNeed(from, end - from + kLineStep);
  }
}

std::optional<std::vector<std::string_view>> ReadLinesInRanges(const ReadOnlyFile& file, const SnapshotStamp& stamp,
                                                               std::uint64_t text_size, const TextRanges& ranges,
                                                               std::string& buffer) {
  bool ok = file.Stamp() == stamp && text_size <= stamp.size;
  buffer.clear();
  // Room for every range, its filler and its last line, so that the
  // alignment worked out below is not lost to a move of the buffer.
  size_t room = 0;
  for (const auto& [begin, end] : ranges)
    if (begin < end && end <= text_size) room += static_cast<size_t>(end - begin) + 64 + kLineStep;
  buffer.reserve(room);
  std::vector<std::pair<size_t, size_t>> spans;
  for (size_t r = 0; ok && r < ranges.size(); ++r) {
    const auto [begin, end] = ranges[r];
    ok = begin < end && end <= text_size;
    // From the byte before the range, which tells whether a line starts at its first byte.
    const std::uint64_t from = begin == 0 ? 0 : begin - 1;
    // Filler bytes first, so that the range lies as it lies in the file.
    buffer.resize(buffer.size() + CopyAlignmentGap(buffer.data() + buffer.size(), from));
    const size_t at = buffer.size();
    ok = ok && ReadAt(file, from, end - from, buffer);
    // On to the end of the line that the range's last byte belongs to.
    for (std::uint64_t pos = end; ok && pos < text_size && buffer.back() != '\n';) {
      const size_t step = static_cast<size_t>(std::min<std::uint64_t>(kLineStep, text_size - pos));
      const size_t old = buffer.size();
      ok = ReadAt(file, pos, step, buffer);
      if (!ok) break;
      pos += step;
      const void* lf = std::memchr(buffer.data() + old, '\n', step);
      if (lf != nullptr) buffer.resize(static_cast<size_t>(static_cast<const char*>(lf) - buffer.data()) + 1);
    }
    if (!ok) break;
    size_t first = at;
    if (begin > 0) {  // the lines start after the first line end
      const void* lf = std::memchr(buffer.data() + at, '\n', buffer.size() - at);
      first = lf == nullptr ? buffer.size() : static_cast<size_t>(static_cast<const char*>(lf) - buffer.data()) + 1;
    }
    spans.emplace_back(first, buffer.size());
  }
  if (!ok) return std::nullopt;
  std::vector<std::string_view> pieces;
  for (const auto& [first, last] : spans)
    if (first < last) pieces.emplace_back(buffer.data() + first, last - first);
  return pieces;
}

}  // namespace movra
