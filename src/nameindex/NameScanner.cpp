#include "nameindex/NameScanner.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "nameindex/VectorKernels.h"

namespace movra {
namespace {

constexpr size_t npos = static_cast<size_t>(-1);

// The second bytes of double-byte characters among 64 bytes, from the bits
// of their bytes in 0x81-0xFE: a run of such bytes pairs up as lead, second,
// lead, second..., so the bytes at odd places of a run, and the byte after
// an odd run, are second bytes. lead_before says whether the byte before the
// 64 is a lead byte waiting for its second one, and is updated for the next
// 64. Lines need no care: a line end is no such byte, so runs stop there.
inline std::uint64_t SecondBytes(std::uint64_t doubles, std::uint64_t& lead_before) {
  constexpr std::uint64_t kOddBits = 0xAAAAAAAAAAAAAAAAull;
  // Every byte of a run that does not follow a waiting lead byte could lead;
  // subtracting the runs' starts flips the bits at even places of each run
  // (counted from its start) and carries into the byte after it.
  const std::uint64_t may_lead = doubles & ~lead_before;
  const std::uint64_t flips = (((may_lead << 1) | kOddBits) - may_lead) ^ kOddBits;
  const std::uint64_t seconds = flips ^ (doubles | lead_before);
  lead_before = (flips & doubles) >> 63;
  return seconds;
}

// Sets last to the position (base + bit) of the highest bit of bits, if any.
inline void TakeLast(size_t& last, std::uint64_t bits, size_t base) {
  const size_t highest = base + 63 - static_cast<size_t>(std::countl_zero(bits | 1));
  last = bits != 0 ? highest : last;
}

}  // namespace

const std::vector<NameSpan>& NameScanner::Scan(std::string_view text) {
  names_.clear();
  // One pass over the text, 64 bytes at a time, keeping the last markers of
  // the line under way: the name is after the last bar, or the last
  // backslash without one; up to the last '[' after that, if any.
  size_t line = 0;
  size_t bar = npos, backslash = npos, open = npos;
  auto end_line = [&](size_t end) {
    const size_t line_end = end > line && text[end - 1] == '\r' ? end - 1 : end;
    const size_t marker = bar != npos ? bar : backslash;
    const size_t name = marker == npos ? line : marker + 1;
    const size_t name_end = open != npos && open >= name ? open : line_end;
    names_.push_back({static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(name),
                      static_cast<std::uint32_t>(name_end - name)});
    line = end + 1;
    bar = backslash = open = npos;
  };
  WindowMarks marks;
  std::uint64_t lead_before = 0;
  for (size_t begin = 0; begin < text.size(); begin += 64 * WindowMarks::kWords) {
    MarkWindow(text, begin, marks);
    const size_t words = std::min(WindowMarks::kWords, (text.size() - begin + 63) / 64);
    for (size_t w = 0; w < words; ++w) {
      const size_t base = begin + w * 64;
      // A marker byte that is the second byte of a character is none.
      const std::uint64_t markers = ~SecondBytes(marks.doubles[w], lead_before);
      const std::uint64_t bars = marks.bars[w] & markers;
      const std::uint64_t backslashes = marks.backslashes[w] & markers;
      const std::uint64_t opens = marks.opens[w] & markers;
      std::uint64_t in_line = ~std::uint64_t{0};  // the bits of the line under way
      for (std::uint64_t ends = marks.line_ends[w]; ends != 0; ends &= ends - 1) {
        const int bit = std::countr_zero(ends);
        const std::uint64_t before = in_line & ((std::uint64_t{1} << bit) - 1);
        TakeLast(bar, bars & before, base);
        TakeLast(backslash, backslashes & before, base);
        TakeLast(open, opens & before, base);
        end_line(base + static_cast<size_t>(bit));
        in_line = ~std::uint64_t{0} << bit << 1;
      }
      TakeLast(bar, bars & in_line, base);
      TakeLast(backslash, backslashes & in_line, base);
      TakeLast(open, opens & in_line, base);
    }
  }
  if (line < text.size()) end_line(text.size());
  return names_;
}

}  // namespace movra
